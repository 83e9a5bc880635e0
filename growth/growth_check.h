#pragma once
// The growth check: validates the five typed numbers against a character and
// turns them into the result lines of the form.

#include <cstdint>
#include <optional>
#include <string>

#include "roster/character_roster.h"

// Battle limit of a rarity (0..5); empty for any other code.
std::optional<std::int32_t> battleLimit(int rarity);

// The five numbers typed into the form.
struct GrowthInputs {
  std::int32_t battles = 0;
  std::int32_t hp = 0;
  std::int32_t attack = 0;
  std::int32_t defence = 0;
  std::int32_t speed = 0;
};

// One run's result, all CP932. After a failed validation only progressLine
// (the error message) and failed are set. With 0 battles the four
// prediction lines are empty.
struct GrowthReport {
  std::string progressLine;
  std::string currentHeading;
  std::string gainsLine;
  std::string predictionHeading;
  std::string predictedValuesLine;
  std::string predictedGainsLine;
  std::string threeStatSumLine;
  std::string logText;  // the lines joined with CR LF for the result box
  bool failed = false;
};

// Runs the check for `character` of `rarity` (the rarity list position,
// which picks the battle limit). A rarity without a battle limit admits no
// battle count and fails with the battle-count message.
GrowthReport runGrowthCheck(int rarity, const CharacterRecord& character, const GrowthInputs& inputs);
