// The page on a phone, in headless Chromium emulating one (412 x 915 CSS pixels at
// device pixel ratio 2.625, touch): the picture's size upright and on its side, a tap
// that starts the sound, the screen wake lock, pausing while hidden, and the full-screen
// button where the browser has no element full screen. Run by tests/web/run.sh.
'use strict';
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { serveSite, launchBrowser, openReadyPage, wait } = require('./page_driver');

const portrait = { width: 412, height: 915, deviceScaleFactor: 2.625, isMobile: true, hasTouch: true };
const landscape = { ...portrait, width: 915, height: 412, isLandscape: true };

// Before the page's scripts: a wake lock that records what the page asks of it (the
// headless browser refuses real ones), and the event that created the sound's context.
function observePhone() {
  window.tkLocks = [];
  const wakeLock = {
    request(type) {
      const lock = new EventTarget();
      Object.assign(lock, { type, released: false });
      lock.release = () => {
        if (!lock.released) {
          lock.released = true;
          lock.dispatchEvent(new Event('release'));
        }
        return Promise.resolve();
      };
      window.tkLocks.push(lock);
      return Promise.resolve(lock);
    },
  };
  Object.defineProperty(Navigator.prototype, 'wakeLock', { get: () => wakeLock, configurable: true });
  // Every buffer scheduled, and whether the page stopped it.
  window.tkSources = [];
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (when, ...rest) {
    window.tkSources.push({ node: this, end: Math.max(when, this.context.currentTime) + this.buffer.duration, stopped: false });
    return start.call(this, when, ...rest);
  };
  const stop = AudioBufferSourceNode.prototype.stop;
  AudioBufferSourceNode.prototype.stop = function (...args) {
    window.tkSources.forEach((source) => { if (source.node === this) source.stopped = true; });
    return stop.apply(this, args);
  };
  const Real = window.AudioContext;
  window.AudioContext = class extends Real {
    constructor(...args) {
      super(...args);
      window.tkContextCreatedIn = window.event ? window.event.type : null;
    }
  };
}

function withoutFullscreen() {
  delete Element.prototype.requestFullscreen;
  delete Element.prototype.webkitRequestFullscreen;
  Object.defineProperty(Document.prototype, 'fullscreenEnabled', { get: () => false, configurable: true });
}

function withoutWebAudio() {
  window.AudioContext = undefined;
  window.webkitAudioContext = undefined;
}

const locks = (page) => page.evaluate(() => window.tkLocks.map((lock) => ({ type: lock.type, released: lock.released })));

const pictureBox = (page) => page.$eval('#canvas', (e) => {
  const box = e.getBoundingClientRect();
  return [box.width, box.height];
});

// Within layout's 1/64 px of the expected CSS size.
function assertSize(actual, expected, what) {
  assert.ok(Math.abs(actual[0] - expected[0]) < 0.02 && Math.abs(actual[1] - expected[1]) < 0.02,
            `${what}: ${actual} instead of ${expected}`);
}

async function turnTo(page, viewport) {
  await page.setViewport(viewport);
  await page.waitForFunction((w) => innerWidth === w, {}, viewport.width);
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => done())));
}

