// Frame time of the web build in headless Chromium over the whole demo: drawing plus
// presentation per frame, from performance.now() around the frame, median and worst
// per scene. Plays the single file in real time (about 3.5 minutes).
//   NODE_PATH=build-web/node/node_modules node web/bench/frame_times.js [--until POSITION]
//       [--slowdown N] [--phone] [FILE.html]
// --slowdown N slows the page's processor N times (DevTools' CPU throttling), as a
// phone's is; --phone emulates a 412 x 915 phone at device pixel ratio 2.625.
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

// --until POSITION stops early, at that music position.
const args = process.argv.slice(2);
const untilAt = args.indexOf('--until');
const until = untilAt >= 0 ? Number(args.splice(untilAt, 2)[1]) : Infinity;
const slowdownAt = args.indexOf('--slowdown');
const slowdown = slowdownAt >= 0 ? Number(args.splice(slowdownAt, 2)[1]) : 1;
const phoneAt = args.indexOf('--phone');
const phone = phoneAt >= 0 && args.splice(phoneAt, 1).length > 0;
const file = path.resolve(args[0] || 'build-web/site/tinkettles.html');

(async () => {
  const browser = await puppeteer.launch({
    executablePath: process.env.TK_CHROMIUM || '/usr/bin/chromium', headless: true,
    userDataDir: fs.mkdtempSync(path.join(os.tmpdir(), 'tk-chromium-')),
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const page = await browser.newPage();
  await page.setViewport(phone ? { width: 412, height: 915, deviceScaleFactor: 2.625, isMobile: true, hasTouch: true }
                                : { width: 800, height: 600 });
  if (slowdown > 1) {
    const session = await page.createCDPSession();
    await session.send('Emulation.setCPUThrottlingRate', { rate: slowdown });
  }
  await page.goto('file://' + file);
  await page.waitForFunction(() => document.body.dataset.state === 'ready', { timeout: 30000 });
  // Every frame the loop draws is recorded after it, with the scene it showed.
  await page.evaluate(() => {
    window.frameTimes = [];
    let seen = 0;
    Module.postMainLoop = () => {
      const frames = Module._tk_web_frames();
      if (frames !== seen) {
        seen = frames;
        window.frameTimes.push([Module._tk_web_scene(), Module._tk_web_frame_ms(), Module._tk_web_position()]);
      }
    };
  });
  await page.click('#start');
  const started = Date.now();
  let last = -1;
  while (true) {
    const state = await page.evaluate(() => document.body.dataset.state);
    if (state !== 'playing') break;
    const position = await page.evaluate(() => Module._tk_web_position());
    if (position >= until) break;
    if (Math.floor(position / 100) !== last) {
      last = Math.floor(position / 100);
      process.stderr.write(`\rposition ${position}  ${((Date.now() - started) / 1000).toFixed(0)} s `);
    }
    await new Promise((resolve) => setTimeout(resolve, 1000));
  }
  process.stderr.write('\n');
  const times = await page.evaluate(() => window.frameTimes);
  await browser.close();

  const version = (await puppeteer.launch({ executablePath: process.env.TK_CHROMIUM || '/usr/bin/chromium',
    headless: true, args: ['--no-sandbox'] }).then(async (b) => { const v = await b.version(); await b.close(); return v; }));
  console.log(`${times.length} frames in ${((Date.now() - started) / 1000).toFixed(1)} s, ${version}` +
              (slowdown > 1 ? `, processor slowed ${slowdown} times` : '') + (phone ? ', phone screen' : ''));
  console.log('| scene | frames | median ms | 99th percentile ms | worst ms |');
  console.log('|---|---|---|---|---|');
  const row = (name, ms) => {
    ms.sort((a, b) => a - b);
    const median = ms.length % 2 ? ms[(ms.length - 1) / 2] : (ms[ms.length / 2 - 1] + ms[ms.length / 2]) / 2;
    const p99 = ms[Math.min(ms.length - 1, Math.ceil(ms.length * 0.99) - 1)];
    console.log(`| ${name} | ${ms.length} | ${median.toFixed(2)} | ${p99.toFixed(2)} | ${ms[ms.length - 1].toFixed(2)} |`);
  };
  for (let scene = 1; scene <= 10; ++scene) {
    const ms = times.filter(([s]) => s === scene).map(([, t]) => t);
    if (ms.length) row(scene, ms);
  }
  row('all', times.map(([, t]) => t));
  const slowest = times.slice().sort((a, b) => b[1] - a[1]).slice(0, 8);
  console.log('slowest frames (ms at music position): ' +
              slowest.map(([, t, position]) => `${t.toFixed(1)} at ${position}`).join(', '));
})();
