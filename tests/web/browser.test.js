// The web page in headless Chromium and Firefox ESR: the served page and the single
// file opened from disk play the demo after a click, with its music clock running and
// its sound reaching the sound server, and end on a click; without Web Audio it runs
// silently in step. Run by tests/web/run.sh.
'use strict';
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const zlib = require('node:zlib');
const { browsers, launchBrowser, recordSink, unavailable } = require('./browsers');

const site = process.env.TK_WEB_SITE || path.join(__dirname, '../../build-web/site');

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.data': 'application/octet-stream' };

// A static server for the site folder that remembers what it could not find.
function serveSite() {
  const missing = [];
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(site, name === '/' ? 'index.html' : name);
    if (!file.startsWith(site) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      missing.push(name);
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () =>
    resolve({ url: `http://127.0.0.1:${server.address().port}/`, missing,
              close: () => new Promise((done) => server.close(done)) })));
}

// A page that records every console error, uncaught exception and failed request.
async function openPage(browser, url, { withoutWebAudio = false, soundRefused = false } = {}) {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 600 });
  const problems = [];
  page.on('console', (message) => { if (message.type() === 'error') problems.push(`console: ${message.text()}`); });
  page.on('pageerror', (error) => problems.push(`exception: ${error.message}`));
  page.on('requestfailed', (request) => problems.push(`failed: ${request.url()}`));
  page.on('response', (response) => { if (response.status() >= 400) problems.push(`${response.status()}: ${response.url()}`); });
  if (withoutWebAudio) {
    await page.evaluateOnNewDocument(() => { window.AudioContext = undefined; window.webkitAudioContext = undefined; });
  }
  if (soundRefused) {
    // A browser that never lets the sound start, whatever the page asks.
    await page.evaluateOnNewDocument(() => {
      const Real = window.AudioContext;
      window.AudioContext = class extends Real {
        constructor() { super(); this.suspend(); }
        get state() { return 'suspended'; }
        resume() { return Promise.resolve(); }
      };
    });
  }
  await page.goto(url);
  return { page, problems };
}

const clock = (page) => page.evaluate(() => ({
  position: Module._tk_web_position(), demoTime: Module._tk_web_demo_time(),
  state: document.body.dataset.state, sound: document.body.dataset.sound,
}));

// What the canvas shows, read back from it: each source pixel is a 2 x 2 block whose
// lower line is the upper one at four fifths brightness (rounded down), rows 0-39 and
// 440-479 are black, and the colours of the upper lines are counted.
const canvasPicture = (page) => page.evaluate(() => {
  const canvas = document.getElementById('canvas');
  const data = canvas.getContext('2d').getImageData(0, 0, 640, 480).data;
  const at = (x, y, c) => data[(y * 640 + x) * 4 + c];
  let badTwins = 0, badBorder = 0;
  const colours = {};
  for (let y = 0; y < 480; ++y) {
    for (let x = 0; x < 640; ++x) {
      if (y < 40 || y >= 440) {
        if (at(x, y, 0) || at(x, y, 1) || at(x, y, 2) || at(x, y, 3) !== 255) ++badBorder;
      } else if (y % 2 === 0) {
        const key = `${at(x, y, 0)},${at(x, y, 1)},${at(x, y, 2)}`;
        colours[key] = (colours[key] || 0) + 1;
        for (let c = 0; c < 3; ++c)
          if (at(x, y + 1, c) !== Math.floor(at(x, y, c) * 4 / 5)) { ++badTwins; break; }
        if (x % 2 === 1 && key !== `${at(x - 1, y, 0)},${at(x - 1, y, 1)},${at(x - 1, y, 2)}`) ++badTwins;
      }
    }
  }
  return { badTwins, badBorder, colours };
});

// Scene 1 shows the ankels picture, its palette installed with a white tint, over
// colour 127 (255, 150, 150), with captions in 126 (white) and the font's shade in
// 128 + n; palette places without a colour are black, and their tinted twins grey.
const ankels = fs.readFileSync(path.join(site, '../../data/ankels.cgm'), 'latin1')
  .match(/colrtable 1([^;]*);/)[1].trim().split(/\s+/).map(Number);