// What a phone does when the page goes to the background or comes back: the browser
// drops its wake locks, then tells the page.
function setHidden(page, hidden) {
  return page.evaluate((hidden) => {
    Object.defineProperty(document, 'hidden', { get: () => hidden, configurable: true });
    Object.defineProperty(document, 'visibilityState', { get: () => (hidden ? 'hidden' : 'visible'), configurable: true });
    if (hidden && window.tkLocks) window.tkLocks.forEach((lock) => lock.release());
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
}

const clock = (page) => page.evaluate(() => ({
  position: Module._tk_web_position(), drawn: Module._tk_web_drawn_position(),
  demoTime: Module._tk_web_demo_time(), frames: Module._tk_web_frames(),
  context: window.SDL && SDL.audioContext ? SDL.audioContext.state : 'none',
}));

// Hidden for 2 s: nothing moves. Shown again: demo_time and the music go on from where
// they stood, at their normal pace (7.8 rows a second), with no catching up.
async function pausesWhileHidden(page) {
  await setHidden(page, true);
  await wait(300);
  const hidden = await clock(page);
  await wait(2000);
  const later = await clock(page);
  assert.deepEqual(later, hidden, 'nothing moves while hidden');

  // The first frame after the return, as the page drew it.
  await page.evaluate(() => {
    window.tkFirstBack = null;
    Module.postMainLoop = () => {
      if (!window.tkFirstBack)
        window.tkFirstBack = { demoTime: Module._tk_web_demo_time(), drawn: Module._tk_web_drawn_position() };
    };
  });
  await setHidden(page, false);
  await page.waitForFunction(() => window.tkFirstBack !== null);
  const first = await page.evaluate(() => window.tkFirstBack);
  assert.ok(first.demoTime - hidden.demoTime < 250, `demo_time ${hidden.demoTime} -> ${first.demoTime} on return`);
  assert.ok(first.drawn - hidden.drawn <= 1, `drawn ${hidden.drawn} -> ${first.drawn} on return`);
  const back = await clock(page);
  await wait(2000);
  const after = await clock(page);
  const seconds = (after.demoTime - back.demoTime) / 1000;
  const rows = after.drawn - back.drawn;
  // A clock that caught up on the time away would add 15 rows; a late buffer on a busy
  // machine delays the music by a row or two.
  assert.ok(seconds > 1.5 && rows >= 7.8 * seconds - 5 && rows <= 7.8 * seconds + 5,
            `${rows} rows in ${seconds} s after return`);
  return hidden;
}

describe('the page on a phone, in headless Chromium', () => {
  let server;
  before(async () => { server = await serveSite(); });
  after(async () => { await server.close(); });

  describe('with sound', () => {
    let browser, page, problems;
    before(async () => {
      browser = await launchBrowser();
      ({ page, problems } = await openReadyPage(browser, server.url, { viewport: portrait, setup: observePhone }));
    });
    after(async () => { if (browser) await browser.close(); });

    it('shows the picture as large as the screen allows, upright and on its side', async () => {
      // Upright: 1081.5 device pixels across, 1.69 times 640; one whole multiple would
      // fill 59 % of it, so the largest fit, 1080 x 810 device pixels.
      assertSize(await pictureBox(page), [1080 / 2.625, 810 / 2.625], 'portrait');
      // On its side: 1081.5 device pixels high, 2.25 times 480; twice 640 x 480 fills 89 %.
      await turnTo(page, landscape);
      assertSize(await pictureBox(page), [1280 / 2.625, 960 / 2.625], 'landscape');
      await turnTo(page, portrait);
      assertSize(await pictureBox(page), [1080 / 2.625, 810 / 2.625], 'portrait again');
      assert.equal(await page.$eval('#canvas', (e) => getComputedStyle(e).imageRendering), 'pixelated');
      // No scrolling, pinch or double-tap zoom to get in a tap's way.
      assert.equal(await page.$eval('body', (e) => getComputedStyle(e).touchAction), 'none');
    });

    it('starts on a tap, with the sound opened inside touchend, and keeps the screen on', async () => {
      // A tap on the calm choice ticks it, and only that.
      await page.tap('#calm-choice');
      assert.equal(await page.$eval('#calm', (e) => e.checked), true);
      await page.tap('#calm-choice');
      assert.equal(await page.$eval('#calm', (e) => e.checked), false);
      assert.equal(await page.evaluate(() => document.body.dataset.state), 'ready');
      await page.tap('#start-prompt');
      await page.waitForFunction(() => Module._tk_web_demo_time() > 1000, { timeout: 10000 });
      assert.equal(await page.evaluate(() => document.body.dataset.sound), 'on');
      assert.equal(await page.evaluate(() => window.tkContextCreatedIn), 'touchend');
      assert.equal((await clock(page)).context, 'running');
      assert.deepEqual(await locks(page), [{ type: 'screen', released: false }]);
    });

    it('pauses picture and music while hidden and resumes them in step', async () => {
      const hidden = await pausesWhileHidden(page);
      assert.equal(hidden.context, 'suspended');
      assert.equal((await clock(page)).context, 'running');
    });

    it('asks for the wake lock again on return and gives it back at the end, where the sound stops', async () => {
      assert.deepEqual(await locks(page), [{ type: 'screen', released: true }, { type: 'screen', released: false }]);
      await page.tap('#canvas');
      await page.waitForFunction(() => document.body.dataset.state === 'ended', { timeout: 5000 });
      assert.deepEqual(await locks(page), [{ type: 'screen', released: true }, { type: 'screen', released: true }]);
      // The queue, some 0.2 s of music past the moment shown last, does not play on.
      const playingOn = await page.evaluate(() => window.tkSources.filter(
        (source) => !source.stopped && source.end > SDL.audioContext.currentTime).length);
      assert.equal(playingOn, 0);
      assert.deepEqual(problems, []);
    });
  });

  describe('without Web Audio', () => {
    let browser, page, problems;
    before(async () => {
      browser = await launchBrowser();
      ({ page, problems } = await openReadyPage(browser, server.url, { viewport: portrait, setup: withoutWebAudio }));
    });
    after(async () => { if (browser) await browser.close(); });

    it('pauses the silent clock while hidden, with no catching up on return', async () => {
      await page.tap('#start-prompt');
      await page.waitForFunction(() => Module._tk_web_demo_time() > 1000 && document.body.dataset.sound === 'silent',
                                 { timeout: 10000 });
      await pausesWhileHidden(page);
      assert.deepEqual(problems, []);
    });
  });

  describe('without element full screen', () => {
    let browser, page;
    before(async () => {
      browser = await launchBrowser();
      ({ page } = await openReadyPage(browser, server.url, { viewport: landscape, setup: withoutFullscreen }));
    });
    after(async () => { if (browser) await browser.close(); });

    it('makes the full-screen button fill the screen with the picture instead', async () => {
      assertSize(await pictureBox(page), [1280 / 2.625, 960 / 2.625], 'before');
      await page.tap('#fullscreen');
      // The largest 4:3 fit of 2401.9 x 1081.5 device pixels: 1440 x 1080.
      assertSize(await pictureBox(page), [1440 / 2.625, 1080 / 2.625], 'filled');
      assert.equal(await page.$eval('#fullscreen', (e) => e.textContent), 'Exit full view');
      await page.tap('#fullscreen');
      assertSize(await pictureBox(page), [1280 / 2.625, 960 / 2.625], 'back');
      assert.equal(await page.evaluate(() => document.body.dataset.state), 'ready');
    });
  });
});
