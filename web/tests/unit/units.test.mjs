// A character's units (個体) and the rule their checks follow, without a
// browser: which unit a new check goes to, which kept checks cannot follow
// their unit and why, and each unit's row.

import { test } from 'node:test';
import assert from 'node:assert/strict';

import { loadScripts } from './scripts.mjs';

const unitRules = loadScripts('notebook/unit_rules.js')('unitRules');
const plain = (value) => JSON.parse(JSON.stringify(value));
// A check made at minute `at` of `unit`: battles, HP, attack, defence, speed.
const check = (at, unit, ...typed) => ({ at, unit, typed });

test('a check cannot follow one with a stat that is higher at fewer battles, lower at more, or different at the same', () => {
  const at10 = check(1, 1, 10, 120, 30, 22, 21);
  for (const [typed, kind, reason] of [
    [[14, 124, 28, 22, 21], 'lower', '戦歴 10 の記録より攻撃が下がっています（記録は 30）'],
    [[5, 120, 31, 22, 21], 'higher', '戦歴 10 の記録より戦歴が少ないのに、攻撃が上回っています（記録は 30）'],
    [[10, 120, 30, 23, 21], 'same', '同じ戦歴 10 の記録と防御が違います（記録は 22）'],
    [[14, 124, 30, 22, 21], null], [[5, 110, 25, 22, 20], null], [[10, 120, 30, 22, 21], null]]) {
    const found = unitRules.conflict(check(2, 1, ...typed), at10);
    assert.equal(found && found.kind, kind, typed.join(' '));
    if (found) assert.equal(unitRules.reason(found), reason);
  }
});

test('a new check goes to the unit it can follow, of several the one last checked; where none fits, it says why', () => {
  const kept = [check(1, 1, 10, 120, 30, 22, 21), check(2, 2, 10, 110, 26, 22, 21), check(3, 1, 20, 130, 35, 24, 22),
                check(4, 2, 12, 112, 27, 22, 21)];
  assert.deepEqual(plain(unitRules.unitFor([], check(5, 0, 5, 110, 25, 21, 20))), { unit: 1 }, 'the first check');
  assert.deepEqual(plain(unitRules.unitFor(kept, check(5, 0, 25, 140, 36, 25, 23))), { unit: 2 }, 'both fit: the one last checked');
  assert.deepEqual(plain(unitRules.unitFor(kept, check(5, 0, 11, 121, 31, 22, 21))), { unit: 1 }, 'only unit 1 fits');
  const none = unitRules.unitFor(kept, check(5, 0, 30, 100, 20, 20, 20));
  assert.equal(none.unit, 2);
  assert.match(unitRules.reason(none.conflict), /戦歴 12 の記録よりHPが下がっています/);
  assert.equal(unitRules.nextUnit(kept), 3);
});

test('a kept check that cannot follow its unit is marked with its reason and left out of the unit\'s row', () => {
  // Made in this order: 5, 12 and 20 battles; then 14 battles with less attack than at 12; then 0 battles.
  const checks = [check(1, 1, 5, 88, 33, 27, 24), check(2, 1, 12, 104, 36, 29, 26), check(3, 1, 20, 120, 40, 32, 30),
                  check(4, 1, 14, 106, 35, 30, 27), check(5, 1, 0, 80, 30, 26, 22), check(6, 2, 3, 84, 31, 26, 22)];
  const units = unitRules.sorted(checks);
  assert.deepEqual(plain([...units.get(1).followed].map((one) => one.at)), [1, 2, 3, 5]);
  assert.deepEqual(plain(units.get(1).flagged.map(({ check: one, conflict }) => [one.at, unitRules.reason(conflict)])),
                   [[4, '戦歴 12 の記録より攻撃が下がっています（記録は 36）']]);
  assert.deepEqual(plain(unitRules.rows(checks).map(({ at, unit, units: count }) => [at, unit, count])), [[3, 1, 2], [6, 2, 2]],
                   'each unit\'s row: its check with the most battles, not the last made');
});
