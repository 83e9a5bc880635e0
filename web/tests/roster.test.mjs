// Characters the roster lacks, added in the page: refused where chardata.txt
// could not hold them, kept with the roster in use, written back as a file
// that keeps the kept file's own bytes, and opened by the Windows program
// under Wine, which lists them and gives the page's lines.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { readFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

import { addCharacter as add, browserAndSite, control, formReady, openData, openForm, openPhone, PHONES, results, typeFields } from './page.mjs';

const shared = browserAndSite();
const project = fileURLToPath(new URL('../../', import.meta.url));
const cp932 = (text) => execFileSync('iconv', ['-f', 'UTF-8', '-t', 'CP932'], { input: text });

const listed = (page) => page.$$eval(`${control(4001)} option`, (options) => options.map((o) => o.text));
async function written(page) {
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#write-roster')]);
  return readFile(await download.path());
}

const ADDED = [[2, 'ア'.repeat(49), [100, 20, 20, 20]], [2, '表ソ予', [90, 25, 22, 21]], [5, 'ｶｲﾝ　改', [150, 60, 55, 50]]];

test('a kept CP932 file gets its added characters written in after its last line, before its 0x1A, and the Windows program reads them', async (t) => {
  // A comment, CR LF, a last line without its line end, then the end of the text and what follows it.
  const own = Buffer.concat([cp932('# 名簿\r\n戦士 アレス 80 30 26 22\r\n皇帝 ノルヴァ 180 64 60 52'), Buffer.from('\x1A# after the end', 'latin1')]);
  const page = await openForm(shared.browser, shared.site.address);
  await openData(page, own, 'chardata.txt');
  for (const [rarity, name, base] of ADDED) assert.equal(await add(page, rarity, name, base), '', name);
  await page.reload();
  await formReady(page);
  await page.selectOption(control(4000), { index: 2 });
  assert.deepEqual(await listed(page), ['アレス', `${'ア'.repeat(49)}（追加）`, '表ソ予（追加）'], 'kept across a reload, after the file\'s own');

  const file = await written(page);
  const end = own.indexOf(0x1a);
  const lines = ADDED.map(([rarity, name, base]) => `${['兵士', '上兵', '戦士', '将軍', '王者', '皇帝'][rarity]} ${name} ${base.join(' ')}\r\n`);
  assert.deepEqual(file, Buffer.concat([own.subarray(0, end), Buffer.from('\r\n'), cp932(lines.join('')), own.subarray(end)]));

  // What the page shows of each added character, for the program to show the same.
  const expected = [];
  for (const [rarity, name, base] of ADDED) {
    await page.selectOption(control(4000), { index: rarity });
    await page.selectOption(control(4001), { label: `${name}（追加）` });
    const typed = ['7', String(base[0] + 11), String(base[1] + 3), String(base[2]), String(base[3] + 1)];
    await typeFields(page, typed);
    await page.click(control(5000));
    expected.push(String(rarity), name, await page.textContent(control(1004)), typed.join('\t'), ...(await results(page)).lines);
  }
  const program = join(project, 'build/windows/tests/ui_tests.exe');
  if (!existsSync(program)) {
    t.skip('the Windows program\'s tests are not built');
    return;
  }
  const folder = mkdtempSync(join(tmpdir(), 'growth-written-'));
  try {
    writeFileSync(join(folder, 'chardata.txt'), file);
    writeFileSync(join(folder, 'expected.txt'), `${expected.join('\n')}\n`);
    const run = spawnSync('xvfb-run', ['-a', '-s', '-screen 0 1024x768x24', join(project, 'scripts/wine-test-run.sh'), program,
                                       '--gtest_filter=WrittenByThePage.*'],
                          { env: { ...process.env, GROWTH_WRITTEN_ROSTER: `Z:${folder.replaceAll('/', '\\')}` }, encoding: 'utf8', timeout: 180000 });
    assert.match(run.stdout, /\[ {2}PASSED {2}\] 1 test/, `${run.stdout}\n${run.stderr}`);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
});

test('each refusal says why and leaves the roster as it was; a name the rarity has is added after a warning', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  const before = await listed(page);
  for (const [name, base, says] of [
    ['', [1, 1, 1, 1], /名前を入力してください/],
    ['ア'.repeat(49) + 'x', [1, 1, 1, 1], /99 バイト。98 バイトまで/],
    ['アレス 改', [1, 1, 1, 1], /半角の空白やタブは使えません/],
    ['\u{20BB7}野家', [1, 1, 1, 1], /^「𠮷」は chardata\.txt に書けません。$/],
    ['x', [1, 1, 1, 1073741824], /素早さは 1 から 1,073,741,823 まで/],
    ['x', ['12a', 1, 1, 1], /HPは 1 から/]]) {
    assert.match(await add(page, 2, name, base), says, name);
    assert.deepEqual(await listed(page), before, `${name}: the roster unchanged`);
  }
  await page.click('#add-character');
  await page.fill('#add-name', 'アレス');
  assert.match(await page.textContent('#add-warning'), /戦士にはもう「アレス」がいます/);
  await page.click('#add-dialog [data-action="cancel"]');
  // A rarity holding 9999 characters takes no more.
  await openData(page, Buffer.from(Array.from({ length: 9999 }, (_, i) => `兵士 n${i} 10 10 10 10\n`).join('')));
  assert.match(await add(page, 0, 'one-more', [1, 1, 1, 1]), /兵士にはもう 9999 人いるため/);
});

