// The picture shows what is being heard. Measured from outside the program: every Web
// Audio buffer the page schedules is recorded with its start time and the player's
// position once it was filled, and every frame with the position it drew and the
// browser's own account of what its output plays then. A row whose first tick lies in
// a buffer is heard from somewhere in that buffer; the frame that first shows it comes
// somewhere between two frames. Over some 200 rows those uncertainties average out.
// Run by tests/web/run.sh.
'use strict';
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { serveSite, singleFileUrl, launchBrowser, openReadyPage, wait } = require('./page_driver');

// Before the page's own scripts: each scheduled buffer, as the browser is asked to play it.
function recordScheduledBuffers() {
  window.tkScheduled = [];
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (when, ...rest) {
    const buffer = this.buffer;
    window.tkScheduled.push({
      start: Math.max(when || 0, this.context.currentTime), length: buffer.length, rate: buffer.sampleRate,
      position: window.Module && Module._tk_web_position ? Module._tk_web_position() : null,
    });
    return start.call(this, when, ...rest);
  };
}

// A browser without output timestamps, for the page; the test keeps its own.
function withoutOutputTimestamps() {
  window.tkOutputTimestamp = AudioContext.prototype.getOutputTimestamp;
  delete AudioContext.prototype.getOutputTimestamp;
}

// After each frame: when it was drawn, what it drew, and what the output played then.
function recordFrames() {
  window.tkFrames = [];
  const outputTimestamp = window.tkOutputTimestamp || AudioContext.prototype.getOutputTimestamp;
  Module.postMainLoop = () => {
    const context = SDL.audioContext;
    const stamp = outputTimestamp.call(context);
    window.tkFrames.push({
      time: performance.now(), drawn: Module._tk_web_drawn_position(),
      contextTime: context.currentTime, latency: context.outputLatency || 0,
      stampContext: stamp.contextTime, stampTime: stamp.performanceTime,
    });
  };
}

const mean = (values) => values.reduce((sum, v) => sum + v, 0) / values.length;

// For each row that a buffer begins and a frame first shows: how much earlier the
// picture showed it than the output played it, in ms, with the output's time from its
// timestamps and, as a second opinion, from currentTime less outputLatency.
function leads(buffers, frames) {
  const heardFrom = new Map();
  for (let k = 1; k < buffers.length; ++k) {
    const { start, length, rate, position } = buffers[k];
    if (position !== buffers[k - 1].position && !heardFrom.has(position))
      heardFrom.set(position, start + length / rate / 2);
  }
  const byTimestamp = [], byLatency = [];
  const seen = new Set();
  for (let i = 1; i < frames.length; ++i) {
    const frame = frames[i], before = frames[i - 1];
    if (frame.drawn === before.drawn || seen.has(frame.drawn)) continue;
    seen.add(frame.drawn);
    // A long gap between two frames says little about when the row changed.
    if (!heardFrom.has(frame.drawn) || frame.time - before.time > 50) continue;
    const shown = (frame.time + before.time) / 2;
    const heard = heardFrom.get(frame.drawn);
    byTimestamp.push(frame.stampTime + (heard - frame.stampContext) * 1000 - shown);
    byLatency.push(frame.time + (heard - (frame.contextTime - frame.latency)) * 1000 - shown);
  }
  return { byTimestamp, byLatency };
}

// Buffers that start later than the one before ends: the queue ran dry.
function dropouts(buffers) {
  let count = 0;
  for (let k = 1; k < buffers.length; ++k) {
    const before = buffers[k - 1];
    if (buffers[k].start > before.start + before.length / before.rate + 0.001) ++count;
  }
  return count;
}

function keepsInStep(name, url, { timestamps = true } = {}) {
  describe(name, () => {
    let browser, page, problems;
    before(async () => {
      browser = await launchBrowser();
      const setup = timestamps ? recordScheduledBuffers
        : `(${recordScheduledBuffers})(); (${withoutOutputTimestamps})();`;
      ({ page, problems } = await openReadyPage(browser, url(), { setup }));
    });
    after(async () => { if (browser) await browser.close(); });

    it('draws the position being heard: mean lead within 15 ms over 20 s', async () => {
      await page.click('#start');
      await page.waitForFunction(() => document.body.dataset.state === 'playing', { timeout: 10000 });
      await page.evaluate(recordFrames);
      await wait(22000);
      const { buffers, frames } = await page.evaluate(() => ({ buffers: window.tkScheduled, frames: window.tkFrames }));
      assert.equal(await page.evaluate(() => document.body.dataset.sound), 'on');
      const span = (frames[frames.length - 1].time - frames[0].time) / 1000;
      assert.ok(span >= 20, `${span.toFixed(1)} s of frames`);
      const { byTimestamp, byLatency } = leads(buffers, frames);
      const summary = `${byTimestamp.length} rows; lead by timestamps ${mean(byTimestamp).toFixed(1)} ms, ` +
                      `by currentTime - outputLatency ${mean(byLatency).toFixed(1)} ms; ` +
                      `${buffers.length} buffers, ${dropouts(buffers)} late`;
      console.log(`# ${name}: ${summary}`);
      // 22 s at 7.8 rows a second: some 170 rows, less those that a slow frame hid (on
      // a loaded machine, a fifth of them).
      assert.ok(byTimestamp.length >= 80, summary);
      assert.ok(Math.abs(mean(byTimestamp)) <= 15, summary);
      assert.ok(Math.abs(mean(byLatency)) <= 15, summary);
      assert.deepEqual(problems, []);
    });
  });
}

describe('the picture in step with the sound, in headless Chromium', () => {
  let server;
  before(async () => { server = await serveSite(); });
  after(async () => { await server.close(); });

  keepsInStep('served from a web server', () => server.url);
  keepsInStep('the single file opened from disk', singleFileUrl);
  keepsInStep('a browser without output timestamps', () => server.url, { timestamps: false });
});
