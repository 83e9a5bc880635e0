// The characters the player added to the roster in use (キャラクターを追加):
// each read into it by the core from its line of chardata.txt, after the
// file's own characters of its rarity, as appended lines would be, and
// kept with that roster (the kept file's record, or the sample's), so that
// they are read in again after it at the next visit.
'use strict';

const addedCharacters = (() => {
  let added = [];            // [{ rarity, name, base }], in the order added
  let keep = async () => {};  // keeps `added` with the roster in use

  // The added characters of a rarity, in the roster's order.
  const ofRarity = (rarity) => added.filter((character) => character.rarity === rarity);

  return Object.freeze({
    // Reads `kept` into the roster in use, just read from its file or the
    // sample; `keeper(list)` keeps them with it from now on.
    restore(kept, keeper) {
      added = kept.filter((character) => core.addCharacter(character.rarity, character.name, character.base).problem === 0);
      keep = keeper;
    },
    // Adds a character: { rarity, name, base }. Resolves to the core's
    // outcome ({ problem, at, index, duplicate }, problem named as
    // coreFacts.addingProblems names it) and whether the browser kept it.
    async add(character) {
      const outcome = core.addCharacter(character.rarity, character.name, character.base);
      const problem = coreFacts.addingProblems[outcome.problem];
      if (problem !== 'none') return { ...outcome, problem };
      added = [...added, { rarity: character.rarity, name: character.name, base: [...character.base] }];
      const kept = await keep(added).then(() => true, () => false);
      return { ...outcome, problem, kept };
    },
    // Whether the character at `index` of `rarity` was added.
    isAdded: (rarity, index) => index >= core.fileCount(rarity) && index < core.fileCount(rarity) + ofRarity(rarity).length,
    // Takes back the added character at `index` of `rarity`.
    async remove(rarity, index) {
      const gone = ofRarity(rarity)[index - core.fileCount(rarity)];
      if (!gone) return;
      core.removeCharacter(rarity, index);
      added = added.filter((character) => character !== gone);
      await keep(added).catch(() => {});
    },
    // The added characters, in the order added.
    list: () => added,
  });
})();