function assertFirstScene(picture) {
  const allowed = new Set(['255,150,150', '255,255,255', '255,200,200', '100,90,90', '0,0,0', '127,127,127']);
  const own = [];
  for (let i = 0; i + 2 < ankels.length; i += 3) {
    const [r, g, b] = ankels.slice(i, i + 3);
    own.push(`${r},${g},${b}`);
    allowed.add(`${r},${g},${b}`).add(`${(r + 255) >> 1},${(g + 255) >> 1},${(b + 255) >> 1}`);
  }
  const seen = JSON.stringify(picture.colours).slice(0, 400);
  for (const colour of Object.keys(picture.colours)) assert.ok(allowed.has(colour), `${colour} in ${seen}`);
  assert.ok(own.filter((colour) => picture.colours[colour] > 1000).length >= 3, seen);
}

const wait = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

const noSoundServer = process.env.PULSE_SERVER ? undefined : 'no sound server: tests/web/run.sh starts one';

function playsTheDemo(kind, name, url) {
  describe(name, () => {
    let browser, page, problems;
    before(async () => {
      browser = await launchBrowser(kind);
      ({ page, problems } = await openPage(browser, url()));
    });
    after(async () => { if (browser) await browser.close(); });

    it('loads to the start screen, with nothing played yet', async () => {
      await page.waitForFunction(() => document.body.dataset.state === 'ready', { timeout: 30000 });
      assert.equal(await page.$eval('#start', (e) => !e.hidden && getComputedStyle(e).display !== 'none'), true);
      assert.equal(await page.$eval('#loading', (e) => e.hidden), true);
      // Nothing has been presented: the canvas is still blank.
      const picture = await canvasPicture(page);
      assert.deepEqual(Object.keys(picture.colours), ['0,0,0']);
    });

    it('starts with sound on a click and shows the first scene', async () => {
      await page.click('#start');
      await page.waitForFunction(() => Module._tk_web_demo_time() > 1000, { timeout: 10000 });
      const now = await clock(page);
      assert.equal(now.sound, 'on');
      // Firefox reports the context running only once its sound server stream has
      // started, which on a loaded machine can come after the first second.
      await page.waitForFunction(() => SDL.audioContext.state === 'running', { timeout: 10000 });
      const picture = await canvasPicture(page);
      assert.equal(picture.badBorder, 0);
      assert.equal(picture.badTwins, 0);
      assertFirstScene(picture);
    });

    it('plays the music into the sound server', { skip: noSoundServer }, async () => {
      // Scene 1's music, taken from this browser's own sink: not silence.
      const samples = await recordSink(browser.sink, 1500);
      assert.ok(samples.length > 48000, `${samples.length} samples recorded`);
      let loud = 0;
      for (const sample of samples) if (Math.abs(sample) > 1000) ++loud;
      assert.ok(loud > samples.length / 20, `${loud} of ${samples.length} samples above 1000`);
    });

    it('keeps drawing frames while the audio callback moves the music clock', async () => {
      // Frames keep coming until demo_time has moved on 2 s (later than that on a
      // loaded machine, where a browser may draw only a few frames a second).
      const first = await clock(page);
      await page.waitForFunction((from) => Module._tk_web_demo_time() >= from + 2000, { timeout: 10000 },
                                 first.demoTime);
      const second = await clock(page);
      // Speed 6 at 47 ticks a second: 7.8 rows a second.
      const elapsed = second.demoTime - first.demoTime;
      const expected = elapsed / 1000 * 47 / 6;
      const rows = second.position - first.position;
      assert.ok(rows >= 0.5 * expected && rows <= 1.3 * expected + 1, `${rows} rows in ${elapsed} ms`);
    });

    it('reaches the ring tunnel of orders 2 and 3', async () => {
      await page.waitForFunction(() => Module._tk_web_position() >= 210, { timeout: 40000 });
      await wait(300);
      const picture = await canvasPicture(page);
      assert.equal(picture.badTwins, 0);
      // Fill colour 1 = (255, 180, 180), rings in colour 2 = (255, 60, 200); scene 1's
      // background is gone.
      assert.ok(picture.colours['255,180,180'] > 1000, JSON.stringify(picture.colours).slice(0, 300));
      assert.ok(picture.colours['255,60,200'] > 1000, JSON.stringify(picture.colours).slice(0, 300));
      assert.equal(picture.colours['255,150,150'], undefined);
    });

    it('ignores keys, ends on a click on the picture and plays again from the start', async () => {
      await page.keyboard.press('Escape');
      await page.keyboard.press(' ');   // the space bar, by the name both protocols know
      await wait(300);
      assert.equal((await clock(page)).state, 'playing');
      await page.mouse.click(400, 300);
      await page.waitForFunction(() => document.body.dataset.state === 'ended', { timeout: 5000 });
      assert.equal(await page.$eval('#end', (e) => !e.hidden), true);
      const ended = await clock(page);
      await wait(500);
      assert.equal((await clock(page)).position, ended.position, 'the music stopped with the demo');

      await page.click('#again');
      await page.waitForFunction(() => Module._tk_web_demo_time() > 500 && document.body.dataset.state === 'playing',
                                 { timeout: 10000 });
      const again = await clock(page);
      assert.ok(again.position >= 0 && again.position < 100, `position ${again.position}`);
      assertFirstScene(await canvasPicture(page));
    });

    it('logged no error and asked for nothing missing', () => {
      assert.deepEqual(problems, []);
    });
  });
}