test('a UTF-8 file is written back in UTF-8 with its LF ends, and going back to the sample keeps what was added only if asked', async () => {
  const own = Buffer.from('\uFEFF戦士 アレス 80 30 26 22\n戦士 カイン 72 34 20 28\n', 'utf8');
  const page = await openForm(shared.browser, shared.site.address);
  await openData(page, own, 'utf8.txt');
  assert.equal(await add(page, 2, '新人', [60, 20, 20, 20]), '');
  assert.deepEqual(await written(page), Buffer.concat([own, Buffer.from('戦士 新人 60 20 20 20\n', 'utf8')]));

  await page.click('#use-sample');
  await page.waitForSelector('#confirm-delete[open]');
  assert.match(await page.textContent('#confirm-text'), /追加したキャラクター 1 人を、サンプルにも追加して残しますか/);
  await page.click('#confirm-delete [data-action="confirm"]');
  await page.waitForSelector('#roster-in-use[data-roster="sample"]');
  assert.equal((await listed(page)).at(-1), '新人（追加）');
  const sample = await written(page);
  const line = Buffer.concat([cp932('戦士 新人 60 20 20 20'), Buffer.from('\r\n')]);
  assert.ok(sample.subarray(-line.length).equals(line), 'the sample in CP932 with CR LF');
  // Taken back again: gone from the sample, after a reload too.
  assert.equal(await page.isVisible('#remove-added'), false, 'only while an added character is chosen');
  await page.selectOption(control(4001), { label: '新人（追加）' });
  await page.click('#remove-added');
  await page.click('#confirm-delete [data-action="confirm"]');
  await page.waitForFunction(() => !document.querySelector('[data-number="4001"]').textContent.includes('新人'));
  await page.reload();
  await formReady(page);
  assert.ok(!(await listed(page)).some((name) => name.includes('新人')));
});

test('a shared check of a character this roster lacks offers to add it, and then goes into the form', async () => {
  const page = await openPhone(shared.browser, shared.site.address, PHONES[1]);
  const link = await page.evaluate(() => shareLink.linkOf(location.href, { rarity: 3, name: 'ゼノン', base: [110, 40, 42, 24], typed: [12, 130, 50, 46, 30] }));
  await page.goto(link);
  await formReady(page);
  await page.waitForSelector('#add-shared:not([hidden])');
  assert.equal(await page.isVisible('#take-shared'), false);
  await page.tap('#add-shared');
  await page.waitForSelector('#take-shared:not([hidden])');
  await page.tap('#take-shared');
  await page.waitForSelector('#shared-check', { state: 'hidden' });
  assert.equal(await page.$eval(control(4001), (list) => list.value), 'ゼノン（追加）');
  assert.deepEqual(await page.$$eval('input.field', (fields) => fields.map((f) => f.value)), ['12', '130', '50', '46', '30']);
});
