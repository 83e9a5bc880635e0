// The growth chart beside the form: the lines' own figures, drawn.

import { test } from 'node:test';
import assert from 'node:assert/strict';

import { browserAndSite, choose, control, EXAMPLES, openData, openForm, typeFields, WORKED } from './page.mjs';

const shared = browserAndSite();

// What the chart shows: the gauge's and each row's data, and each bar's length as a percentage of its track.
const chart = (page) => page.evaluate(() => {
  const svg = document.getElementById('growth-chart');
  const lengths = (group) => {
    const track = group.querySelector('.chart-track').getBoundingClientRect().width;
    return [...group.querySelectorAll('.chart-bar')].map((bar) => bar.getBoundingClientRect().width / track * 100);
  };
  const gauge = svg.querySelector('.chart-gauge');
  return {
    name: svg.getAttribute('aria-label'),
    gauge: { ...gauge.dataset, bars: lengths(gauge) },
    rows: [...svg.querySelectorAll('[data-stat]')].map((row) => ({ ...row.dataset, bars: lengths(row) })),
    trackPixels: svg.querySelector('.chart-track').getBoundingClientRect().width,
  };
});

async function calculate(page, typed) {
  await typeFields(page, typed);
  await page.click(control(5000));
}

// Within one pixel of the track's length.
function assertBars(actual, percents, trackPixels, what) {
  assert.equal(actual.length, percents.length, what);
  actual.forEach((length, i) => assert.ok(Math.abs(length - percents[i]) * trackPixels / 100 <= 1, `${what}: ${length} for ${percents[i]}`));
}

test('the worked examples: each row holds its lines\' percentages, the gauge the first line\'s figures, bars to scale', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  const empty = await chart(page);
  assert.deepEqual(empty.rows.map((row) => [row.stat, row.now, row.bars.length]),
                   [['hp', undefined, 0], ['attack', undefined, 0], ['defence', undefined, 0], ['speed', undefined, 0]]);
  await openData(page, WORKED);
  for (const example of EXAMPLES) {
    await choose(page, example.rarity, example.name);
    await calculate(page, example.typed);
    const percents = (line) => [...line.matchAll(/\(\+([\d.]+)％\)/g)].map((match) => match[1]);
    const [now, predicted] = [percents(example.lines[2]), percents(example.lines[5])];
    const shown = await chart(page);
    assert.deepEqual(shown.rows.map((row) => [row.now, row.predicted]), now.map((text, i) => [text, predicted[i]]), example.name);
    const [, progress, scale] = example.lines[0].match(/: (\d+) ％, グラフ ([\d.]+) /);
    assert.deepEqual([shown.gauge.progress, shown.gauge.scale], [progress, scale], example.name);
    assertBars(shown.gauge.bars, [Number(progress)], shown.trackPixels, `${example.name} gauge`);
    // The predicted bar first, lighter, with the gain so far over it.
    shown.rows.forEach((row, i) => assertBars(row.bars, [Number(predicted[i]), Number(now[i])], shown.trackPixels, `${example.name} ${row.stat}`));
    for (const piece of example.lines[2].trim().split('  ')) assert.ok(shown.name.includes(piece), `the name reads ${piece}`);
  }
  assert.deepEqual(page.errors, []);
});

test('0 battles shows no prediction; the cap fills the track; a failed check and another roster leave the chart', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  await openData(page, WORKED);
  await choose(page, EXAMPLES[0].rarity, EXAMPLES[0].name);
  await calculate(page, ['0', '120', '25', '22', '21']);
  let shown = await chart(page);
  assert.deepEqual(shown.rows.map((row) => [row.now, row.predicted, row.bars.length]),
                   [['20.0', undefined, 1], ['25.0', undefined, 1], ['10.0', undefined, 1], ['5.0', undefined, 1]]);

  await calculate(page, ['5', '100', '30', '20', '20']);  // attack +50 % in 5 of 30 battles: the prediction is cut to +100 %
  shown = await chart(page);
  assert.equal(shown.rows[1].predicted, '100.0');
  assertBars(shown.rows[1].bars, [100, 50], shown.trackPixels, 'the cap');

  const drawn = await page.$eval('#growth-chart', (svg) => svg.outerHTML);
  await calculate(page, ['31', '100', '30', '20', '20']);
  assert.equal(await page.textContent(control(1005)), 'エラー: 戦歴数が0未満か限界以上です');
  assert.equal(await page.$eval('#growth-chart', (svg) => svg.outerHTML), drawn, 'after a failed check');
  await openData(page, Buffer.from('戦士 other 10 10 10 10\n'));
  assert.equal(await page.$eval('#growth-chart', (svg) => svg.outerHTML), drawn, 'after another roster');
});
