// The page as an app a player keeps: installable, offline, one build at a
// time, and the roster remembered from one visit to the next.

import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { appendFileSync, cpSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

import { choose, control, cp932File, EXAMPLES, formReady, launchBrowser, launchProfile, openData, openForm, pageFolder,
         results, servePage, typeFields, WORKED } from './page.mjs';

const temporary = mkdtempSync(join(tmpdir(), 'growth-app-'));
let site;
before(async () => { site = await servePage(); });
after(() => {
  site?.server.close();
  rmSync(temporary, { recursive: true, force: true });
});

const names = (page) => page.$$eval(`${control(4001)} option`, (options) => options.map((o) => o.text));
const workerReady = (page) => page.evaluate(() => navigator.serviceWorker.ready.then(() => true));

async function firstExample(page) {
  const [example] = EXAMPLES;
  await choose(page, example.rarity, example.name);
  await typeFields(page, example.typed);
  await page.click(control(5000));
  assert.deepEqual((await results(page)).lines, example.lines);
}

test('installable, and offline after one visit, with the roster it last opened', async () => {
  const context = await launchProfile(join(temporary, 'profile'));
  try {
    const page = context.pages()[0] || await context.newPage();
    await page.goto(site.address);
    await formReady(page);
    const cdp = await context.newCDPSession(page);
    assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
    assert.deepEqual((await cdp.send('Page.getAppManifest')).errors, []);

    await openData(page, WORKED);
    await workerReady(page);
    await context.setOffline(true);
    await page.reload();
    await formReady(page);
    assert.equal(await page.getAttribute('#roster-in-use', 'data-roster'), 'file');
    await firstExample(page);
  } finally {
    await context.close();
  }
});

// Waits, across the page loading itself again, until `check` holds in it.
async function until(page, check, what) {
  for (let tries = 0; tries < 100; ++tries) {
    try {
      if (await page.evaluate(check)) return;
    } catch {
      // the page was loading itself again
    }
    await page.waitForTimeout(100);
  }
  assert.fail(`never: ${what}`);
}

test('a new build is shown whole at the next start after its worker installed, never mixed with the last', async () => {
  // Two builds that differ in one file, each with the worker the build writes for it.
  const builds = ['a', 'b'].map((name) => join(temporary, name));
  for (const build of builds) cpSync(pageFolder, build, { recursive: true });
  appendFileSync(join(builds[1], 'form.css'), '\n#window { --build: b; }\n');
  execFileSync('cmake', [`-DPAGE=${builds[1]}`, '-P', fileURLToPath(new URL('../service_worker.cmake', import.meta.url))]);
  const build = () => document.getElementById('window') &&
    (getComputedStyle(document.getElementById('window')).getPropertyValue('--build').trim() || 'a');
  const cacheNames = () => caches.keys();

  const served = await servePage(builds[0]);
  const context = await launchProfile(join(temporary, 'builds'));
  try {
    const page = context.pages()[0] || await context.newPage();
    await page.goto(served.address);
    await formReady(page);
    await workerReady(page);
    const [cacheA] = await page.evaluate(cacheNames);

    served.folder = builds[1];
    await page.reload();  // still build a, from its cache, while b's worker installs
    await formReady(page);
    assert.equal(await page.evaluate(build), 'a');
    await until(page, () => navigator.serviceWorker.getRegistration().then((r) => Boolean(r && r.waiting)), 'b waiting');

    await page.reload();  // the next start: b takes over
    await until(page, () => document.body.dataset.ready === 'true' && getComputedStyle(document.getElementById('window'))
      .getPropertyValue('--build').trim() === 'b', 'build b shown');
    const caches = await page.evaluate(cacheNames);
    assert.equal(caches.length, 1);
    assert.notEqual(caches[0], cacheA);
    // Every file the page has is b's: its cache holds b's bytes, file by file.
    const mismatched = await page.evaluate(async ([name]) => {
      const cache = await caches.open(name);
      const wrong = [];
      for (const request of await cache.keys()) {
        const [cached, served] = await Promise.all([cache.match(request), fetch(request.url, { cache: 'no-store' })]);
        if (await cached.text() !== await served.text()) wrong.push(request.url);
      }
      return wrong;
    }, caches);
    assert.deepEqual(mismatched, []);
  } finally {
    await context.close();
    served.server.close();
  }
});

test('the roster opened last is the roster after a reload, until the player goes back to the sample', async () => {
  const browser = await launchBrowser();
  try {
    const page = await openForm(browser, site.address);
    assert.equal(await page.getAttribute('#roster-in-use', 'data-roster'), 'sample');
    for (const [file, buffer] of [['utf8.txt', Buffer.from('戦士 ユーティーエフ 100 20 20 20\n', 'utf8')],
                                  ['cp932.txt', cp932File([['戦士', 'plain 100 20 20 20']])]]) {
      await openData(page, buffer, file);
      await page.reload();
      await formReady(page);
      assert.match(await page.textContent('#roster-in-use'), new RegExp(file.replace('.', '\\.')), file);
      assert.deepEqual(await names(page), [file === 'utf8.txt' ? 'ユーティーエフ' : 'plain'], file);
    }

    // A file that fails leaves the kept one as it was.
    await page.evaluate(() => { File.prototype.stream = () => new ReadableStream({ pull: (c) => c.error(new Error('gone')) }); });
    await page.setInputFiles('#file-input', { name: 'bad.txt', mimeType: 'text/plain', buffer: WORKED });
    await page.waitForSelector('#failure[open]');
    await page.reload();
    await formReady(page);
    assert.deepEqual(await names(page), ['plain']);

    await page.click('#use-sample');
    await page.waitForSelector('#roster-in-use[data-roster="sample"]');
    await page.reload();
    await formReady(page);
    assert.equal(await page.getAttribute('#roster-in-use', 'data-roster'), 'sample');
    assert.deepEqual(await names(page), ['アレス', 'カイン', 'フィオナ', 'ゴードン']);
    assert.deepEqual(page.errors, []);
  } finally {
    await browser.close();
  }
});

test('where the browser keeps nothing, a file is read all the same and the page says it is not kept', async () => {
  const browser = await launchBrowser();
  try {
    const page = await browser.newPage();
    await page.addInitScript(() => { indexedDB.open = () => { throw new DOMException('refused', 'SecurityError'); }; });
    await page.goto(site.address);
    await formReady(page);
    await openData(page, WORKED);
    assert.equal(await page.getAttribute('#roster-in-use', 'data-keeping'), 'refused');
    await firstExample(page);
  } finally {
    await browser.close();
  }
});
