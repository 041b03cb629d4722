// The browsers the page tests run in, each launched headless by puppeteer-core with the
// settings it needs here, and the sound server they play into: a PulseAudio daemon that
// tests/web/run.sh starts with a null sink, named by PULSE_SERVER. Each launch gets a
// null sink of its own, so what a test records there is its own browser's sound.
//   const { browsers, launchBrowser, unavailable } = require('./browsers');
//   for (const browser of browsers) describe(browser.name, { skip: unavailable(browser) }, ...)
'use strict';
const { execFileSync, spawn } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const browsers = [
  { name: 'Chromium', key: 'chromium', executable: process.env.TK_CHROMIUM || '/usr/bin/chromium' },
  // Over WebDriver BiDi, puppeteer's only way to Firefox.
  { name: 'Firefox ESR', key: 'firefox', executable: process.env.TK_FIREFOX || '/usr/bin/firefox-esr' },
];

// Why the browser cannot be tested here, or undefined when it can. TK_BROWSERS
// (e.g. "chromium") keeps only the browsers it names.
function unavailable(browser) {
  const chosen = process.env.TK_BROWSERS;
  if (chosen && !chosen.split(',').includes(browser.key)) return `TK_BROWSERS=${chosen} leaves it out`;
  if (!fs.existsSync(browser.executable)) return `${browser.executable} is not installed`;
  return undefined;
}

function pactl(...args) {
  return execFileSync('pactl', args, { encoding: 'utf8', timeout: 10000 }).trim();
}

// A null sink of the sound server for one browser, or null without a sound server.
function openSink() {
  if (!process.env.PULSE_SERVER) return null;
  const name = `tk_${process.pid}_${Math.floor(Math.random() * 1e9)}`;
  const module = pactl('load-module', 'module-null-sink', `sink_name=${name}`);
  return { name, close: () => pactl('unload-module', module) };
}

// Launches the browser headless with a profile of its own in a fresh temporary folder,
// its sound going to a null sink of its own (browser.sink, null without a sound server).
// The network is closed: nothing in the background may try it. Nothing lets the sound
// start by itself: it must start from the page's own click.
async function launchBrowser(browser) {
  const sink = openSink();
  const env = { ...process.env, ...(sink ? { PULSE_SINK: sink.name } : {}) };
  const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), `tk-${browser.key}-`));
  const options = browser.key === 'firefox'
    ? { browser: 'firefox', executablePath: browser.executable, headless: true, userDataDir, env,
        extraPrefsFirefox: {
          // The page's canvas is read back exactly as drawn.
          'privacy.resistFingerprinting': false,
          'gfx.canvas.accelerated': false,
        } }
    // puppeteer mutes headless Chromium unless told not to.
    : { executablePath: browser.executable, headless: true, userDataDir, env, ignoreDefaultArgs: ['--mute-audio'],
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
               '--disable-background-networking', '--disable-component-update', '--disable-sync'] };
  let launched;
  try {
    launched = await puppeteer.launch(options);
  } catch (error) {
    if (sink) sink.close();
    throw error;
  }
  const close = launched.close.bind(launched);
  launched.close = async () => {
    try {
      await close();
    } finally {
      if (sink) sink.close();
      fs.rmSync(userDataDir, { recursive: true, force: true });
    }
  };
  launched.sink = sink;
  return launched;
}

// What the browser plays into its sink for `ms` milliseconds: 48 kHz mono samples
// (-32768..32767) taken from the sink's monitor.
function recordSink(sink, ms) {
  return new Promise((resolve, reject) => {
    const chunks = [];
    const recorder = spawn('parec', ['-d', `${sink.name}.monitor`, '--raw', '--format=s16le', '--rate=48000',
                                     '--channels=1', '--latency-msec=20']);
    recorder.stdout.on('data', (chunk) => chunks.push(chunk));
    recorder.on('error', reject);
    recorder.on('close', () => {
      const bytes = new Uint8Array(Buffer.concat(chunks));   // its own buffer, evenly aligned
      resolve(new Int16Array(bytes.buffer, 0, Math.floor(bytes.length / 2)));
    });
    setTimeout(() => recorder.kill(), ms);
  });
}

module.exports = { browsers, unavailable, launchBrowser, recordSink };
