// A character's units (個体) and the rule their checks follow: a unit's
// stats never go down as its battles go up. A check cannot follow another
// of its unit when a stat is lower than at fewer battles, higher than at
// more battles, or different at the same battles. Checks are
// { at, unit, typed: [battles, hp, attack, defence, speed], ... }.
'use strict';

const unitRules = (() => {
  const { NAMES } = statNames;

  // Why `check` cannot follow `other`: { with: other, stat, kind: 'lower' |
  // 'higher' | 'same' }, or null where it can.
  function conflict(check, other) {
    const [battles, ...stats] = check.typed;
    const [otherBattles, ...otherStats] = other.typed;
    const breaks = battles === otherBattles ? (stat, i) => stat !== otherStats[i]
      : battles > otherBattles ? (stat, i) => stat < otherStats[i] : (stat, i) => stat > otherStats[i];
    const stat = stats.findIndex(breaks);
    if (stat < 0) return null;
    return { with: other, stat, kind: battles === otherBattles ? 'same' : battles > otherBattles ? 'lower' : 'higher' };
  }

  // The conflict of `check` with the last made of `checks` it cannot follow.
  function firstConflict(checks, check) {
    for (let i = checks.length - 1; i >= 0; --i) {
      const found = conflict(check, checks[i]);
      if (found) return found;
    }
    return null;
  }

  const byTime = (checks) => [...checks].sort((a, b) => a.at - b.at);
  const unitsOf = (checks) => [...new Set(checks.map((check) => check.unit))].sort((a, b) => a - b);

  // Each unit's checks split by the rule, in the order they were made:
  // those that follow, and those that cannot follow an earlier one, each
  // with its conflict. Map unit => { followed: [], flagged: [{ check, conflict }] }.
  function sorted(checks) {
    const units = new Map(unitsOf(checks).map((unit) => [unit, { followed: [], flagged: [] }]));
    for (const check of byTime(checks)) {
      const unit = units.get(check.unit);
      const found = firstConflict(unit.followed, check);
      if (found) unit.flagged.push({ check, conflict: found });
      else unit.followed.push(check);
    }
    return units;
  }

  // The check with the most battles, the last made of those.
  const furthest = (checks) => checks.reduce((best, check) =>
    (!best || check.typed[0] > best.typed[0] || (check.typed[0] === best.typed[0] && check.at >= best.at) ? check : best), null);

  return Object.freeze({
    conflict,
    // What the player reads of a conflict.
    reason({ with: other, stat, kind }) {
      const name = NAMES[stat];
      const [otherBattles] = other.typed;
      const was = other.typed[stat + 1];
      if (kind === 'same') return `同じ戦歴 ${otherBattles} の記録と${name}が違います（記録は ${was}）`;
      if (kind === 'lower') return `戦歴 ${otherBattles} の記録より${name}が下がっています（記録は ${was}）`;
      return `戦歴 ${otherBattles} の記録より戦歴が少ないのに、${name}が上回っています（記録は ${was}）`;
    },

    // The unit a new check of a character goes to, among its `checks`:
    // { unit }, the one it can follow (of several, the one last checked),
    // or unit 1 for the first; or { conflict } with the unit last checked
    // where it can follow none.
    unitFor(checks, check) {
      const units = sorted(checks);
      let chosen = null;
      let lastChecked = null;
      for (const [unit, { followed, flagged }] of units) {
        const last = Math.max(...followed.map((kept) => kept.at), ...flagged.map(({ check: kept }) => kept.at));
        if (!lastChecked || last > lastChecked.last) lastChecked = { unit, last, followed };
        if (!firstConflict(followed, check) && (!chosen || last > chosen.last)) chosen = { unit, last };
      }
      if (chosen) return { unit: chosen.unit };
      if (!lastChecked) return { unit: 1 };
      return { conflict: firstConflict(lastChecked.followed, check), unit: lastChecked.unit };
    },
    // The number a new unit of a character takes.
    nextUnit: (checks) => Math.max(0, ...checks.map((check) => check.unit)) + 1,

    sorted,
    // One row per unit: its check with the most battles among those that
    // follow, with { unit, units (how many the character has) }.
    rows(checks) {
      const units = sorted(checks);
      return [...units].map(([unit, { followed }]) => ({ ...furthest(followed), unit, units: units.size }));
    },
  });
})();
