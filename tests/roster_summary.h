#pragma once
// A roster as text, for comparing what files load.

#include <memory>
#include <string>
#include <string_view>

#include "roster/chardata_loader.h"

// Every record as "rarity [name] hp attack defence speed" lines, in roster order.
inline std::string summary(const CharacterRoster& roster) {
  std::string out;
  for (int r = 0; r < kRarityCount; ++r) {
    for (int i = 0; i < roster.count(r); ++i) {
      const CharacterRecord& c = *roster.record(r, i);
      out += std::to_string(r) + " [" + c.name + "] " + std::to_string(c.hp) + " " + std::to_string(c.attack) +
             " " + std::to_string(c.defence) + " " + std::to_string(c.speed) + "\n";
    }
  }
  return out;
}

// What a data file's contents load, read whole.
inline std::string summaryOf(std::string_view contents) {
  const auto roster = std::make_unique<CharacterRoster>();
  readCharacterData(*roster, contents);
  return summary(*roster);
}
