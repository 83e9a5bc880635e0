// The page as an app a player keeps: installable, offline, one build at a
// time, the roster remembered from one visit to the next, and any file read
// in bounded memory.

import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { appendFileSync, cpSync, mkdtempSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

import { addCharacter, choose, control, cp932File, EXAMPLES, formReady, launchBrowser, launchProfile, openData, pageFolder, results,
         servePage, typeFields, WORKED } from './page.mjs';

const temporary = mkdtempSync(join(tmpdir(), 'growth-app-'));
let site;
before(async () => { site = await servePage(); });
after(() => {
  site?.server.close();
  rmSync(temporary, { recursive: true, force: true });
});

// A browser with a profile of its own in the temporary folder, on the page.
async function visit(profile, address = site.address) {
  const context = await launchProfile(join(temporary, profile));
  const page = context.pages()[0];
  await page.goto(address);
  await formReady(page);
  return { context, page };
}
const names = (page) => page.$$eval(`${control(4001)} option`, (options) => options.map((o) => o.text));
const reload = async (page) => { await page.reload(); await formReady(page); };
async function firstExample(page) {
  const [example] = EXAMPLES;
  await choose(page, example.rarity, example.name);
  await typeFields(page, example.typed);
  await page.click(control(5000));
  assert.deepEqual((await results(page)).lines, example.lines);
}

test('installable, and offline after one visit, with the roster it last opened', async () => {
  const { context, page } = await visit('offline');
  try {
    const cdp = await context.newCDPSession(page);
    assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
    // PNG icons for home screens that take no SVG, each drawn at its size.
    const icons = await page.evaluate(async () => {
      const manifest = await (await fetch('manifest.webmanifest')).json();
      const pngs = manifest.icons.filter((icon) => icon.type === 'image/png').map((icon) => [icon.src, icon.sizes]);
      pngs.push([document.querySelector('link[rel="apple-touch-icon"]').getAttribute('href'), '180x180']);
      return Promise.all(pngs.map(async ([src, sizes]) => {
        const image = await createImageBitmap(await (await fetch(src)).blob());
        return [sizes, `${image.width}x${image.height}`];
      }));
    });
    assert.deepEqual(icons.map(([sizes]) => sizes).sort(), ['180x180', '192x192', '192x192', '512x512', '512x512']);
    for (const [sizes, drawn] of icons) assert.equal(drawn, sizes);
    await openData(page, WORKED);
    await page.evaluate(() => navigator.serviceWorker.ready);
    await context.setOffline(true);
    await reload(page);
    await firstExample(page);
  } finally {
    await context.close();
  }
});

test('a new build is shown whole at the next start after its worker installed, never mixed with the last', async () => {
  // Two builds that differ in one file, each with the worker the build writes for it.
  const [a, b] = ['a', 'b'].map((name) => join(temporary, name));
  cpSync(pageFolder, a, { recursive: true });
  cpSync(pageFolder, b, { recursive: true });
  appendFileSync(join(b, 'form.css'), '\n#window { --build: b; }\n');
  execFileSync('cmake', [`-DPAGE=${b}`, '-P', fileURLToPath(new URL('../app/service_worker.cmake', import.meta.url))]);
  const cacheOf = (build) => readFileSync(join(build, 'sw.js'), 'utf8').match(/'(growth-check-\w+)'/)[1];
  const build = (page) => page.evaluate(() => getComputedStyle(document.getElementById('window')).getPropertyValue('--build').trim() || 'a');

  const served = await servePage(a);
  const { context, page } = await visit('builds', served.address);
  try {
    await page.evaluate(() => navigator.serviceWorker.ready);
    served.folder = b;
    await reload(page);  // still a, wholly from its cache, while b's worker installs
    assert.equal(await build(page), 'a');
    // As the browser checks, soon or late: b's worker found, installed and waiting.
    const waiting = await page.evaluate(async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      await registration.update();
      const worker = registration.installing || registration.waiting;
      if (worker && worker.state !== 'installed') {
        await new Promise((resolve) => worker.addEventListener('statechange', () => { if (worker.state !== 'installing') resolve(); }));
      }
      return Boolean(registration.waiting);
    });
    assert.equal(waiting, true, 'b\'s worker waits for the next start');
    await page.close();
    const next = await context.newPage();  // the next start
    await next.goto(served.address);
    await formReady(next);
    assert.equal(await build(next), 'b');
    assert.deepEqual(await next.evaluate(() => caches.keys()), [cacheOf(b)], 'b\'s cache alone, filled from b');
  } finally {
    await context.close();
    served.server.close();
  }
});

