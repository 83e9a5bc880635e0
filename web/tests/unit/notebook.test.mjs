// The notebook's pure rules, without a browser: a check's shape and its
// versions, the merge of an import, the CSV written and read, name matching.

import { test } from 'node:test';
import assert from 'node:assert/strict';

import { loadScripts } from './scripts.mjs';

const page = loadScripts('shared/stats.js', 'shared/name_match.js', 'notebook/check.js', 'notebook/checks_csv.js');
const [check, checksCsv, nameMatch] = ['check', 'checksCsv', 'nameMatch'].map(page);
// Values of the scripts' own realm, as plain values of this one, to compare.
const plain = (value) => JSON.parse(JSON.stringify(value));
const RARITIES = ['兵士', '上兵', '戦士', '将軍', '王者', '皇帝'];

// A check of アレス (戦士, 80 30 26 22) as the page keeps it, its figures
// those of the core for 12 104 36 29 26.
const FIGURES_12 = ['37', '0.37', '24', '30.0', '6', '20.0', '3', '11.5', '4', '18.2', '140.0', '60.0', '75.0', '45.0', '15.0',
                    '50.0', '33.5', '7.5', '28.8', '32.0', '10.0', '45.5', '32.5'];
const FIGURES_0 = ['0', '0.00', '0', '0.0', '0', '0.0', '0', '0.0', '0', '0.0', ...Array(13).fill('')];
const byName = (figures) => Object.fromEntries(check.FIGURES.map(({ name }, i) => [name, figures[i]]));
const made = (name, at, typed, figures) => {
  const fields = { at, roster: 'サンプル', rarity: 2, name, base: [80, 30, 26, 22], typed };
  return { version: check.VERSION, character: check.characterKey(fields), ...fields, figures: byName(figures) };
};

test('a record of the first version reads as this version\'s check, figures by name; one of a newer version is refused', () => {
  // As the first version kept a history (taken from its database).
  const history = { character: '2\tアレス\t80\t30\t26\t22', rarity: 2, name: 'アレス', base: [80, 30, 26, 22],
                    checks: [{ at: 1, roster: 'サンプル', typed: [12, 104, 36, 29, 26], figures: FIGURES_12 }] };
  const restored = check.restore(history);
  assert.equal(restored.version, check.VERSION);
  assert.equal(restored.checks[0].figures.progress, '37');
  assert.equal(restored.checks[0].figures.hpPredictedPercent, '75.0');
  assert.equal(restored.checks[0].figures.sum, '32.5');
  assert.deepEqual(plain(Object.keys(restored.checks[0].figures)), plain(check.FIGURES.map(({ name }) => name)));
  assert.deepEqual(plain(check.restore(check.stored(restored))), plain(restored), 'kept and read back by this version');
  assert.throws(() => check.restore({ ...history, version: check.VERSION + 1 }), /newer/);
});

test('a check is made from a report by name, and a report without one of the figures is refused', () => {
  const report = { figures: byName(FIGURES_12) };
  const fields = { at: 5, roster: 'x', rarity: 2, name: 'アレス', base: [80, 30, 26, 22], typed: [12, 104, 36, 29, 26] };
  assert.deepEqual(plain(check.fromReport(report, fields)), { ...made('アレス', 5, fields.typed, FIGURES_12), roster: 'x' });
  const { sum, ...short } = report.figures;
  assert.throws(() => check.fromReport({ figures: short }, fields), /sum/);
});

test('merging: a check at a time already kept is kept once, the rest in order of time', () => {
  const kept = [{ at: 10, typed: [1] }, { at: 30, typed: [3] }];
  const merged = check.merged(kept, [{ at: 20, typed: [2] }, { at: 30, typed: [3] }, { at: 5, typed: [0] }]);
  assert.deepEqual(plain(merged.map((c) => c.at)), [5, 10, 20, 30]);
});

test('CSV: names that need quoting or a formula guard, at 0 battles and with a prediction, come back as they were', () => {
  const names = ['a,"b"', '=1+1', '+x', '-1', '@home', "'quoted", 'line\nbreak', 'アレス'];
  const checks = names.flatMap((name, i) => [made(name, Date.UTC(2026, 11, 9, 8, i), [0, 80, 30, 26, 22], FIGURES_0),
                                              made(name, Date.UTC(2026, 11, 9, 9, i), [12, 104, 36, 29, 26], FIGURES_12)]);
  const text = checksCsv.write(checks, RARITIES);
  assert.ok(text.startsWith('\uFEFF日時,データ,レアリティ,名前,基本HP,基本攻撃,基本防御,基本素早さ,戦歴,HP,攻撃,防御,素早さ,進捗率,目盛,HP+,HP％,'));
  assert.ok(text.includes(",'=1+1,") && text.includes(",'+x,") && text.includes(",''quoted,") && text.includes(',"a,""b""",'));
  const read = checksCsv.read(text, RARITIES);
  assert.deepEqual(plain(read.errors), []);
  assert.deepEqual(plain(read.checks), plain(checks));
});

test('CSV: a row that does not read is reported by the line it starts on; a file that is no export gives nothing', () => {
  const good = made('line\nbreak', 1, [12, 104, 36, 29, 26], FIGURES_12);
  const [header, row] = checksCsv.write([good], RARITIES).split('\r\n');
  const field = (i, value) => row.split(',').map((f, j) => (j === i ? value : f)).join(',');
  const rows = [row, field(2, '英雄'), field(9, '1e3'), field(9, '4294967296'), field(13, '37.0'), field(23, ''), 'x,y', '', field(0, 'someday')];
  const read = checksCsv.read([header, ...rows].join('\r\n'), RARITIES);
  // The quoted name holds a line break, so each row takes two lines; the blank line holds none.
  assert.deepEqual(plain(read.errors.map(({ line, heading }) => [line, heading])),
                   [[4, 'レアリティ'], [6, 'HP'], [8, 'HP'], [10, '進捗率'], [12, '予想HP'], [14, null], [16, '日時']]);
  assert.equal(read.checks.length, 1);
  assert.equal(checksCsv.read('日時,データ\r\n', RARITIES), null);
  assert.equal(checksCsv.read('', RARITIES), null);
});

test('names match by any part, hiragana finding katakana, full-width and half-width alike, whatever the case', () => {
  for (const [name, query, matches] of [['アレス', 'あれ', true], ['アレス', 'ｱﾚｽ', true], ['ＡＢＣ', 'bc', true],
                                        ['abc', 'ＡＢ', true], ['カイン', 'かいと', false], ['ガイ', 'かい', false]]) {
    assert.equal(nameMatch.folded(name).includes(nameMatch.folded(query)), matches, `${name} for ${query}`);
  }
});
