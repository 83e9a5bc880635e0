#pragma once
// The number of every control of the form. A number's range tells its kind;
// the Windows program keeps each kind's handles in a table (ui/form_layout.h).

namespace control {

// Frames (group boxes), from 900.
inline constexpr int kCharacterFrame = 900;
inline constexpr int kStatusFrame = 901;
inline constexpr int kResultFrame = 902;

// Labels, from 1000.
inline constexpr int kLabelBase = 1000;
inline constexpr int kNameHeading = 1001;
inline constexpr int kFieldHeading = 1002;
inline constexpr int kBaseStatsHeading = 1003;
inline constexpr int kBaseStatsLabel = 1004;  // the selected character's base stats
// The seven result lines, top to bottom on screen: 1005, 1006, 1007, 1008,
// 1011, 1009, 1010 (the order of the report's lines).
inline constexpr int kProgressLine = 1005;
inline constexpr int kCurrentHeadingLine = 1006;
inline constexpr int kGainsLine = 1007;
inline constexpr int kPredictionHeadingLine = 1008;
inline constexpr int kPredictedGainsLine = 1009;
inline constexpr int kThreeStatSumLine = 1010;
inline constexpr int kPredictedValuesLine = 1011;

// Number fields, from 2000, each with its arrows 1000 higher.
inline constexpr int kBattleField = 2000;
inline constexpr int kHpField = 2001;
inline constexpr int kAttackField = 2002;
inline constexpr int kDefenceField = 2003;
inline constexpr int kSpeedField = 2004;

// Arrow controls, from 3000.
inline constexpr int kBattleArrows = 3000;
inline constexpr int kHpArrows = 3001;
inline constexpr int kAttackArrows = 3002;
inline constexpr int kDefenceArrows = 3003;
inline constexpr int kSpeedArrows = 3004;

// Lists, from 4000.
inline constexpr int kRarityList = 4000;
inline constexpr int kNameList = 4001;

// Push buttons, from 5000.
inline constexpr int kCalculateButton = 5000;

// The read-only result box.
inline constexpr int kResultBox = 7000;

}  // namespace control
