// What the page tests beside browser.test.js share: the site served from build-web,
// headless Chromium, and a page that records every problem it meets.
'use strict';
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const site = process.env.TK_WEB_SITE || path.join(__dirname, '../../build-web/site');
const chromium = process.env.TK_CHROMIUM || '/usr/bin/chromium';
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.data': 'application/octet-stream' };

function serveSite() {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(site, name === '/' ? 'index.html' : name);
    if (!file.startsWith(site) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () =>
    resolve({ url: `http://127.0.0.1:${server.address().port}/`,
              close: () => new Promise((done) => server.close(done)) })));
}

const singleFileUrl = () => 'file://' + path.join(site, 'tinkettles.html');

function launchBrowser() {
  // The network is closed, and no autoplay switch: sound starts from the page's gesture.
  return puppeteer.launch({
    executablePath: chromium, headless: true,
    userDataDir: fs.mkdtempSync(path.join(os.tmpdir(), 'tk-chromium-')),
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

// A page with `setup` run before any of its own scripts, loaded to its start screen.
async function openReadyPage(browser, url, { viewport = { width: 800, height: 600 }, setup } = {}) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  const problems = [];
  page.on('console', (message) => { if (message.type() === 'error') problems.push(`console: ${message.text()}`); });
  page.on('pageerror', (error) => problems.push(`exception: ${error.message}`));
  if (setup) await page.evaluateOnNewDocument(setup);
  await page.goto(url);
  await page.waitForFunction(() => document.body.dataset.state === 'ready', { timeout: 30000 });
  return { page, problems };
}

const wait = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

module.exports = { serveSite, singleFileUrl, launchBrowser, openReadyPage, wait };
