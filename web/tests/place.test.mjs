// The page keeps the player's place: its screens are entries of the
// browser's history, a result names its check, and every tap answers on
// screen; the records read right in a spreadsheet.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { readFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

import { browserAndSite, calculate, control, DESKTOP, formReady, openData, openForm, openPhone, PHONES, typeFields } from './page.mjs';

const shared = browserAndSite();
const shownScreen = (page) => page.evaluate(() => ['notebook-history', 'notebook', 'shared-check', 'app']
  .find((id) => !document.getElementById(id).hidden && (id !== 'notebook' || document.getElementById('notebook-history').hidden)));
const onScreen = (page, selector) => page.$eval(selector, (element) => {
  const box = element.getBoundingClientRect();
  return box.height > 0 && box.top >= 0 && box.bottom <= innerHeight;
});

test('on a phone, Back and Forward go through 記録 and 履歴 and back to the form, and a reload shows the same screen', async () => {
  const page = await openPhone(shared.browser, shared.site.address, PHONES[1]);
  await calculate(page, ['12', '104', '36', '29', '26']);
  const steps = [];
  const step = async (what, act, screen) => {
    await act();
    await page.waitForFunction((id) => !document.getElementById(id).hidden, screen === 'notebook-history' ? 'notebook-history' : screen);
    steps.push([what, await shownScreen(page)]);
  };
  await step('記録', () => page.tap('#open-notebook'), 'notebook');
  await step('履歴', () => page.tap('[data-character] [data-action="history"]'), 'notebook-history');
  await step('back', () => page.goBack(), 'notebook');
  await step('back', () => page.goBack(), 'app');
  await step('forward', () => page.goForward(), 'notebook');
  await step('forward', () => page.goForward(), 'notebook-history');
  await step('一覧に戻る', () => page.tap('#close-history'), 'notebook');
  await step('計算に戻る', () => page.tap('#close-notebook'), 'app');
  assert.deepEqual(steps.map(([, screen]) => screen), ['notebook', 'notebook-history', 'notebook', 'app', 'notebook', 'notebook-history', 'notebook', 'app']);
  assert.equal(new URL(page.url()).hash, '');
  assert.deepEqual(await page.$$eval('input.field', (fields) => fields.map((f) => f.value)), ['12', '104', '36', '29', '26'], 'the form as it was');
  await step('forward', () => page.goForward(), 'notebook');
  await step('forward', () => page.goForward(), 'notebook-history');
  await step('reload', async () => { await page.reload(); await formReady(page); }, 'notebook-history');
  await step('back', () => page.goBack(), 'notebook');
  await step('back', () => page.goBack(), 'app');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'open-notebook', 'Back focuses what led away, never a field');

  // A shared link opened at load closes to the form, by Back and by its own button.
  const link = await page.evaluate(() => shareLink.linkOf(location.href, { rarity: 2, name: 'アレス', base: [80, 30, 26, 22], typed: [5, 90, 32, 27, 23] }));
  for (const how of ['Back', 'its own button']) {
    const opened = await openPhone(shared.browser, link, PHONES[1]);
    await opened.waitForSelector('#shared-check:not([hidden])');
    if (how === 'Back') await opened.goBack();
    else await opened.tap('#close-shared');
    await opened.waitForSelector('#shared-check', { state: 'hidden' });
    assert.equal(await shownScreen(opened), 'app', how);
    await opened.close();
  }
});

test('a result names its check, and says so once the choice or the fields no longer match it; an error shows no other character\'s chart', async () => {
  const page = await openForm(shared.browser, shared.site.address, DESKTOP);
  const named = () => page.$eval('[data-result-of]', (e) => ({ text: e.textContent, stale: e.hasAttribute('data-stale'), shown: !e.hidden }));
  assert.equal((await named()).shown, false, 'nothing before a result');
  await calculate(page, ['12', '104', '36', '29', '26']);
  assert.deepEqual(await named(), { text: '戦士 アレス・戦歴 12 の結果', stale: false, shown: true });
  assert.equal(await page.textContent('#result-note'), '記録しました');
  await page.selectOption(control(4001), { label: 'カイン' });
  assert.deepEqual(await named(), { text: '戦士 アレス・戦歴 12 の結果（前の計算です。いまの選択や入力とは違います）', stale: true, shown: true });
  await page.selectOption(control(4001), { label: 'アレス' });
  assert.equal((await named()).stale, false, 'the same check again');
  await page.fill(control(2001), '106');
  await page.dispatchEvent(control(2001), 'input');
  assert.equal((await named()).stale, true, 'another number typed');

  await page.selectOption(control(4001), { label: 'カイン' });
  await typeFields(page, ['12', '200', '36', '29', '26']);
  await page.click(control(5000));
  assert.deepEqual(await named(), { text: '戦士 カイン・戦歴 12 の計算（エラー）', stale: false, shown: true });
  assert.equal(await page.getAttribute('#growth-chart', 'aria-label'), '成長グラフ（計算するとここに表示されます）', 'no chart of アレス');
  assert.equal(await page.textContent('#field-hint'), 'HP は 72〜144', 'what the field the error names allows');

  // No character to check, said where the player is.
  await page.fill('#name-search', 'ない名前');
  await page.click(control(5000));
  assert.match(await page.textContent('#result-note'), /絞り込みに合う名前がありません/);
});

