// The web page under test: served from build/web on 127.0.0.1 and opened in
// Debian's headless Chromium through playwright-core.

import { createServer } from 'node:http';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';
import { after, before } from 'node:test';
import { chromium } from 'playwright-core';

export const pageFolder = fileURLToPath(new URL('../../build/web/', import.meta.url));

const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.svg': 'image/svg+xml',
                '.png': 'image/png', '.webmanifest': 'application/manifest+json' };

// A static server for the page's folder (or another build's, `site.folder`);
// resolves to its address. With `gzip`, it compresses what it sends, as a
// static host does.
export async function servePage(folder = pageFolder, { gzip = false } = {}) {
  const site = { folder };
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)).replace(/^\/+/, '') || 'index.html';
    try {
      const body = await readFile(join(site.folder, path));
      const compressed = gzip && extname(path) !== '.png' && /gzip/.test(request.headers['accept-encoding'] || '');
      response.writeHead(200, { 'Content-Type': TYPES[extname(path)] || 'application/octet-stream',
                                ...(compressed ? { 'Content-Encoding': 'gzip' } : {}) });
      response.end(compressed ? gzipSync(body) : body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return Object.assign(site, { server, address: `http://127.0.0.1:${server.address().port}/` });
}

// A desktop window, wide enough for the Windows form and the chart beside it.
export const DESKTOP = { width: 1280, height: 800 };

// Chromium as this machine runs it: headless, no sandbox as root, and none
// of the background connections that a closed network refuses.
const BROWSER_OPTIONS = {
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
};
export function launchBrowser() {
  return chromium.launch(BROWSER_OPTIONS);
}
// A browser with a profile of its own in `folder`, as an installed app has.
export function launchProfile(folder, viewport = DESKTOP) {
  return chromium.launchPersistentContext(folder, { ...BROWSER_OPTIONS, viewport });
}

// The served page and a browser for a test file's tests: started before
// them, closed after them.
export function browserAndSite() {
  const shared = {};
  before(async () => {
    shared.site = await servePage();
    shared.browser = await launchBrowser();
  });
  after(async () => {
    await shared.browser?.close();
    shared.site?.server.close();
  });
  return shared;
}

// Waits until the page's form is ready to calculate. A page that never gets
// there is described in the error: where it is, what it set on its body,
// which worker controls it, and what it printed.
export async function formReady(page) {
  if (!page.printed) {
    page.printed = [];
    page.on('console', (message) => page.printed.push(`${message.type()}: ${message.text()}`));
    page.on('pageerror', (error) => page.printed.push(`error: ${error.message}`));
  }
  try {
    await page.waitForSelector('body[data-ready="true"]', { state: 'attached', timeout: 10000 });
  } catch (error) {
    const state = await page.evaluate(() => ({
      body: document.body && { ...document.body.dataset },
      worker: navigator.serviceWorker && navigator.serviceWorker.controller && navigator.serviceWorker.controller.state,
      scripts: performance.getEntriesByType('resource').map((entry) => `${entry.name.split('/').pop()} ${entry.responseStatus}`),
    })).catch((reason) => reason.message);
    error.message += `\n  at ${page.url()}: ${JSON.stringify(state)}\n  printed: ${JSON.stringify(page.printed)}`;
    throw error;
  }
}

// A new page with the form ready to calculate (in a context of its own,
// with `options` such as a phone's).
export async function openForm(browser, address, viewport = DESKTOP, options = {}) {
  const page = await browser.newPage({ viewport, ...options });
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(address);
  await formReady(page);
  page.errors = errors;
  return page;
}

// Phones as their browsers lay pages out, with the viewport meta honoured
// (a narrow desktop window ignores it): upright and turned.
export const PHONES = [[360, 740], [390, 844], [844, 390]];
export const openPhone = (browser, address, [width, height]) =>
  openForm(browser, address, { width, height }, { isMobile: true, hasTouch: true, deviceScaleFactor: 3 });

export const control = (number) => `[data-number="${number}"]`;

// The seven result lines, top to bottom, and the result box.
export async function results(page) {
  return page.evaluate(() => ({
    lines: [1005, 1006, 1007, 1008, 1011, 1009, 1010].map((n) => document.querySelector(`[data-number="${n}"]`).textContent),
    box: document.querySelector('[data-number="7000"]').value,
  }));
}

export async function typeFields(page, values) {
  for (const [offset, value] of values.entries()) await page.fill(control(2000 + offset), value);
}

// A calculation, and, for a check that passes, its keeping in the
// notebook settled (kept, or not); resolves to the seven lines.
export async function calculate(page, typed) {
  const keeps = await page.evaluate(() => Number(document.body.dataset.keeps || 0));
  await typeFields(page, typed);
  await page.click(control(5000));
  const { lines } = await results(page);
  if (!lines[0].startsWith('エラー')) await page.waitForFunction((before) => Number(document.body.dataset.keeps || 0) > before, keeps);
  return lines;
}

// Writes the notebook's records into the page's database, as a page wrote them: { histories, characters }.
export const putNotebook = (page, { histories, characters }) => page.evaluate(({ histories, characters }) => new Promise((resolve, reject) => {
  const request = indexedDB.open('growth-check');
  request.onsuccess = () => {
    const transaction = request.result.transaction(['histories', 'characters'], 'readwrite');
    for (const history of histories) transaction.objectStore('histories').put(history);
    for (const row of characters) transaction.objectStore('characters').put(row);
    transaction.oncomplete = () => { request.result.close(); resolve(); };
    transaction.onerror = () => reject(transaction.error);
  };
}), { histories, characters });

export const fieldValues = (page) =>
  page.evaluate(() => [2000, 2001, 2002, 2003, 2004].map((n) => document.querySelector(`[data-number="${n}"]`).value));

// A data file in CP932, built from the rarity names' bytes and ASCII.
const RARITY_BYTES = { 兵士: [0x95, 0xba, 0x8e, 0x6d], 上兵: [0x8f, 0xe3, 0x95, 0xba], 戦士: [0x90, 0xed, 0x8e, 0x6d] };
export function cp932File(lines) {
  return Buffer.concat(lines.map(([rarity, rest]) => Buffer.concat([Buffer.from(RARITY_BYTES[rarity]), Buffer.from(` ${rest}\r\n`)])));
}

// The growth check's worked examples (the one fixture every suite reads):
// { name, rarity, base, typed: [5 texts], lines }, each character named
// after its example; and a file of them, opened with the file picker.
export const EXAMPLES = JSON.parse(readFileSync(new URL('../../tests/fixtures/worked_examples.json', import.meta.url), 'utf8'))
  .map((example) => ({ ...example, typed: example.typed.map(String) }));
export const WORKED = cp932File(EXAMPLES.map(({ rarity, name, base }) => [Object.keys(RARITY_BYTES)[rarity], `${name} ${base.join(' ')}`]));

export async function openData(page, buffer, name = 'chardata.txt') {
  const loads = await page.evaluate(() => Number(document.body.dataset.loads || 0));
  await page.setInputFiles('#file-input', { name, mimeType: 'text/plain', buffer });
  await page.waitForFunction((before) => Number(document.body.dataset.loads || 0) > before, loads);
}

// Adds a character through キャラクターを追加; resolves to its refusal, '' where it was added.
export async function addCharacter(page, rarity, name, base) {
  await page.click('#add-character');
  await page.selectOption('#add-rarity', { index: rarity });
  await page.fill('#add-name', name);
  for (const [i, id] of ['add-hp', 'add-attack', 'add-defence', 'add-speed'].entries()) await page.fill(`#${id}`, String(base[i]));
  await page.click('#add-submit');
  await page.waitForFunction(() => !document.getElementById('add-dialog').open || document.getElementById('add-refusal').textContent);
  const refusal = await page.textContent('#add-refusal');
  if (refusal) await page.click('#add-dialog [data-action="cancel"]');
  return refusal;
}

export async function choose(page, rarity, name) {
  await page.selectOption(control(4000), { index: rarity });
  await page.selectOption(control(4001), { label: name });
}

// A CSV opened in LibreOffice Calc as a double-click opens it (Japanese,
// special numbers detected) and saved as CSV in `charset` (76 UTF-8, 64
// Shift_JIS). Calc's profile is made once for the test file's process, in
// a folder of its own (another run's would be locked).
let spreadsheetFolder = null;
export function throughSpreadsheet(csv, charset) {
  if (!spreadsheetFolder) {
    spreadsheetFolder = mkdtempSync(join(tmpdir(), 'growth-calc-'));
    process.on('exit', () => rmSync(spreadsheetFolder, { recursive: true, force: true }));
  }
  const folder = mkdtempSync(join(spreadsheetFolder, 'file-'));
  writeFileSync(join(folder, 'notebook.csv'), csv);
  execFileSync('soffice', [`-env:UserInstallation=file://${spreadsheetFolder}/lo-profile`, '--headless',
    '--infilter=CSV:44,34,76,1,,1041,false,false,false,false,true',
    '--convert-to', `csv:Text - txt - csv (StarCalc):44,34,${charset},1`, '--outdir', join(folder, 'out'), join(folder, 'notebook.csv')],
  { stdio: 'ignore', timeout: 120000 });
  return readFileSync(join(folder, 'out', 'notebook.csv'));
}
