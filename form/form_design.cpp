#include "form/form_design.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int kHpStep = 2;

using Kind = ControlKind;
constexpr FontRole kSystem = FontRole::systemFont;
constexpr FontRole kNone = FontRole::none;

constexpr ControlDesign kControls[] = {
    {Kind::frame, "キャラクター選択", control::kCharacterFrame, 5, 5, 650, 95, 0, false, kSystem},
    {Kind::label, "レアリティ 　名前", control::kNameHeading, 20, 30, 200, 20, 0, false, kSystem},
    {Kind::list, "", control::kRarityList, 20, 60, 80, 150, 0, false, FontRole::rarityList},
    {Kind::label, "HP　攻　防　早", control::kBaseStatsHeading, 300, 30, 200, 20, 0, false, kSystem},
    {Kind::label, "", control::kBaseStatsLabel, 300, 60, 200, 20, 0, false, kSystem},
    {Kind::list, "", control::kNameList, 120, 60, 160, 400, 0, false, kSystem},
    {Kind::frame, "現ステータス入力", control::kStatusFrame, 5, 105, 650, 95, 0, false, kSystem},
    {Kind::label, "戦歴  　HP　      攻撃  　防御　  素早", control::kFieldHeading, 20, 130, 350, 20, 0, false, kSystem},
    {Kind::field, "0", control::kBattleField, 20, 160, 35, 24, 0, true, kSystem},
    {Kind::arrows, "", control::kBattleArrows, 55, 160, 20, 24, 40, false, kNone},
    {Kind::field, "0", control::kHpField, 80, 160, 45, 24, 0, false, kSystem},
    {Kind::hpArrows, "", control::kHpArrows, 125, 160, 20, 24, 1000, false, kNone},
    {Kind::field, "0", control::kAttackField, 150, 160, 35, 24, 0, false, kSystem},
    {Kind::arrows, "", control::kAttackArrows, 185, 160, 20, 24, 100, false, kNone},
    {Kind::field, "0", control::kDefenceField, 210, 160, 35, 24, 0, false, kSystem},
    {Kind::arrows, "", control::kDefenceArrows, 245, 160, 20, 24, 100, false, kNone},
    {Kind::field, "0", control::kSpeedField, 270, 160, 35, 24, 0, false, kSystem},
    {Kind::arrows, "", control::kSpeedArrows, 305, 160, 20, 24, 100, false, kNone},
    {Kind::pushButton, "計算実行", control::kCalculateButton, 350, 160, 80, 24, 0, false, kSystem},
    {Kind::frame, "結果表示", control::kResultFrame, 5, 205, 650, 305, 0, true, kSystem},
    {Kind::label, "", control::kProgressLine, 20, 230, 350, 20, 0, false, kSystem},
    {Kind::label, "", control::kCurrentHeadingLine, 20, 260, 550, 20, 0, false, kSystem},
    {Kind::label, "", control::kGainsLine, 20, 280, 550, 20, 0, false, kSystem},
    {Kind::label, "", control::kPredictionHeadingLine, 20, 310, 550, 20, 0, false, kSystem},
    {Kind::label, "", control::kPredictedGainsLine, 20, 350, 620, 20, 0, false, kSystem},
    {Kind::label, "", control::kThreeStatSumLine, 20, 370, 550, 20, 0, false, kSystem},
    {Kind::label, "", control::kPredictedValuesLine, 20, 330, 550, 20, 0, false, kSystem},
    {Kind::resultBox, "", control::kResultBox, 20, 400, 600, 100, 0, false, FontRole::resultBox},
};

}  // namespace

std::span<const ControlDesign> formControls() { return kControls; }

std::string_view gothicFace() { return "ＭＳ ゴシック"; }

std::string_view baseStatsFormat() { return "%d  %d　%d　%d"; }

std::int32_t steppedHp(std::int32_t hp, int delta) {
  const std::int64_t step = delta < 0 ? -kHpStep : delta > 0 ? kHpStep : 0;
  // Saturates at the ends of the 32-bit range instead of wrapping.
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{hp} + step,
                                                            std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}