test('the roster opened last is the roster after a reload, until the player goes back to the sample', async () => {
  const browser = await launchBrowser();
  try {
    const page = await browser.newPage();
    await page.goto(site.address);
    await formReady(page);
    for (const [file, buffer, name] of [['utf8.txt', Buffer.from('戦士 ユーティーエフ 100 20 20 20\n'), 'ユーティーエフ'],
                                        ['cp932.txt', cp932File([['戦士', 'plain 100 20 20 20']]), 'plain']]) {
      await openData(page, buffer, file);
      await reload(page);
      assert.ok((await page.textContent('#roster-in-use')).includes(file), file);
      assert.deepEqual(await names(page), [name], file);
    }
    // A file that fails leaves the kept one as it was.
    await page.evaluate(() => { File.prototype.stream = () => new ReadableStream({ pull: (c) => c.error(new Error('gone')) }); });
    await page.setInputFiles('#file-input', { name: 'bad.txt', mimeType: 'text/plain', buffer: WORKED });
    await page.waitForSelector('#failure[open]');
    await reload(page);
    assert.deepEqual(await names(page), ['plain']);
    // So does a file with no character in it, which is refused by name.
    await page.setInputFiles('#file-input', { name: 'notes.txt', mimeType: 'text/plain', buffer: Buffer.from('shopping: milk, eggs\n') });
    await page.waitForSelector('#failure[open]');
    assert.ok((await page.textContent('#failure-text')).includes('notes.txt'));
    await page.click('#failure-ok');
    assert.deepEqual(await names(page), ['plain']);
    assert.ok((await page.textContent('#roster-in-use')).includes('cp932.txt'));
    await reload(page);
    assert.deepEqual(await names(page), ['plain']);

    await page.click('#use-sample');
    await page.waitForSelector('#roster-in-use[data-roster="sample"]');
    await reload(page);
    assert.deepEqual(await names(page), ['アレス', 'カイン', 'フィオナ', 'ゴードン']);

    // Where the browser keeps nothing, a file is read all the same, and the page says it is not kept.
    await page.addInitScript(() => { indexedDB.open = () => { throw new DOMException('refused', 'SecurityError'); }; });
    await reload(page);
    await openData(page, WORKED);
    assert.equal(await page.getAttribute('#roster-in-use', 'data-keeping'), 'refused');
    await firstExample(page);
  } finally {
    await browser.close();
  }
});

// The renderer processes of `browser` alone, as the browser itself lists
// them, so that other browsers on the machine are left out.
async function renderersOf(browser) {
  const { processInfo } = await (await browser.newBrowserCDPSession()).send('SystemInfo.getProcessInfo');
  return processInfo.filter((info) => info.type === 'renderer').map((info) => String(info.id));
}
// A process's memory figure in kB; NaN for one that has ended.
function memoryKb(pid, field) {
  try {
    return Number(readFileSync(`/proc/${pid}/status`, 'utf8').match(new RegExp(`${field}:\\s+(\\d+)`))[1]);
  } catch {
    return NaN;
  }
}

test('a 400 MB file is read in bounded memory, with progress, the form answers afterwards, and it is written back streamed', async (t) => {
  // 戦士 (CP932), a space and 400 MiB of A, then one more character.
  const path = join(temporary, 'chardata.txt');
  writeFileSync(path, Buffer.from([0x90, 0xed, 0x8e, 0x6d, 0x20]));
  const block = Buffer.alloc(4 << 20, 'A');
  for (let i = 0; i < 100; ++i) appendFileSync(path, block);
  appendFileSync(path, Buffer.from(' 100 20 20 20\r\n\x90\xed\x8e\x6d after 100 20 20 20\r\n', 'latin1'));

  const browser = await launchBrowser();
  try {
    const page = await browser.newPage();
    await page.goto(site.address);
    await formReady(page);
    // Each renderer's peak is set back to what it holds now (clear_refs 5), so that the peak after is the reading's.
    const pids = await renderersOf(browser);
    assert.ok(pids.length > 0, 'the renderers are found');
    for (const pid of pids) writeFileSync(`/proc/${pid}/clear_refs`, '5');
    const before = new Map(pids.map((pid) => [pid, memoryKb(pid, 'VmRSS')]));
    const wasmBytes = await page.getAttribute('body', 'data-wasm-bytes');

    await page.setInputFiles('#file-input', path);
    await page.waitForSelector('#reading:not([hidden])', { timeout: 60000 });
    await page.waitForFunction(() => document.body.dataset.loads === '1', null, { timeout: 120000 });

    const growths = pids.map((pid) => memoryKb(pid, 'VmHWM') - before.get(pid)).filter(Number.isFinite);
    assert.ok(growths.length > 0, 'a renderer is still there to measure');
    const growthMb = Math.max(...growths) / 1024;
    t.diagnostic(`renderer peak growth ${growthMb.toFixed(1)} MB, read in ${await page.getAttribute('body', 'data-listed-in')} ms`);
    assert.ok(growthMb <= 64, `the renderer's peak grew by ${growthMb.toFixed(1)} MB`);
    assert.equal(await page.getAttribute('body', 'data-wasm-bytes'), wasmBytes, 'the WebAssembly memory did not grow');
    assert.equal(await page.getAttribute('#roster-in-use', 'data-keeping'), 'too-large');
    assert.equal((await names(page))[1], 'after');
    await typeFields(page, EXAMPLES[0].typed);  // 'after' has the first example's base stats
    await page.click(control(5000));
    assert.equal((await results(page)).lines[0], EXAMPLES[0].lines[0]);

    // A character added reads nothing again; the file written back streams it, in bounded memory too.
    assert.equal(await addCharacter(page, 2, 'new', [1, 2, 3, 4]), '');
    for (const pid of pids) writeFileSync(`/proc/${pid}/clear_refs`, '5');
    const [download] = await Promise.all([page.waitForEvent('download', { timeout: 120000 }), page.click('#write-roster')]);
    const written = await download.path();
    const writtenGrowthMb = Math.max(...pids.map((pid) => memoryKb(pid, 'VmHWM') - memoryKb(pid, 'VmRSS')).filter(Number.isFinite)) / 1024;
    t.diagnostic(`written back: renderer peak above its size now ${writtenGrowthMb.toFixed(1)} MB`);
    assert.ok(writtenGrowthMb <= 64, `writing it back took ${writtenGrowthMb.toFixed(1)} MB`);
    const line = Buffer.from([0x90, 0xed, 0x8e, 0x6d, ...Buffer.from(' new 1 2 3 4\r\n')]);
    assert.equal(statSync(written).size, statSync(path).size + line.length);
  } finally {
    await browser.close();
  }
});
