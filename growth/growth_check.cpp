#include "growth/growth_check.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "growth/number_format.h"

namespace {

constexpr std::array<std::int32_t, kRarityCount> kBattleLimits = {20, 25, 30, 30, 35, 40};

constexpr std::string_view kBattlesError = "エラー: 戦歴数が0未満か限界以上です";
constexpr std::string_view kHpError = "エラー: HPが初期値未満か限界以上です";
constexpr std::string_view kAttackError = "エラー: 攻撃が初期値未満か限界以上です";
constexpr std::string_view kDefenceError = "エラー: 防御が初期値未満か限界以上です";
constexpr std::string_view kSpeedError = "エラー: 素早さが初期値未満か限界以上です";

constexpr std::string_view kProgressFormat = "壁進捗率: %d ％, グラフ %.2f 目盛";
constexpr std::string_view kCurrentHeading = "現在値";
constexpr std::string_view kPredictionHeadingFormat = "%d戦予想値";
constexpr std::string_view kPredictedValuesFormat = " HP %.1f  攻 %.1f  防 %.1f  早 %.1f";

// The gains line, " HP+%d(+%.1f％)  攻+%d(+%.1f％)  防+%d(+%.1f％)  早+%d(+%.1f％)",
// and the predicted gains line, " HP+%.1f(+%.1f％)  攻+%.1f(+%.1f％)  防+%.1f(+%.1f％)  早+%.1f(+%.1f％)",
// are put together from one piece per stat, which a chart shows too.
struct StatPieceFormats {
  std::string_view gain;
  std::string_view predictedGain;
};
constexpr std::array<StatPieceFormats, kStatCount> kStatPieceFormats = {{
    {"HP+%d(+%.1f％)", "HP+%.1f(+%.1f％)"},
    {"攻+%d(+%.1f％)", "攻+%.1f(+%.1f％)"},
    {"防+%d(+%.1f％)", "防+%.1f(+%.1f％)"},
    {"早+%d(+%.1f％)", "早+%.1f(+%.1f％)"},
}};
constexpr std::string_view kStatPiecesStart = " ";
constexpr std::string_view kStatPiecesBetween = "  ";
constexpr std::string_view kThreeStatSumFormat = " 3値合計+%.1f";
constexpr std::string_view kLogLineEnd = "\r\n";

// A stat passes when base <= current <= 2 x base; twice the base is taken
// in 64 bits so that any 32-bit base compares truly.
bool statInRange(std::int32_t current, std::int32_t base) {
  return current >= base && std::int64_t{current} <= 2 * std::int64_t{base};
}

// A gain as a percentage of its base. A base of 0 admits only a gain of 0,
// which is no growth at all, so it reads 0 rather than 0 / 0.
double percentOfBase(double gain, std::int32_t base) {
  return base == 0 ? 0.0 : gain / static_cast<double>(base) * 100.0;
}

// The gain a stat reaches at the battle limit at its present rate, never
// more than its base (+100 %).
double predictedGain(std::int32_t gain, std::int32_t battles, std::int32_t limit, std::int32_t base) {
  const double predicted =
      static_cast<double>(gain) / static_cast<double>(battles) * static_cast<double>(limit);
  return std::min(predicted, static_cast<double>(base));
}

// " " and the four stats' pieces, two spaces apart.
std::string joinedPieces(const std::array<StatGrowth, kStatCount>& stats, std::string StatGrowth::*piece) {
  std::string line(kStatPiecesStart);
  for (std::size_t stat = 0; stat < stats.size(); ++stat) {
    if (stat > 0) line.append(kStatPiecesBetween);
    line.append(stats[stat].*piece);
  }
  return line;
}

GrowthReport failure(std::string_view message) {
  GrowthReport report;
  report.progressLine = message;
  report.failed = true;
  return report;
}

// The first validation message that applies, in the order battles, HP,
// attack, defence, speed; empty when every input passes.
// The input it is about: 0 battles, 1 HP, 2 attack, 3 defence, 4 speed.
struct ValidationError {
  std::string_view message;
  int input = -1;
};
ValidationError validationError(std::optional<std::int32_t> limit, const CharacterRecord& base, const GrowthInputs& in) {
  if (!limit || in.battles < 0 || in.battles > *limit) return {kBattlesError, 0};
  if (!statInRange(in.hp, base.hp)) return {kHpError, 1};
  if (!statInRange(in.attack, base.attack)) return {kAttackError, 2};
  if (!statInRange(in.defence, base.defence)) return {kDefenceError, 3};
  if (!statInRange(in.speed, base.speed)) return {kSpeedError, 4};
  return {};
}

}  // namespace