for (const kind of browsers) describe(`the web page in headless ${kind.name}`, { skip: unavailable(kind) }, () => {
  let server;
  before(async () => { server = await serveSite(); });
  after(async () => { await server.close(); });

  playsTheDemo(kind, 'served from a web server', () => server.url);
  playsTheDemo(kind, 'the single file opened from disk', () => 'file://' + path.join(site, 'tinkettles.html'));

  function runsSilently(name, options) {
    describe(name, () => {
      let browser, page, problems;
      before(async () => {
        browser = await launchBrowser(kind);
        ({ page, problems } = await openPage(browser, server.url, options));
      });
      after(async () => { if (browser) await browser.close(); });

      it('runs silently with the music clock in step', async () => {
        await page.waitForFunction(() => document.body.dataset.state === 'ready', { timeout: 30000 });
        await page.click('#start');
        await page.waitForFunction(() => Module._tk_web_demo_time() > 500 && document.body.dataset.sound === 'silent',
                                   { timeout: 10000 });
        const first = await clock(page);
        await wait(3000);
        const second = await clock(page);
        // The silent clock ticks every 21 ms: 47.6 ticks, 7.9 rows a second.
        const expected = (second.demoTime - first.demoTime) * 1000 / 21 / 6 / 1000;
        const rows = second.position - first.position;
        assert.ok(rows >= 0.5 * expected && rows <= 1.1 * expected + 1, `${rows} rows, ${expected.toFixed(1)} expected`);
        assertFirstScene(await canvasPicture(page));
        assert.deepEqual(problems, []);
      });
    });
  }
  runsSilently('without Web Audio', { withoutWebAudio: true });
  runsSilently('with the sound kept suspended after the click', { soundRefused: true });

  describe('the page', () => {
    let browser, page;
    before(async () => {
      browser = await launchBrowser(kind);
      ({ page } = await openPage(browser, server.url));
      await page.waitForFunction(() => document.body.dataset.state === 'ready', { timeout: 30000 });
    });
    after(async () => { if (browser) await browser.close(); });

    // Whole multiples where they fill 85 % of the largest 4:3 fit, else that fit.
    it('fits the picture at 4:3 in whole multiples where the window allows', async () => {
      const sizes = [[1400, 1000, 1280, 960], [1919, 1441, 1916, 1437], [1920, 1440, 1920, 1440],
                     [700, 500, 640, 480], [500, 600, 500, 375], [800, 300, 400, 300]];
      for (const [width, height, pictureWidth, pictureHeight] of sizes) {
        await page.setViewport({ width, height });
        await page.waitForFunction((w, h) => innerWidth === w && innerHeight === h, {}, width, height);
        await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => done())));
        const box = await page.$eval('#canvas', (e) => e.getBoundingClientRect().toJSON());
        assert.deepEqual([box.width, box.height], [pictureWidth, pictureHeight], `window ${width} x ${height}`);
        assert.deepEqual([box.x, box.y], [(width - pictureWidth) / 2, (height - pictureHeight) / 2]);
      }
      assert.equal(await page.$eval('#canvas', (e) => getComputedStyle(e).imageRendering), 'pixelated');
      assert.equal(await page.$eval('#canvas', (e) => getComputedStyle(e).cursor), 'none');
    });

    it('weighs under 1 MB gzipped served, and 1.5 MB as one file', () => {
      const gzipped = ['index.html', 'index.js', 'index.wasm', 'index.data']
        .reduce((sum, name) => sum + zlib.gzipSync(fs.readFileSync(path.join(site, name)), { level: 9 }).length, 0);
      assert.ok(gzipped < 1000000, `${gzipped} bytes`);
      assert.ok(fs.statSync(path.join(site, 'tinkettles.html')).size < 1500000);
    });
  });
});
