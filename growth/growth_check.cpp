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
constexpr std::string_view kGainsFormat =
    " HP+%d(+%.1f％)  攻+%d(+%.1f％)  防+%d(+%.1f％)  早+%d(+%.1f％)";
constexpr std::string_view kPredictionHeadingFormat = "%d戦予想値";
constexpr std::string_view kPredictedValuesFormat = " HP %.1f  攻 %.1f  防 %.1f  早 %.1f";
constexpr std::string_view kPredictedGainsFormat =
    " HP+%.1f(+%.1f％)  攻+%.1f(+%.1f％)  防+%.1f(+%.1f％)  早+%.1f(+%.1f％)";
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

GrowthReport failure(std::string_view message) {
  GrowthReport report;
  report.progressLine = message;
  report.failed = true;
  return report;
}

// The first validation message that applies, in the order battles, HP,
// attack, defence, speed; empty when every input passes.
std::string_view validationError(std::optional<std::int32_t> limit, const CharacterRecord& base,
                                 const GrowthInputs& in) {
  if (!limit || in.battles < 0 || in.battles > *limit) return kBattlesError;
  if (!statInRange(in.hp, base.hp)) return kHpError;
  if (!statInRange(in.attack, base.attack)) return kAttackError;
  if (!statInRange(in.defence, base.defence)) return kDefenceError;
  if (!statInRange(in.speed, base.speed)) return kSpeedError;
  return {};
}

}  // namespace

std::optional<std::int32_t> battleLimit(int rarity) {
  if (!isRarityCode(rarity)) return std::nullopt;
  return kBattleLimits[static_cast<std::size_t>(rarity)];
}

GrowthReport runGrowthCheck(int rarity, const CharacterRecord& character, const GrowthInputs& inputs) {
  const std::optional<std::int32_t> limit = battleLimit(rarity);
  if (const std::string_view error = validationError(limit, character, inputs); !error.empty()) {
    return failure(error);
  }

  // Validation bounds every gain by its base, so each fits 32 bits; their
  // total may not, and is taken in 64.
  const std::int32_t gainHp = inputs.hp - character.hp;
  const std::int32_t gainAttack = inputs.attack - character.attack;
  const std::int32_t gainDefence = inputs.defence - character.defence;
  const std::int32_t gainSpeed = inputs.speed - character.speed;
  const std::int64_t total = std::int64_t{gainHp} + gainAttack + gainDefence + gainSpeed;
  const std::int64_t progress = std::min<std::int64_t>(total, 100);
  const double scale = static_cast<double>(total) * 0.01;

  GrowthReport report;
  report.progressLine = formatLine(kProgressFormat, {progress, scale});
  report.currentHeading = kCurrentHeading;
  report.gainsLine = formatLine(
      kGainsFormat, {gainHp, percentOfBase(gainHp, character.hp), gainAttack,
                     percentOfBase(gainAttack, character.attack), gainDefence,
                     percentOfBase(gainDefence, character.defence), gainSpeed,
                     percentOfBase(gainSpeed, character.speed)});
  report.logText = report.progressLine;
  report.logText.append(kLogLineEnd).append(report.currentHeading);
  report.logText.append(kLogLineEnd).append(report.gainsLine);
  if (inputs.battles == 0) return report;

  const double predictedHp = predictedGain(gainHp, inputs.battles, *limit, character.hp);
  const double predictedAttack = predictedGain(gainAttack, inputs.battles, *limit, character.attack);
  const double predictedDefence = predictedGain(gainDefence, inputs.battles, *limit, character.defence);
  const double predictedSpeed = predictedGain(gainSpeed, inputs.battles, *limit, character.speed);

  report.predictionHeading = formatLine(kPredictionHeadingFormat, {*limit});
  report.predictedValuesLine = formatLine(
      kPredictedValuesFormat,
      {character.hp + predictedHp, character.attack + predictedAttack,
       character.defence + predictedDefence, character.speed + predictedSpeed});
  report.predictedGainsLine = formatLine(
      kPredictedGainsFormat,
      {predictedHp, percentOfBase(predictedHp, character.hp), predictedAttack,
       percentOfBase(predictedAttack, character.attack), predictedDefence,
       percentOfBase(predictedDefence, character.defence), predictedSpeed,
       percentOfBase(predictedSpeed, character.speed)});
  report.threeStatSumLine =
      formatLine(kThreeStatSumFormat, {(predictedDefence + predictedAttack) + predictedSpeed});

  for (const std::string* line : {&report.predictionHeading, &report.predictedValuesLine,
                                  &report.predictedGainsLine, &report.threeStatSumLine}) {
    report.logText.append(kLogLineEnd).append(*line);
  }
  return report;
}
