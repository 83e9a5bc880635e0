#include "ui/form.h"

#include <commctrl.h>

#include <string>

#include "form/control_ids.h"
#include "form/form_design.h"
#include "growth/growth_check.h"
#include "growth/number_format.h"
#include "roster/character_roster.h"
#include "ui/form_layout.h"
#include "ui/window_text.h"

namespace {

// The one roster, created with all slots empty before the program starts.
CharacterRoster g_roster;

int selectedPosition(int listNumber) {
  return static_cast<int>(SendMessageW(formControl(listNumber), CB_GETCURSEL, 0, 0));
}

// The character the two lists select; nullptr when the name list has no
// selection (a rarity without characters).
const CharacterRecord* selectedCharacter() {
  return g_roster.record(selectedPosition(control::kRarityList), selectedPosition(control::kNameList));
}

std::int32_t fieldNumber(int field, int maxChars) {
  return fieldTextToNumber(windowText(formControl(field), maxChars));
}

void setFieldNumber(int field, std::int32_t value) {
  setWindowText(formControl(field), formatInteger(value));
}

void setLine(int label, std::string_view text) { setWindowText(formControl(label), text); }

}  // namespace

CharacterRoster& formRoster() { return g_roster; }

void showStartRarity() { showRarity(kStartRarity); }

void showRarity(int rarity) {
  HWND names = formControl(control::kNameList);
  // Thousands of names draw far faster with redrawing held until the end.
  SendMessageW(names, WM_SETREDRAW, FALSE, 0);
  SendMessageW(names, CB_RESETCONTENT, 0, 0);
  const int count = g_roster.count(rarity);
  for (int index = 0; index < count; ++index) addComboBoxString(names, g_roster.record(rarity, index)->name);
  SendMessageW(names, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(names, nullptr, TRUE);
  // The program's own selection: CB_SETCURSEL raises no CBN_SELCHANGE.
  SendMessageW(names, CB_SETCURSEL, 0, 0);
  showCharacter();
}

void showCharacter() {
  const CharacterRecord* character = selectedCharacter();
  if (character == nullptr) {  // nothing to show: an empty rarity
    setLine(control::kBaseStatsLabel, "");
    return;
  }
  setLine(control::kBaseStatsLabel,
          formatLine(baseStatsFormat(), {character->hp, character->attack, character->defence, character->speed}));
  if (fieldNumber(control::kBattleField, kBattleFieldReadChars) != 0) return;
  setWindowText(formControl(control::kBattleField), "0");
  setFieldNumber(control::kHpField, character->hp);
  setFieldNumber(control::kAttackField, character->attack);
  setFieldNumber(control::kDefenceField, character->defence);
  setFieldNumber(control::kSpeedField, character->speed);
}

void stepHp(int delta) {
  setFieldNumber(control::kHpField, steppedHp(fieldNumber(control::kHpField, kFieldReadChars), delta));
}

void calculate() {
  for (const int line : {control::kProgressLine, control::kCurrentHeadingLine, control::kGainsLine,
                         control::kPredictionHeadingLine, control::kPredictedGainsLine,
                         control::kThreeStatSumLine, control::kPredictedValuesLine}) {
    setLine(line, "");
  }
  const CharacterRecord* character = selectedCharacter();
  if (character == nullptr) return;  // no character to check

  const GrowthInputs inputs = {fieldNumber(control::kBattleField, kFieldReadChars),
                               fieldNumber(control::kHpField, kFieldReadChars),
                               fieldNumber(control::kAttackField, kFieldReadChars),
                               fieldNumber(control::kDefenceField, kFieldReadChars),
                               fieldNumber(control::kSpeedField, kFieldReadChars)};
  const GrowthReport report = runGrowthCheck(selectedPosition(control::kRarityList), *character, inputs);
  setLine(control::kProgressLine, report.progressLine);
  if (report.failed) return;  // the result box keeps the last good log

  setLine(control::kCurrentHeadingLine, report.currentHeading);
  setLine(control::kGainsLine, report.gainsLine);
  if (inputs.battles > 0) {
    setLine(control::kPredictionHeadingLine, report.predictionHeading);
    setLine(control::kPredictedValuesLine, report.predictedValuesLine);
    setLine(control::kPredictedGainsLine, report.predictedGainsLine);
    setLine(control::kThreeStatSumLine, report.threeStatSumLine);
  }
  setWindowText(g_formControls.resultBox, report.logText);
}

bool handleFormCommand(int controlNumber, int notification) {
  if (controlNumber == control::kRarityList && notification == CBN_SELCHANGE) {
    showRarity(selectedPosition(control::kRarityList));
  } else if (controlNumber == control::kNameList && notification == CBN_SELCHANGE) {
    showCharacter();
  } else if (controlNumber == control::kCalculateButton) {
    calculate();
  } else {
    return false;
  }
  return true;
}

bool handleFormNotify(const NMHDR& header) {
  if (header.idFrom != control::kHpArrows || header.code != UDN_DELTAPOS) return false;
  stepHp(reinterpret_cast<const NMUPDOWN&>(header).iDelta);
  return true;  // answered 1: the arrow control keeps its own position
}
