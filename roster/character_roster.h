#pragma once
// The roster: 9999 slots per rarity, filled in load order. Slots are made as
// they are first filled, so that an empty roster costs nothing to make, and
// kept when emptied, so that a refill reuses them; a slot never filled reads
// as an empty one.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "roster/rarity.h"

inline constexpr int kSlotsPerRarity = 9999;

struct CharacterRecord {
  std::int32_t index = -1;   // position within its rarity; -1 in an empty slot
  std::int32_t rarity = -1;  // rarity code; -1 in an empty slot
  std::int32_t hp = 0;
  std::int32_t attack = 0;
  std::int32_t defence = 0;
  std::int32_t speed = 0;
  std::string name;  // CP932 bytes
};

// Base stats as read from the data file, in file order.
struct BaseStats {
  std::int32_t hp = 0;
  std::int32_t attack = 0;
  std::int32_t defence = 0;
  std::int32_t speed = 0;
};

class CharacterRoster {
 public:
  CharacterRoster();  // every slot empty, every count 0
  CharacterRoster(const CharacterRoster&) = delete;
  CharacterRoster& operator=(const CharacterRoster&) = delete;

  // Stores a character at the end of its rarity. Returns true on failure
  // (rarity outside 0..5, or that rarity already holds 9999), storing nothing.
  bool add(int rarity, std::string_view name, const BaseStats& stats);

  // Characters held by `rarity`; 0 for a code outside 0..5.
  int count(int rarity) const;
  // Characters held by all six rarities.
  int total() const;

  // The character at `index` of `rarity`, or nullptr unless
  // 0 <= index < count(rarity): an empty or foreign slot is never handed out.
  const CharacterRecord* record(int rarity, int index) const;

  // Empties the slots of `rarity` from `count` on, keeping its first
  // `count` characters (the page takes back characters it added after
  // them). A count outside 0..count(rarity) changes nothing.
  void truncate(int rarity, int count);

  // Empties the filled slots and sets every count to 0, keeping the table.
  // The program fills its roster once; tests, benchmarks and fuzzers reuse one.
  void clear();

  // Any slot, filled or empty, for checks of the table's invariant;
  // nullptr outside the 6 x 9999 table.
  const CharacterRecord* slot(int rarity, int index) const;

 private:
  std::array<std::vector<CharacterRecord>, kRarityCount> made_;  // filled first, then emptied
  std::array<std::int32_t, kRarityCount> counts_{};
};
