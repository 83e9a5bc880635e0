// A unit's 80 % range at the battle limit, computed by the core from the
// checks of the unit that follow its rule (unit_rules.js), as the charts
// and tables show it: each figure printed by the core, `low〜high`.
'use strict';

const unitRange = (() => {
  const { KEYS } = statNames;
  const MEANING = '80%範囲とは: この個体のこれまでの記録の伸び方が続くとして、戦歴限界での値が10回のうち8回はこの範囲に入る、という見込みです。';
  const NONE_YET = '同じ個体をもっと戦歴が進んだときにもう一度計算すると、戦歴限界での予想に80%範囲がつきます。';

  // The unit's checks that follow its rule, as the core takes them.
  const walk = (checks) => {
    const [followed] = [...unitRules.sorted(checks).values()].map((unit) => unit.followed);
    return (followed || []).map(({ typed: [battles, ...stats] }) => ({ battles, stats }));
  };
  const text = ({ low, high }) => `${core.decimalText(low)}〜${core.decimalText(high)}`;
  const percent = (value, base) => (base === 0 ? 0 : (value - base) / base * 100);
  // Each stat's [low %, high %] of its base.
  const percents = (range, base) => KEYS.map((key, stat) => [percent(range[key].low, base[stat]), percent(range[key].high, base[stat])]);

  // The range of a unit of `character` ({ rarity, base }) from its `checks`
  // (all of one unit), at the battle limit or at `battles`; null for none.
  const of = ({ rarity, base }, checks, battles) => core.predictionRange(rarity, base, walk(checks), battles);

  return Object.freeze({
    MEANING,
    of,
    // Each row's `low〜high`: { hp, attack, defence, speed, sum }.
    texts: (range) => Object.fromEntries([...KEYS, 'sum'].map((key) => [key, text(range[key])])),
    // What the growth chart shows of a unit's range after a check of it:
    // its figures and bands, captioned, with what they mean; or, where the
    // unit has no range yet, how to get one. `unit` and `units` (how many
    // the character has) name the unit where there are several.
    forChart(character, checks, { unit, units }) {
      const range = of(character, checks);
      if (!range) return { caption: NONE_YET };
      const named = units > 1 ? `個体${unit}・` : '';
      return {
        caption: `80%範囲（${named}記録 ${walk(checks).length} 回から）`,
        meaning: MEANING,
        texts: unitRange.texts(range),
        bands: Object.fromEntries(percents(range, character.base).map((band, stat) => [KEYS[stat], band])),
      };
    },
    // The range fanning out from the unit's furthest check to the battle
    // limit, battle by battle: [{ battles, percents: [[low %, high %] × 4] }],
    // or none.
    band({ rarity, base }, checks, limit) {
      const walked = walk(checks);
      if (!core.predictionRange(rarity, base, walked)) return [];
      const band = [];
      for (let battles = Math.max(...walked.map((check) => check.battles)); battles <= limit; ++battles) {
        band.push({ battles, percents: percents(core.predictionRange(rarity, base, walked, battles), base) });
      }
      return band;
    },
  });
})();
