// Runs the growth check on arbitrary records and inputs (under ASan and
// UBSan in the fuzz build). A failed validation sets only the progress line,
// and that line is one of the five messages; a success joins exactly its
// lines with CR LF in the log, and no line holds "nan" or "inf". The bytes
// left over make a unit's checks: its 80 % range, where it has one, is
// finite and holds its point.

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "growth/growth_check.h"
#include "growth/prediction_range.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

constexpr std::string_view kMessages[] = {
    "エラー: 戦歴数が0未満か限界以上です", "エラー: HPが初期値未満か限界以上です",
    "エラー: 攻撃が初期値未満か限界以上です", "エラー: 防御が初期値未満か限界以上です",
    "エラー: 素早さが初期値未満か限界以上です",
};

bool isMessage(std::string_view line) {
  for (const std::string_view message : kMessages) {
    if (line == message) return true;
  }
  return false;
}

bool isFinite(const std::string& line) {
  return line.find("nan") == std::string::npos && line.find("inf") == std::string::npos;
}

// Small numbers more often than not, so that validation passes often.
std::int32_t number(const std::uint8_t*& at) {
  std::int32_t value;
  std::memcpy(&value, at, sizeof value);
  at += sizeof value;
  switch (static_cast<std::uint32_t>(value) >> 30) {
    case 0: return value & 0xFF;
    case 1: return value & 0xFFFF;
    default: return value;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 + 9 * 4) return 0;
  const int rarity = static_cast<int>(data[0] % 8) - 1;  // -1 to 6: two codes without a limit
  const std::uint8_t* at = data + 1;
  CharacterRecord character;
  character.rarity = rarity;
  character.hp = number(at);
  character.attack = number(at);
  character.defence = number(at);
  character.speed = number(at);
  // Current stats from a base and an offset, most often between the base and
  // twice it, so that every check and every line is reached.
  const auto near = [&](std::int32_t base) {
    const std::int64_t offset = number(at);
    const std::int64_t current = std::int64_t{base} + (data[0] & 0x80 && base > 0 ? offset % (std::int64_t{base} + 1) : offset);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(current, INT32_MIN, INT32_MAX));
  };
  GrowthInputs inputs;
  inputs.battles = number(at) % 64 - (data[0] & 0x40 ? 1 : 0);
  inputs.hp = near(character.hp);
  inputs.attack = near(character.attack);
  inputs.defence = near(character.defence);
  inputs.speed = near(character.speed);

  std::vector<UnitCheck> checks;
  while (at + 5 * sizeof(std::int32_t) <= data + size) {
    UnitCheck check;
    check.battles = number(at) % 64;
    for (std::size_t stat = 0; stat < kStatCount; ++stat) {
      check.stats[stat] = near(std::array{character.hp, character.attack, character.defence, character.speed}[stat]);
    }
    checks.push_back(check);
  }
  if (const auto range = predictionRange(rarity, character, checks)) {
    for (const StatRange* row : {&range->stats[0], &range->stats[1], &range->stats[2], &range->stats[3], &range->sum}) {
      require(std::isfinite(row->low) && std::isfinite(row->high) && std::isfinite(row->predicted));
      require(row->low <= row->predicted && row->predicted <= row->high);
    }
  }

  const GrowthReport report = runGrowthCheck(rarity, character, inputs);
  if (report.failed) {
    require(isMessage(report.progressLine));
    require(report.currentHeading.empty() && report.gainsLine.empty() && report.predictionHeading.empty() &&
            report.predictedValuesLine.empty() && report.predictedGainsLine.empty() &&
            report.threeStatSumLine.empty() && report.logText.empty());
    return 0;
  }
  std::string log = report.progressLine + "\r\n" + report.currentHeading + "\r\n" + report.gainsLine;
  const std::string* prediction[] = {&report.predictionHeading, &report.predictedValuesLine,
                                     &report.predictedGainsLine, &report.threeStatSumLine};
  for (const std::string* line : prediction) {
    require(line->empty() == (inputs.battles == 0));
    if (inputs.battles > 0) log += "\r\n" + *line;
  }
  require(report.logText == log);
  for (const std::string* line : {&report.progressLine, &report.gainsLine, prediction[0], prediction[1],
                                  prediction[2], prediction[3]}) {
    require(isFinite(*line));
  }
  return 0;
}