test('on a phone every tap answers on screen: 選ぶ and 削除 on a lower row, an undo; Enter calculates in the last field', async () => {
  const page = await openPhone(shared.browser, shared.site.address, PHONES[0]);
  await openData(page, Buffer.from(Array.from({ length: 12 }, (_, i) => `戦士 c${String(i).padStart(2, '0')} 100 20 20 20\n`).join('')));
  for (let i = 0; i < 12; ++i) {
    await page.selectOption(control(4001), { index: i });
    await calculate(page, ['10', String(110 + i), '25', '22', '21']);
  }
  await page.tap('#open-notebook');
  await page.waitForSelector('[data-character]');
  await page.tap('[data-sort="name"]');
  const lowest = '[data-character][data-name="c11"]';
  await page.$eval(lowest, (row) => row.scrollIntoView({ block: 'end' }));
  await page.tap(`${lowest} [data-action="delete"]`);
  await page.tap('#confirm-delete [data-action="confirm"]');
  await page.waitForFunction(() => document.getElementById('notebook-status').textContent.includes('削除しました'));
  assert.equal(await onScreen(page, '#notebook-status'), true, 'the word on the deletion, on screen');
  await page.tap('#notebook-status button');  // 元に戻す
  await page.waitForSelector(lowest);
  assert.match(await page.textContent('#notebook-status'), /元に戻しました/);

  await openData(page, Buffer.from('戦士 other 10 10 10 10\n'));
  await page.$eval(lowest, (row) => row.scrollIntoView({ block: 'end' }));
  await page.tap(`${lowest} [data-action="choose"]`);
  await page.waitForFunction(() => document.getElementById('notebook-status').textContent.includes('c11'));
  assert.equal(await onScreen(page, '#notebook-status'), true, 'the roster lacks it: said on screen');

  await page.tap('#close-notebook');
  await page.waitForSelector('#notebook', { state: 'hidden' });
  await typeFields(page, ['0', '10', '10', '10', '10']);
  await page.focus(control(2004));
  await page.keyboard.press('Enter');  // a phone keyboard's 実行
  await page.waitForFunction(() => document.querySelector('[data-number="1005"]').textContent.startsWith('壁進捗率'));
});

test('the CSV\'s time is local, and a spreadsheet reads it as a date; a row corrected in it replaces its check', async () => {
  const context = await shared.browser.newContext({ viewport: DESKTOP, timezoneId: 'Asia/Tokyo' });
  const page = await context.newPage();
  await page.goto(shared.site.address);
  await formReady(page);
  await calculate(page, ['12', '104', '36', '29', '26']);
  await page.click('#open-notebook');
  await page.waitForSelector('[data-character]');
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#notebook-export')]);
  const csv = await readFile(await download.path(), 'utf8');
  const [, row] = csv.split('\r\n');
  const shown = await page.textContent('[data-character] .when');  // 2026/12/10 08:59
  const [date, time] = row.split(',')[0].split('T');
  assert.match(row, /^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d,/, 'ISO 8601 without a zone, to the second');
  assert.equal(`${date.replaceAll('-', '/').replace(/\/0/g, '/')} ${time.slice(0, 5)}`, shown.replace(/\/0/g, '/'), 'the notebook\'s own time');

  // Calc, as a double-click opens it: the cell is a date and time.
  const folder = mkdtempSync(join(tmpdir(), 'growth-calc-date-'));
  try {
    writeFileSync(join(folder, 'notebook.csv'), csv);
    execFileSync('soffice', [`-env:UserInstallation=file://${folder}/profile`, '--headless', '--convert-to', 'fods', '--outdir', folder,
                             join(folder, 'notebook.csv')], { stdio: 'ignore', timeout: 120000 });
    const sheet = readFileSync(join(folder, 'notebook.fods'), 'utf8');
    const firstCell = sheet.split('<table:table-row')[2].match(/<table:table-cell[^>]*>/)[0];
    assert.match(firstCell, /office:value-type="date"/, firstCell);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }

  // HP corrected in the spreadsheet at the same time and battles: that check, corrected.
  const corrected = csv.replace(/,12,104,36,29,26,/, ',12,106,36,29,26,');
  await page.setInputFiles('#notebook-import', { name: 'corrected.csv', mimeType: 'text/csv', buffer: Buffer.from(corrected) });
  await page.waitForFunction(() => document.getElementById('notebook-status').textContent.includes('corrected.csv'));
  assert.match(await page.textContent('#notebook-status'), /1 件は同じ日時と戦歴の記録を直したもの/);
  await page.click('[data-character] [data-action="history"]');
  await page.waitForSelector('[data-check]');
  assert.deepEqual(await page.$$eval('[data-check]', (rows) => rows.map((r) => r.dataset.battles)), ['12'], 'one check, not two');
  assert.match(await page.textContent('#history-checks tbody'), /106 \+26/);
  await context.close();
});
