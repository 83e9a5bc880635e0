// The notebook: every good check kept in the browser, the characters at a
// glance, a character's history, CSV out and in, and the form's name search.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';

import { browserAndSite, calculate, putNotebook, choose, control, fieldValues, openData, openForm, results, typeFields } from './page.mjs';

const shared = browserAndSite();


async function openNotebook(page) {
  await page.click('#open-notebook');
  await page.waitForFunction(() => !document.getElementById('notebook').hidden && document.querySelector('#notebook-characters').ariaRowCount);
}
const rows = (page) => page.$$eval('[data-character]', (all) => all.map(({ dataset: { rarity, name, battles, progress, sum } }) =>
  ({ rarity, name, battles, progress, sum })));
const row = (name) => `[data-character][data-name="${name}"]`;
async function confirmDeletion(page, button) {
  await page.click(button);
  await page.click('#confirm-delete [data-action="confirm"]');
  await page.waitForSelector('#confirm-delete', { state: 'hidden' });
}
// The figures in a line: "(+12.5％)" gives 12.5, as printed.
const percents = (line) => [...line.matchAll(/\(\+([\d.]+)％\)/g)].map((match) => match[1]);

test('checks of one character make one row, its check with the most battles; its history runs in battle order, charted with the lines\' figures', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  const made = [];
  for (const typed of [['10', '100', '36', '29', '26'], ['20', '120', '40', '32', '30'], ['5', '90', '32', '27', '23']]) {
    made.push({ battles: typed[0], lines: await calculate(page, typed) });
  }
  await calculate(page, ['5', '90', '32', '27', '23']);  // the latest again: not kept twice
  await calculate(page, ['31', '90', '32', '27', '23']);  // failed: not kept
  await openNotebook(page);
  const furthest = made[1].lines;  // made at 5 battles last; 20 the most
  assert.deepEqual(await rows(page), [{ rarity: '2', name: 'アレス', battles: '20', progress: furthest[0].match(/: (\d+) ％/)[1],
                                        sum: furthest[6].match(/\+([\d.]+)$/)[1] }]);

  await page.click(`${row('アレス')} [data-action="history"]`);
  await page.waitForSelector('[data-check]');
  assert.deepEqual(await page.$$eval('[data-check]', (all) => all.map((r) => r.dataset.battles)), ['5', '10', '20']);
  const name = await page.getAttribute('#history-chart', 'aria-label');
  for (const { battles, lines } of made) {
    assert.ok(name.includes(`${battles}戦 ${['HP', '攻', '防', '早'].map((stat, i) => `${stat}+${percents(lines[2])[i]}％`).join(' ')}`), battles);
  }
  assert.ok(name.includes(`20戦からの予想 30戦 HP+${percents(furthest[5])[0]}％`), 'the prediction from the check with the most battles');
  assert.equal(await page.locator('#history-chart .history-prediction').count(), 4);

  await confirmDeletion(page, '[data-check][data-battles="10"] [data-action="delete"]');
  await page.waitForFunction(() => document.querySelectorAll('[data-check]').length === 2);
  assert.deepEqual(page.errors, []);
});

test('the rows sort by each column both ways, and filter by rarity and by a name typed in hiragana', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  for (const [name, typed] of [['アレス', ['20', '120', '40', '32', '30']], ['カイン', ['5', '80', '36', '22', '30']],
                               ['フィオナ', ['0', '70', '30', '24', '32']]]) {
    await page.selectOption(control(4001), { label: name });
    await calculate(page, typed);
  }
  await choose(page, 5, 'アウレリア');
  await calculate(page, ['10', '170', '75', '54', '60']);
  await openNotebook(page);
  const names = async () => (await rows(page)).map((r) => r.name);
  const sortBy = async (column) => {
    await page.click(`[data-sort="${column}"]`);
    return [await names(), await page.$eval(`th:has([data-sort="${column}"])`, (th) => th.getAttribute('aria-sort'))];
  };
  assert.deepEqual(await names(), ['アウレリア', 'フィオナ', 'カイン', 'アレス'], 'the latest first');
  assert.deepEqual(await sortBy('name'), [['アウレリア', 'アレス', 'カイン', 'フィオナ'], 'ascending']);
  assert.deepEqual(await sortBy('name'), [['フィオナ', 'カイン', 'アレス', 'アウレリア'], 'descending']);
  assert.deepEqual(await sortBy('battles'), [['フィオナ', 'カイン', 'アウレリア', 'アレス'], 'ascending']);
  assert.deepEqual((await sortBy('sum'))[0].at(-1), 'フィオナ', 'no sum at 0 battles: last');
  assert.deepEqual((await sortBy('sum'))[0].at(-1), 'フィオナ', 'last both ways');
  await sortBy('rarity');
  const [, direction] = await sortBy('rarity');
  assert.deepEqual([(await rows(page)).map((r) => r.rarity), direction], [['5', '2', '2', '2'], 'descending']);

  await page.fill('#notebook-search', 'かい');
  assert.deepEqual(await names(), ['カイン']);
  await page.fill('#notebook-search', '');
  await page.selectOption('#notebook-rarity', '5');
  assert.deepEqual(await names(), ['アウレリア']);
});

