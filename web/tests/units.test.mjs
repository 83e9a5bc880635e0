// A unit's whole history: the 80 % range beside the prediction, in the form
// and the history; checks that cannot follow their unit asked about or
// marked; units kept apart, from today's notebooks to the CSV (which goes
// through a spreadsheet with a second unit in records.test.mjs).

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';

import { browserAndSite, calculate, putNotebook, control, DESKTOP, openForm, openPhone, PHONES, results, typeFields } from './page.mjs';

const shared = browserAndSite();

async function openNotebook(page) {
  await page.click('#open-notebook');
  await page.waitForFunction(() => !document.getElementById('notebook').hidden && document.querySelector('#notebook-characters').ariaRowCount);
}
const rows = (page) => page.$$eval('[data-character]', (all) => all.map(({ dataset: { name, unit, battles } }) => [name, unit, battles]));
// Each range's text, and whether it is drawn, overlapping no other text of its screen.
const ranges = (page, within) => page.evaluate((within) => {
  const box = (e) => e.getBoundingClientRect();
  const texts = [...document.querySelectorAll(`${within} text, ${within} td, ${within} th, ${within} p, [data-number]`)];
  return [...document.querySelectorAll(`${within} [data-range]`)].map((range) => {
    const own = box(range);
    const overlapping = texts.filter((other) => !other.contains(range) && !range.contains(other) && other.getClientRects().length > 0)
      .filter((other) => {
        const b = box(other);
        return b.width > 0 && b.left < own.right - 1 && own.left < b.right - 1 && b.top < own.bottom - 1 && own.top < b.bottom - 1;
      });
    return { key: range.dataset.range, text: range.textContent, shown: own.width > 0 && own.height > 0,
             overlapping: overlapping.map((other) => other.textContent.slice(0, 30)) };
  });
}, within);
// The ranges as the core gives them for アレス (80 30 26 22), printed by the core.
const coreRanges = (page, checks) => page.evaluate((checks) => {
  const range = core.predictionRange(2, [80, 30, 26, 22], checks.map(([battles, ...stats]) => ({ battles, stats })));
  return Object.fromEntries(['hp', 'attack', 'defence', 'speed', 'sum'].map((key) =>
    [key, { text: `${core.decimalText(range[key].low)}〜${core.decimalText(range[key].high)}`, predicted: core.decimalText(range[key].predicted) }]));
}, checks);

const CHECKS = [['5', '88', '33', '27', '24'], ['12', '104', '36', '29', '26'], ['20', '120', '40', '32', '30']];

test('after three checks of one unit the range shows in the form and its history, on a phone and a desktop, overlapping nothing', async () => {
  for (const [what, open] of [['phone', (b, a) => openPhone(b, a, PHONES[1])], ['desktop', (b, a) => openForm(b, a, DESKTOP)]]) {
    const page = await open(shared.browser, shared.site.address);
    await calculate(page, CHECKS[0]);
    assert.match(await page.textContent('#growth-chart .chart-notes'), /もう一度計算すると.*80%範囲/, `${what}: one check gives none yet`);
    await calculate(page, CHECKS[1]);
    await typeFields(page, CHECKS[2]);
    await page.click(control(5000));
    const linesAt = await page.$eval(control(1005), (line) => line.getBoundingClientRect().top);
    await page.waitForSelector('#growth-chart [data-range="sum"]');
    assert.equal(await page.$eval(control(1005), (line) => line.getBoundingClientRect().top), linesAt, `${what}: the lines stay where they were`);

    const expected = await coreRanges(page, CHECKS.map((typed) => typed.map(Number)));
    const { lines } = await results(page);
    assert.equal(`${expected.hp.predicted}`, lines[4].match(/HP ([\d.]+)/)[1], 'the prediction is the line\'s');
    assert.equal(expected.sum.predicted, lines[6].match(/\+([\d.]+)$/)[1]);
    for (const within of ['#growth-chart', '#notebook-history']) {
      if (within === '#notebook-history') {
        await openNotebook(page);
        await page.click('[data-character] [data-action="history"]');
        await page.waitForSelector('#history-range [data-range="sum"]');
      }
      const shown = await ranges(page, within);
      assert.deepEqual(shown.map(({ key, text }) => [key, text]), Object.entries(expected).map(([key, { text }]) => [key, text]), `${what} ${within}`);
      for (const range of shown) {
        assert.ok(range.shown, `${what} ${within}: ${range.key} is drawn`);
        assert.deepEqual(range.overlapping, [], `${what} ${within}: ${range.key} overlaps`);
      }
    }
    assert.match(await page.textContent('#history-range-meaning'), /10回のうち8回/);
    assert.equal(await page.locator('#history-chart .history-band').count(), 4, 'the band fanning out on each stat\'s line');
    assert.deepEqual(page.errors, []);
    await page.close();
  }
});

