// The web page under test: served from build/web on 127.0.0.1 and opened in
// Debian's headless Chromium through playwright-core.

import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

export const pageFolder = fileURLToPath(new URL('../../build/web/', import.meta.url));

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css' };

// A static server for the page's folder; resolves to its address.
export async function servePage() {
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)).replace(/^\/+/, '') || 'index.html';
    try {
      const body = await readFile(join(pageFolder, path));
      response.writeHead(200, { 'Content-Type': TYPES[extname(path)] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { server, address: `http://127.0.0.1:${server.address().port}/` };
}

// Chromium as this machine runs it: headless, no sandbox as root, and none
// of the background connections that a closed network refuses.
export function launchBrowser() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
}

// A new page with the form ready to calculate.
export async function openForm(browser, address, viewport = { width: 760, height: 660 }) {
  const page = await browser.newPage({ viewport });
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(address);
  await page.waitForSelector('body[data-ready="true"]', { timeout: 10000 });
  page.errors = errors;
  return page;
}

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

export const fieldValues = (page) =>
  page.evaluate(() => [2000, 2001, 2002, 2003, 2004].map((n) => document.querySelector(`[data-number="${n}"]`).value));

// A data file in CP932, built from the rarity names' bytes and ASCII.
const RARITY_BYTES = { 兵士: [0x95, 0xba, 0x8e, 0x6d], 上兵: [0x8f, 0xe3, 0x95, 0xba], 戦士: [0x90, 0xed, 0x8e, 0x6d] };
export function cp932File(lines) {
  return Buffer.concat(lines.map(([rarity, rest]) => Buffer.concat([Buffer.from(RARITY_BYTES[rarity]), Buffer.from(` ${rest}\r\n`)])));
}
