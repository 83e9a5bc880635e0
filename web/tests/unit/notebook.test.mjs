// The notebook's pure rules, without a browser: a check's shape and its
// versions, the merge of an import, the CSV written and read back (also as
// spreadsheets save it again), name matching.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';

import { loadScripts } from './scripts.mjs';

const page = loadScripts('shared/name_match.js', 'notebook/checks_csv.js');
const [check, checksCsv, nameMatch] = ['checkRecord', 'checksCsv', 'nameMatch'].map(page);
// Values of the scripts' own realm, as plain values of this one, to compare.
const plain = (value) => JSON.parse(JSON.stringify(value));
const RARITIES = ['兵士', '上兵', '戦士', '将軍', '王者', '皇帝'];

// A check of アレス (戦士, 80 30 26 22) as the page keeps it, its figures
// those of the core for 12 104 36 29 26.
const FIGURES_12 = ['37', '0.37', '24', '30.0', '6', '20.0', '3', '11.5', '4', '18.2', '140.0', '60.0', '75.0', '45.0', '15.0',
                    '50.0', '33.5', '7.5', '28.8', '32.0', '10.0', '45.5', '32.5'];
const FIGURES_0 = ['0', '0.00', '0', '0.0', '0', '0.0', '0', '0.0', '0', '0.0', ...Array(13).fill('')];
const byName = (figures) => Object.fromEntries(check.FIGURES.map(({ name }, i) => [name, figures[i]]));
const made = (name, at, typed, figures, unit = 1) => {
  const fields = { at, roster: 'サンプル', unit, rarity: 2, name, base: [80, 30, 26, 22], typed };
  return { version: check.RECORD_VERSION, character: check.characterKey(fields), ...fields, figures: byName(figures) };
};

test('a record of the first version reads as this version\'s check, figures by name; one of a newer version is refused', () => {
  // As the first version kept a history (taken from its database).
  const history = { character: '2\tアレス\t80\t30\t26\t22', rarity: 2, name: 'アレス', base: [80, 30, 26, 22],
                    checks: [{ at: 1, roster: 'サンプル', typed: [12, 104, 36, 29, 26], figures: FIGURES_12 }] };
  const restored = check.restore(history);
  assert.equal(restored.version, check.RECORD_VERSION);
  assert.equal(restored.checks[0].figures.progress, '37');
  assert.equal(restored.checks[0].figures.hpPredictedPercent, '75.0');
  assert.equal(restored.checks[0].figures.sum, '32.5');
  assert.deepEqual(plain(Object.keys(restored.checks[0].figures)), plain(check.FIGURES.map(({ name }) => name)));
  assert.deepEqual(plain(check.restore(check.stored(restored))), plain(restored), 'kept and read back by this version');
  assert.throws(() => check.restore({ ...history, version: check.RECORD_VERSION + 1 }), /newer/);
});

test('a check is made from a report by name, and a report without one of the figures is refused', () => {
  const report = { figures: byName(FIGURES_12) };
  const fields = { at: 5, roster: 'x', rarity: 2, name: 'アレス', base: [80, 30, 26, 22], typed: [12, 104, 36, 29, 26] };
  const { unit, ...madeNow } = made('アレス', 5, fields.typed, FIGURES_12);  // its unit is the notebook's to give
  assert.deepEqual(plain(check.fromReport(report, fields)), { ...madeNow, roster: 'x' });
  const { sum, ...short } = report.figures;
  assert.throws(() => check.fromReport({ figures: short }, fields), /sum/);
});

test('merging: the same five numbers in the same minute are one check, the one kept first; other stats at its minute and battles correct it', () => {
  const minute = Date.UTC(2026, 11, 9, 8, 59);
  const kept = [{ at: minute + 54123, typed: [12, 1] }, { at: minute + 100, typed: [3, 1] }, { at: minute + 30000, typed: [3, 1] }];
  const { checks, added, corrected } = check.merged(kept, [
    { at: minute, typed: [12, 1] },             // a spreadsheet's copy of the first, its seconds dropped
    { at: minute + 60000, typed: [12, 1] },     // the next minute: another check
    { at: minute + 13000, typed: [12, 2] },     // the first, its HP corrected in the spreadsheet
    { at: minute + 5000, typed: [13, 2] },      // other battles: another check
    { at: minute + 61000, typed: [12, 1] }]);   // the one before it again
  assert.deepEqual([added, corrected], [2, 1]);
  assert.deepEqual(plain(checks.map(({ at, typed }) => [at - minute, ...typed])),
                   [[100, 3, 1], [5000, 13, 2], [13000, 12, 2], [30000, 3, 1], [60000, 12, 1]], 'nothing else lost');
});

