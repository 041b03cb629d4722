// The start screen's flash warning and calm choice in headless Chromium: the warning
// stands above "Click to start" without covering it, ticking the choice does not start
// the demo, and the demo then plays through the calm presentation (and without it when
// the choice is left off). Run by tests/web/run.sh.
'use strict';
const { describe, it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const url = require('node:url');
const puppeteer = require('puppeteer-core');

const site = process.env.TK_WEB_SITE || path.join(__dirname, '../../build-web/site');
const chromium = process.env.TK_CHROMIUM || '/usr/bin/chromium';
// The single-file page: no server needed.
const page_url = url.pathToFileURL(path.join(site, 'tinkettles.html')).href;

async function launchBrowser() {
  return puppeteer.launch({
    executablePath: chromium, headless: true,
    userDataDir: fs.mkdtempSync(path.join(os.tmpdir(), 'tk-chromium-')),
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

const box = (page, selector) => page.$eval(selector, (e) => {
  const r = e.getBoundingClientRect();
  return { top: r.top, bottom: r.bottom, left: r.left, right: r.right, visible: r.width > 0 && r.height > 0 };
});

describe('the start screen warns of flashing and offers the calm presentation', () => {
  let browser, page;
  const problems = [];
  before(async () => {
    browser = await launchBrowser();
    page = await browser.newPage();
    await page.setViewport({ width: 800, height: 600 });
    page.on('pageerror', (error) => problems.push(`exception: ${error.message}`));
    page.on('console', (message) => { if (message.type() === 'error') problems.push(message.text()); });
    await page.goto(page_url);
    await page.waitForFunction(() => document.body.dataset.state === 'ready', { timeout: 30000 });
  });
  after(async () => { if (browser) await browser.close(); });

  it('shows the warning above the click to start, not over it', async () => {
    const warning = await box(page, '#flash-warning');
    const text = await page.$eval('#flash-warning', (e) => e.textContent);
    assert.match(text, /flash/i);
    assert.match(text, /epilepsy/i);
    const start = await page.$eval('#start-prompt', (p) => {
      const r = p.getBoundingClientRect();
      return { top: r.top, bottom: r.bottom, text: p.textContent };
    });
    assert.match(start.text, /click or tap to start/i);
    assert.ok(warning.visible);
    assert.ok(warning.bottom <= start.top, `warning ${warning.bottom} above the click line ${start.top}`);
    // Both inside the picture's 600-pixel-high window.
    assert.ok(warning.top >= 0 && start.bottom <= 600);
  });

  it('ticks the calm choice without starting, then plays calmly', async () => {
    await page.click('#calm-choice');
    assert.equal(await page.$eval('#calm', (e) => e.checked), true);
    assert.equal(await page.evaluate(() => document.body.dataset.state), 'ready');
    await page.click('#start');
    await page.waitForFunction(() => Module._tk_web_demo_time() > 500, { timeout: 10000 });
    assert.equal(await page.evaluate(() => Module._tk_web_calm()), 1);
  });

  it('plays as always when the choice is taken back', async () => {
    await page.mouse.click(400, 300);   // ends the demo
    await page.waitForFunction(() => document.body.dataset.state === 'ended', { timeout: 5000 });
    await page.$eval('#calm', (e) => { e.checked = false; });
    await page.click('#again');
    await page.waitForFunction(() => document.body.dataset.state === 'playing', { timeout: 10000 });
    assert.equal(await page.evaluate(() => Module._tk_web_calm()), 0);
    assert.deepEqual(problems, []);
  });
});