test('a check that cannot follow asks, leaving the form working: 入力を直す keeps nothing, 別の個体として記録 makes unit 2', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  await calculate(page, ['10', '100', '36', '29', '26']);
  await typeFields(page, ['14', '106', '35', '30', '27']);  // less attack at more battles
  await page.click(control(5000));
  await page.waitForSelector('#unit-question[open]');
  assert.match(await page.textContent('#unit-question-text'), /戦士 アレス の記録（個体1）と合いません: 戦歴 10 の記録より攻撃が下がっています（記録は 36）/);
  await page.click('#unit-question [data-action="fix"]');
  await page.waitForFunction(() => document.activeElement.dataset.number === '2002');  // the attack field, to correct
  assert.equal(await page.isVisible('#unit-question'), false);
  await openNotebook(page);
  assert.deepEqual(await rows(page), [['アレス', '1', '10']], 'nothing kept');

  await page.click('#close-notebook');
  await page.click(control(5000));
  await page.waitForSelector('#unit-question[open]');
  await page.click('#unit-question [data-action="new-unit"]');
  await page.waitForFunction(() => document.body.dataset.keeps === '4');  // settled when asked, and when kept
  await calculate(page, ['20', '120', '40', '32', '30']);  // follows both: the one last checked, unit 2
  await openNotebook(page);
  assert.deepEqual((await rows(page)).sort(), [['アレス', '1', '10'], ['アレス', '2', '20']]);
  assert.deepEqual(await page.$$eval('[data-character] .name', (all) => all.map((name) => name.textContent).sort()),
                   ['アレス（個体1）', 'アレス（個体2）']);
});

test('a notebook kept by today\'s page opens unchanged, every check in unit 1; one that cannot follow is marked and can move', async () => {
  const kept = JSON.parse(await readFile(new URL('fixtures/notebook-version-2.json', import.meta.url), 'utf8'));
  const page = await openForm(shared.browser, shared.site.address);
  await putNotebook(page, kept);
  await openNotebook(page);
  // Each row the check with the most battles: not アレス' last at 14 battles, nor カイン's at 0.
  assert.deepEqual((await rows(page)).sort(), [['アレス', '1', '20'], ['カイン', '1', '8']]);
  await page.click('[data-character][data-name="アレス"] [data-action="history"]');
  await page.waitForSelector('[data-check]');
  assert.deepEqual(await page.$$eval('[data-check]', (all) => all.map((row) => [row.dataset.battles, row.dataset.flagged || ''])),
                   [['5', ''], ['12', ''], ['14', 'true'], ['20', '']]);
  assert.match(await page.textContent('[data-check][data-flagged] .flag'), /戦歴 12 の記録より攻撃が下がっています/);
  await page.click('#close-history');
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#notebook-export')]);
  const csv = (await readFile(await download.path(), 'utf8')).split('\r\n');
  assert.ok(csv[0].endsWith(',3値合計,個体') && csv.slice(1, -1).every((line) => line.endsWith(',1')), 'the CSV carries unit 1');

  await page.click('[data-character][data-name="アレス"] [data-action="history"]');
  await page.click('[data-check][data-flagged] [data-action="move"]');
  await page.waitForFunction(() => document.querySelectorAll('[data-check]').length === 3);
  assert.match(await page.textContent('#notebook-status'), /14戦の記録を個体2に移しました/);
  await page.click('#close-history');
  await page.waitForSelector('[data-character][data-unit="2"]');
  assert.deepEqual((await rows(page)).sort(), [['アレス', '1', '20'], ['アレス', '2', '14'], ['カイン', '1', '8']]);
});