test('CSV: names that need quoting or a formula guard, at 0 battles and with a prediction, come back as they were', () => {
  const names = ['a,"b"', '=1+1', '+x', '-1', '@home', "'quoted", 'line\nbreak', 'アレス', '0012', ' 12', '1e3', "'12", 'E3'];
  const checks = names.flatMap((name, i) => [made(name, Date.UTC(2026, 11, 9, 8, i), [0, 80, 30, 26, 22], FIGURES_0),
                                              made(name, Date.UTC(2026, 11, 9, 9, i), [12, 104, 36, 29, 26], FIGURES_12, 1 + i % 3)]);
  const text = checksCsv.write(checks, RARITIES);
  assert.ok(text.startsWith('\uFEFF日時,データ,レアリティ,名前,基本HP,基本攻撃,基本防御,基本素早さ,戦歴,HP,攻撃,防御,素早さ,進捗率,目盛,HP+,HP％,'));
  assert.ok(text.includes(",'=1+1,") && text.includes(",'+x,") && text.includes(",''quoted,") && text.includes(',"a,""b""",'));
  assert.ok(text.includes(",'0012,") && text.includes(",' 12,") && text.includes(",''12,"), 'names a spreadsheet reads as numbers');
  assert.ok(text.includes(',37,0.37,24,30.0,') && text.endsWith(',45.5,32.5,1\r\n'), 'the figures as the lines print them, then the unit');
  const read = checksCsv.read(checksCsv.decode(new TextEncoder().encode(text)), RARITIES);
  assert.deepEqual(plain(read.errors), []);
  assert.deepEqual(plain(read.rows.map(({ line, ...row }) => row)),
                   plain(checks.map(({ at, roster, rarity, name, base, typed, unit }) => ({ at, roster, rarity, name, base, typed, unit }))));
  // A quoted name's line break counts as a line of the file.
  assert.deepEqual(plain(read.rows.map(({ line }) => line).slice(11, 15)), [13, 14, 16, 18]);
});

// An export as a spreadsheet saves it again: rows joined by `separator`, every field quoted or none.
const HEADER = '日時,データ,レアリティ,名前,基本HP,基本攻撃,基本防御,基本素早さ,戦歴,HP,攻撃,防御,素早さ,進捗率,目盛'.split(',');
const resaved = (rows, { separator = ',', quoted = false } = {}) =>
  [HEADER, ...rows].map((row) => row.map((field) => (quoted ? `"${field}"` : field)).join(separator)).join('\n') + '\n';
const cp932 = (text) => new Uint8Array(execFileSync('iconv', ['-f', 'UTF-8', '-t', 'CP932'], { input: text }));
const utf16 = (text) => new Uint8Array(Buffer.from(`\uFEFF${text}`, 'utf16le'));

test('CSV read back from a spreadsheet: UTF-8 with or without a mark, CP932, UTF-16 with tabs; quoted or not', () => {
  const row = ['2026-12-09T08:59:54.123Z', 'サンプル', '戦士', 'アレス', '80', '30', '26', '22', '12', '104', '36', '29', '26', '37', '0.4'];
  const expected = [{ line: 2, at: Date.UTC(2026, 11, 9, 8, 59, 54, 123), roster: 'サンプル', rarity: 2, name: 'アレス',
                      base: [80, 30, 26, 22], typed: [12, 104, 36, 29, 26], unit: 1 }];  // made before units: unit 1
  const utf8 = (text) => new TextEncoder().encode(text);
  for (const [what, bytes] of [['UTF-8', utf8(resaved([row]))], ['UTF-8 with a mark', utf8(`\uFEFF${resaved([row], { quoted: true })}`)],
                               ['CP932', cp932(resaved([row], { quoted: true }))], ['UTF-16, tabs', utf16(resaved([row], { separator: '\t' }))]]) {
    assert.deepEqual(plain(checksCsv.read(checksCsv.decode(bytes), RARITIES)), { rows: expected, errors: [] }, what);
  }
});

test('CSV read back from a spreadsheet: its dates in local time, whole numbers as it writes them; what does not read, by line', () => {
  const local = (...parts) => new Date(...parts).getTime();
  const row = (when, hp = '104') => [when, 'f', '戦士', 'アレス', '80', '30.0', '26', '22', '12', hp, '36', '29', ' 26 '];
  const rows = [row('2026/12/9 17:59'), row('2026/12/09 17:59:54'), row('2026-12-09 17:59:54'), row('2026-12-09T08:59:54Z'),
                row('2026/2/30 10:00'), row('yesterday'), row('2026/12/9 17:59', '1e3'), row('2026/12/9 17:59', '2147483648'),
                ['2026/12/9 17:59', 'f', '英雄', 'x', ...Array(9).fill('1')], ['2026/12/9 17:59', 'f', '戦士']];
  const read = checksCsv.read(resaved(rows), RARITIES);
  assert.deepEqual(plain(read.rows.map((r) => [r.at, r.base[1], r.typed[4]])),
                   [[local(2026, 11, 9, 17, 59), 30, 26], [local(2026, 11, 9, 17, 59, 54), 30, 26], [local(2026, 11, 9, 17, 59, 54), 30, 26],
                    [Date.UTC(2026, 11, 9, 8, 59, 54), 30, 26]]);
  assert.deepEqual(plain(read.errors), [{ line: 6, heading: '日時' }, { line: 7, heading: '日時' }, { line: 8, heading: 'HP' },
                                        { line: 9, heading: 'HP' }, { line: 10, heading: 'レアリティ' }, { line: 11, heading: null }]);
  assert.equal(checksCsv.read('日時,データ\r\n', RARITIES), null, 'no export');
  assert.equal(checksCsv.read('', RARITIES), null);
});

test('names match by any part, hiragana finding katakana, full-width and half-width alike, whatever the case', () => {
  for (const [name, query, matches] of [['アレス', 'あれ', true], ['アレス', 'ｱﾚｽ', true], ['ＡＢＣ', 'bc', true],
                                        ['abc', 'ＡＢ', true], ['カイン', 'かいと', false], ['ガイ', 'かい', false]]) {
    assert.equal(nameMatch.folded(name).includes(nameMatch.folded(query)), matches, `${name} for ${query}`);
  }
});
