#pragma once
// The growth check: validates the five typed numbers against a character and
// turns them into the result lines of the form.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "growth/number_format.h"
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

// The four stats, in this order: HP, attack, defence, speed.
inline constexpr std::size_t kStatCount = 4;

// One stat's growth, in the numbers and texts that the gains line and the
// predicted gains line print, so that a chart shows the lines' own figures.
struct StatGrowth {
  std::int32_t gain = 0;          // the stat less its base
  double percent = 0.0;           // the gain as a percentage of the base
  double predictedGain = 0.0;     // with a prediction: the gain at the battle limit,
  double predictedValue = 0.0;    // the stat it gives,
  double predictedPercent = 0.0;  // and the gain's percentage of the base
  std::string gainText;           // its piece of the gains line: "HP+20(+20.0％)"
  std::string predictedGainText;  // of the predicted gains line: "HP+60.0(+60.0％)"; empty without a prediction
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
  // The figures of the lines, for a chart (set when validation passed).
  std::int64_t progress = 0;        // the progress line's percentage
  double scale = 0.0;               // and its graph scale
  std::array<StatGrowth, kStatCount> stats;
  double threeStatSum = 0.0;  // with a prediction
};

// The first validation message that applies to the inputs, in the order
// battles, HP, attack, defence, speed (CP932); empty when all of them pass.
std::string_view growthCheckError(int rarity, const CharacterRecord& character, const GrowthInputs& inputs);
// Which input that message is about: 0 battles, 1 HP, 2 attack, 3 defence,
// 4 speed; -1 when all of them pass.
int growthCheckFailedInput(int rarity, const CharacterRecord& character, const GrowthInputs& inputs);

// Runs the check for `character` of `rarity` (the rarity list position,
// which picks the battle limit). A rarity without a battle limit admits no
// battle count and fails with the battle-count message. `texts`, where
// given, makes the decimals (a caller running thousands of checks).
GrowthReport runGrowthCheck(int rarity, const CharacterRecord& character, const GrowthInputs& inputs,
                            FixedTexts* texts = nullptr);