test('choosing a row fills the form with its latest check; a character the roster lacks is said so', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  await calculate(page, ['12', '104', '36', '29', '26']);
  await choose(page, 5, 'アウレリア');
  await openNotebook(page);
  await page.click(`${row('アレス')} [data-action="choose"]`);
  await page.waitForSelector('#notebook', { state: 'hidden' });
  assert.equal(await page.$eval(control(4000), (list) => list.value), '戦士');
  assert.equal(await page.$eval(control(4001), (list) => list.value), 'アレス');
  assert.deepEqual(await fieldValues(page), ['12', '104', '36', '29', '26']);

  await openData(page, Buffer.from('戦士 other 10 10 10 10\n'));
  await openNotebook(page);
  await page.click(`${row('アレス')} [data-action="choose"]`);
  assert.match(await page.textContent('#notebook-status'), /アレス/);
  assert.equal(await page.isVisible('#notebook'), true);
});

test('export, clear and import give back the same notebook; malformed rows are reported by line, and other files change nothing', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  // Names that CSV must quote, and one that a spreadsheet would take for a formula.
  await openData(page, Buffer.from('戦士 a,"b" 100 20 20 20\n戦士 =1+1 100 20 20 20\n戦士 アレス 80 30 26 22\n'));
  for (const [name, typed] of [['a,"b"', ['3', '110', '25', '20', '21']], ['=1+1', ['0', '100', '20', '20', '20']],
                               ['アレス', ['12', '104', '36', '29', '26']], ['アレス', ['20', '120', '40', '32', '30']]]) {
    await page.selectOption(control(4001), { label: name });
    await calculate(page, typed);
  }
  await openNotebook(page);
  const exported = async () => {
    const [download] = await Promise.all([page.waitForEvent('download'), page.click('#notebook-export')]);
    return readFile(await download.path(), 'utf8');
  };
  const csv = await exported();
  const lines = csv.split('\r\n');
  assert.ok(csv.startsWith('\uFEFF日時,データ,レアリティ,名前,'), 'UTF-8 with a byte order mark, and the header');
  assert.equal(lines.length, 6, 'the header, four checks and the last line end');
  assert.ok(lines.some((line) => line.includes(',"a,""b""",')) && lines.some((line) => line.includes(",'=1+1,")));
  const before = await rows(page);

  await confirmDeletion(page, '#notebook-clear');
  await page.waitForSelector('#notebook-empty:not([hidden])');
  // Two bad rows after the good ones: too few fields, and an HP that does not read.
  const unreadHp = lines[3].split(',');
  unreadHp[9] = 'x';
  const bad = `${lines[4].split(',').slice(0, 5).join(',')}\r\n${unreadHp.join(',')}\r\n`;
  await page.setInputFiles('#notebook-import', { name: 'notebook.csv', mimeType: 'text/csv', buffer: Buffer.from(csv + bad) });
  await page.waitForFunction(() => document.getElementById('notebook-status').textContent.includes('読み込みました'));
  const said = await page.textContent('#notebook-status');
  assert.ok(said.includes('4 件') && said.includes('6 行目') && said.includes('7 行目（「HP」'), said);
  // The same rows; their times kept to the second, so rows of one second may come in another order.
  const byName = (list) => [...list].sort((a, b) => (a.name < b.name ? -1 : a.name > b.name ? 1 : 0));
  assert.deepEqual(byName(await rows(page)), byName(before));
  assert.equal(await exported(), csv, 'the same notebook');
  await page.setInputFiles('#notebook-import', { name: 'again.csv', mimeType: 'text/csv', buffer: Buffer.from(csv) });
  await page.waitForFunction(() => document.getElementById('notebook-status').textContent.includes('again.csv'));
  assert.equal(await exported(), csv, 'the same checks twice are kept once');

  await page.setInputFiles('#notebook-import', { name: 'chardata.txt', mimeType: 'text/plain', buffer: Buffer.from('戦士 x 1 2 3 4\n') });
  await page.waitForFunction(() => document.getElementById('notebook-status').textContent.includes('chardata.txt'));
  assert.deepEqual(byName(await rows(page)), byName(before), 'not an export');
});

test('the name search narrows a list of 9,999 names as typed, in file order, and clearing it keeps the choice', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  const names = Array.from({ length: 9998 }, (_, i) => `n${String(i + 1).padStart(4, '0')}`);
  names.splice(5000, 0, 'アレス');
  await openData(page, Buffer.from(names.map((name) => `戦士 ${name} 100 20 20 20\n`).join('')));
  const listed = () => page.$$eval(`${control(4001)} option`, (options) => options.map((o) => o.text));
  await page.selectOption(control(4001), { label: 'n0012' });

  await page.fill('#name-search', 'ｎ００１');  // full-width finds half-width
  assert.deepEqual(await listed(), names.filter((name) => name.startsWith('n001')));
  assert.equal(await page.$eval(control(4001), (list) => list.value), 'n0012', 'the choice stays while it is listed');
  await page.fill('#name-search', 'あれ');  // hiragana finds katakana
  assert.deepEqual(await listed(), ['アレス']);
  assert.equal(await page.textContent(control(1004)), '100  20　20　20');
  await page.fill('#name-search', '');
  assert.equal((await listed()).length, 9999);
  assert.equal(await page.$eval(control(4001), (list) => list.value), 'アレス');
  assert.equal(await page.$eval(control(4001), (list) => list.selectedIndex), 5000);
});