std::optional<std::int32_t> battleLimit(int rarity) {
  if (!isRarityCode(rarity)) return std::nullopt;
  return kBattleLimits[static_cast<std::size_t>(rarity)];
}

std::string_view growthCheckError(int rarity, const CharacterRecord& character, const GrowthInputs& inputs) {
  return validationError(battleLimit(rarity), character, inputs).message;
}

int growthCheckFailedInput(int rarity, const CharacterRecord& character, const GrowthInputs& inputs) {
  return validationError(battleLimit(rarity), character, inputs).input;
}

GrowthReport runGrowthCheck(int rarity, const CharacterRecord& character, const GrowthInputs& inputs,
                            FixedTexts* texts) {
  const std::optional<std::int32_t> limit = battleLimit(rarity);
  if (const ValidationError error = validationError(limit, character, inputs); error.input >= 0) {
    return failure(error.message);
  }

  // Validation bounds every gain by its base, so each fits 32 bits; their
  // total may not, and is taken in 64.
  const std::array<std::int32_t, kStatCount> bases = {character.hp, character.attack, character.defence, character.speed};
  const std::array<std::int32_t, kStatCount> currents = {inputs.hp, inputs.attack, inputs.defence, inputs.speed};
  std::array<std::int32_t, kStatCount> gains{};
  std::int64_t total = 0;
  for (std::size_t stat = 0; stat < kStatCount; ++stat) {
    gains[stat] = currents[stat] - bases[stat];
    total += gains[stat];
  }

  GrowthReport report;
  report.progress = std::min<std::int64_t>(total, 100);
  report.scale = static_cast<double>(total) * 0.01;
  report.progressLine = formatLine(kProgressFormat, {report.progress, report.scale}, texts);
  report.currentHeading = kCurrentHeading;
  for (std::size_t stat = 0; stat < kStatCount; ++stat) {
    StatGrowth& growth = report.stats[stat];
    growth.gain = gains[stat];
    growth.percent = percentOfBase(gains[stat], bases[stat]);
    growth.gainText = formatLine(kStatPieceFormats[stat].gain, {gains[stat], growth.percent}, texts);
  }
  report.gainsLine = joinedPieces(report.stats, &StatGrowth::gainText);
  report.logText = report.progressLine;
  report.logText.append(kLogLineEnd).append(report.currentHeading);
  report.logText.append(kLogLineEnd).append(report.gainsLine);
  if (inputs.battles == 0) return report;

  for (std::size_t stat = 0; stat < kStatCount; ++stat) {
    StatGrowth& growth = report.stats[stat];
    growth.predictedGain = predictedGain(gains[stat], inputs.battles, *limit, bases[stat]);
    growth.predictedValue = bases[stat] + growth.predictedGain;
    growth.predictedPercent = percentOfBase(growth.predictedGain, bases[stat]);
    growth.predictedGainText =
        formatLine(kStatPieceFormats[stat].predictedGain, {growth.predictedGain, growth.predictedPercent}, texts);
  }
  const auto& [hp, attack, defence, speed] = report.stats;
  report.threeStatSum = (defence.predictedGain + attack.predictedGain) + speed.predictedGain;

  report.predictionHeading = formatLine(kPredictionHeadingFormat, {*limit}, texts);
  report.predictedValuesLine = formatLine(
      kPredictedValuesFormat, {hp.predictedValue, attack.predictedValue, defence.predictedValue, speed.predictedValue}, texts);
  report.predictedGainsLine = joinedPieces(report.stats, &StatGrowth::predictedGainText);
  report.threeStatSumLine = formatLine(kThreeStatSumFormat, {report.threeStatSum}, texts);

  for (const std::string* line : {&report.predictionHeading, &report.predictedValuesLine,
                                  &report.predictedGainsLine, &report.threeStatSumLine}) {
    report.logText.append(kLogLineEnd).append(*line);
  }
  return report;
}