test('where the browser keeps nothing the form works and says checks are not kept; a full disk loses no earlier check', async () => {
  const nothing = await shared.browser.newPage();
  try {
    await nothing.addInitScript(() => { indexedDB.open = () => { throw new DOMException('refused', 'SecurityError'); }; });
    await nothing.goto(shared.site.address);
    await nothing.waitForSelector('body[data-ready="true"]');
    assert.equal((await calculate(nothing, ['12', '104', '36', '29', '26']))[0], '壁進捗率: 37 ％, グラフ 0.37 目盛');
    assert.match(await nothing.textContent('#check-note'), /記録を残せません/);
    await openNotebook(nothing);
    assert.match(await nothing.textContent('#notebook-status'), /記録を残せません/);

    const full = await openForm(shared.browser, shared.site.address);
    await calculate(full, ['12', '104', '36', '29', '26']);
    await full.evaluate(() => {
      IDBObjectStore.prototype.put = function put() { throw new DOMException('no room', 'QuotaExceededError'); };
    });
    await calculate(full, ['20', '120', '40', '32', '30']);
    assert.match(await full.textContent('#check-note'), /空き容量/);
    await openNotebook(full);
    assert.deepEqual((await rows(full)).map((r) => r.battles), ['12'], 'the earlier check');
  } finally {
    await nothing.close();
  }
});

test('a notebook kept by the first version of the notebook opens unchanged: rows, history and export', async () => {
  // Its database as that page wrote it: figures as a list, no version.
  const kept = JSON.parse(await readFile(new URL('fixtures/notebook-version-1.json', import.meta.url), 'utf8'));
  const page = await openForm(shared.browser, shared.site.address);
  await putNotebook(page, kept);
  await openNotebook(page);
  const [latest] = kept.characters;
  assert.deepEqual(await rows(page), [{ rarity: '2', name: 'アレス', battles: '12', progress: latest.figures[0], sum: latest.figures[22] }]);
  await page.click(`${row('アレス')} [data-action="history"]`);
  await page.waitForSelector('[data-check]');
  assert.deepEqual(await page.$$eval('[data-check]', (all) => all.map((r) => [r.dataset.battles, r.dataset.progress])), [['0', '0'], ['12', '37']]);
  assert.match(await page.textContent('#history-checks'), /\+24\(\+30\.0％\)/);
  await page.click('#close-history');
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#notebook-export')]);
  const csv = (await readFile(await download.path(), 'utf8')).split('\r\n');
  assert.deepEqual(csv.slice(1, 3).map((line) => line.split(',').slice(13, -1)), kept.histories[0].checks.map((c) => c.figures),
                   'the figures, then unit 1');
  // Keeping one more check writes the history in this version, with the first ones in it.
  await page.click('#close-notebook');
  await calculate(page, ['20', '120', '40', '32', '30']);
  await page.click('#open-notebook');
  await page.waitForSelector(`${row('アレス')}[data-battles="20"]`);
  await page.click(`${row('アレス')} [data-action="history"]`);
  await page.waitForFunction(() => document.querySelectorAll('[data-check]').length === 3);
});

test('a record a newer page wrote is named as such, and the rest of the notebook is still read', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  await calculate(page, ['12', '104', '36', '29', '26']);
  // カイン as a newer page keeps him, in a shape this page does not know.
  const character = '2\tカイン\t72\t34\t20\t28';
  await putNotebook(page, { histories: [{ version: 99, character, checks: [] }], characters: [{ version: 99, character, rows: [] }] });
  await openNotebook(page);
  assert.deepEqual((await rows(page)).map((r) => r.name), ['アレス']);
  assert.match(await page.textContent('#notebook-status'), /^1 件の記録を読めませんでした: .*新しい版のページ.*読み込み直してください/);
});

test('a CSV far larger than any export is refused before a byte of it is read', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  await openNotebook(page);
  await page.evaluate(() => {
    window.reads = 0;
    for (const how of ['arrayBuffer', 'text', 'stream']) {
      const own = Blob.prototype[how];
      Blob.prototype[how] = function (...args) { window.reads += 1; return own.apply(this, args); };
    }
    const input = document.getElementById('notebook-import');
    const files = new DataTransfer();
    files.items.add(new File([new Uint8Array(65 * 1024 * 1024)], 'huge.csv', { type: 'text/csv' }));
    input.files = files.files;
    input.dispatchEvent(new Event('change'));
  });
  await page.waitForFunction(() => document.getElementById('notebook-status').textContent.includes('huge.csv'));
  assert.equal(await page.evaluate(() => window.reads), 0);
  assert.match(await page.textContent('#notebook-status'), /「huge\.csv」は 65 MB あり.*64 MB まで.*何も変えていません/);
});
