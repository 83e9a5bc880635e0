// The form at work: lists, prefilling, the HP arrows and the calculation,
// driven with real keyboard and mouse messages on the real window.

#include "ui_test_support.h"

#include <commctrl.h>

#include <climits>
#include <random>

#include "growth/growth_check.h"
#include "growth/number_format.h"
#include "worked_examples.h"

namespace {

const int kResultLines[] = {1005, 1006, 1007, 1008, 1011, 1009, 1010};  // top to bottom

class Form : public MainWindowTest {
 protected:
  std::vector<std::string> resultLines() {
    std::vector<std::string> lines;
    for (const int number : kResultLines) lines.push_back(text(number));
    return lines;
  }
  void typeFields(std::string_view battles, std::string_view hp, std::string_view attack,
                  std::string_view defence, std::string_view speed) {
    type(2000, battles);
    type(2001, hp);
    type(2002, attack);
    type(2003, defence);
    type(2004, speed);
  }
  std::vector<std::string> fields() {
    return {text(2000), text(2001), text(2002), text(2003), text(2004)};
  }
  int selection(int list) { return static_cast<int>(SendMessageW(control(list), CB_GETCURSEL, 0, 0)); }
  int count(int list) { return static_cast<int>(SendMessageW(control(list), CB_GETCOUNT, 0, 0)); }
};

using Strings = std::vector<std::string>;

TEST_F(Form, StartsWithTheFirstWarriorShownAndItsBaseStatsInTheFields) {
  EXPECT_EQ(selection(4000), 2);
  ASSERT_EQ(count(4001), 2);
  EXPECT_EQ(comboBoxString(control(4001), 0), "アレス");
  EXPECT_EQ(comboBoxString(control(4001), 1), "カイン");
  EXPECT_EQ(selection(4001), 0);
  EXPECT_EQ(text(1004), "100  20　20　20");
  EXPECT_EQ(fields(), (Strings{"0", "100", "20", "20", "20"}));
  EXPECT_EQ(resultLines(), Strings(7, ""));
}

TEST_F(Form, ChoosingARarityListsItsCharactersAndShowsTheFirst) {
  pressInList(4000, VK_UP);  // 戦士 to 上兵
  EXPECT_EQ(selection(4000), 1);
  ASSERT_EQ(count(4001), 1);
  EXPECT_EQ(comboBoxString(control(4001), 0), "セリス");
  EXPECT_EQ(selection(4001), 0);
  EXPECT_EQ(text(1004), "100  20　20　20");

  pressInList(4000, VK_UP);  // 兵士
  EXPECT_EQ(comboBoxString(control(4001), 0), "ボルド");
  EXPECT_EQ(text(1004), "40  12　14　10");
  EXPECT_EQ(fields(), (Strings{"0", "40", "12", "14", "10"}));
}

TEST_F(Form, TheProgramsOwnSelectionsRaiseNothing) {
  SendMessageW(control(4001), CB_SETCURSEL, 1, 0);
  SendMessageW(control(4000), CB_SETCURSEL, 0, 0);
  pump();
  EXPECT_EQ(text(1004), "100  20　20　20") << "still the first warrior";
  EXPECT_EQ(comboBoxString(control(4001), 1), "カイン") << "the name list was not refilled";
}

TEST_F(Form, ChoosingACharacterRefillsTheStatsOnlyWhileTheBattleFieldReadsZero) {
  struct Case {
    const char* battles;
    Strings expected;
  };
  for (const Case& c : {Case{"0", {"0", "80", "30", "26", "22"}}, Case{"", {"0", "80", "30", "26", "22"}},
                        Case{"abc", {"0", "80", "30", "26", "22"}},
                        Case{"5", {"5", "111", "22", "33", "44"}}}) {
    SCOPED_TRACE(c.battles);
    pressInList(4001, VK_HOME);
    typeFields(c.battles, "111", "22", "33", "44");
    pressInList(4001, VK_DOWN);  // アレス to カイン
    EXPECT_EQ(selection(4001), 1);
    EXPECT_EQ(text(1004), "80  30　26　22");
    EXPECT_EQ(fields(), c.expected);
  }
}

TEST_F(Form, TheHpArrowsStepTheFieldByTwo) {
  type(2001, "7");
  clickArrow(3001, false);
  EXPECT_EQ(text(2001), "5");
  type(2001, "7");
  clickArrow(3001, true);
  EXPECT_EQ(text(2001), "9");

  // The Up and Down keys in the HP field step it the same way.
  SetFocus(control(2001));
  pressKey(VK_UP);
  EXPECT_EQ(text(2001), "11");
  pressKey(VK_DOWN);
  pressKey(VK_DOWN);
  EXPECT_EQ(text(2001), "7");

  // The arrow control's own position never moves, and no bound applies.
  EXPECT_EQ(SendMessageW(control(3001), UDM_GETPOS32, 0, 0), 0);
  type(2001, "1");
  clickArrow(3001, false);
  EXPECT_EQ(text(2001), "-1");
  type(2001, "999");
  clickArrow(3001, true);
  clickArrow(3001, true);
  EXPECT_EQ(text(2001), "1003");
}

TEST_F(Form, TheHpStepSaturatesAtTheEndsOfThe32BitRange) {
  type(2001, "2147483646");
  clickArrow(3001, true);
  EXPECT_EQ(text(2001), "2147483647");
  type(2001, "-2147483647");
  clickArrow(3001, false);
  EXPECT_EQ(text(2001), "-2147483648");
  type(2001, "99999999999999999999");
  clickArrow(3001, false);
  EXPECT_EQ(text(2001), "2147483645");
}

TEST_F(Form, TheOtherArrowsStepTheirFieldByOne) {
  type(2002, "20");
  clickArrow(3002, true);
  EXPECT_EQ(text(2002), "21");
  type(2000, "3");
  clickArrow(3000, false);
  EXPECT_EQ(text(2000), "2");
}

struct FormRun {
  const char* name;
  int rarity;
  BaseStats base;
  Strings typed;
  Strings expected;  // the seven lines, top to bottom
};

class FormRuns : public Form, public ::testing::WithParamInterface<FormRun> {
 protected:
  void fillRoster(CharacterRoster& roster) override {
    roster.add(GetParam().rarity, "テスト", GetParam().base);
  }
};

TEST_P(FormRuns, FillTheResultLinesAndTheResultBoxByteForByte) {
  const FormRun& run = GetParam();
  // The user's choice: one step onto the rarity from its neighbour.
  SendMessageW(control(4000), CB_SETCURSEL, run.rarity == 0 ? 1 : run.rarity - 1, 0);
  pressInList(4000, run.rarity == 0 ? VK_UP : VK_DOWN);
  ASSERT_EQ(selection(4000), run.rarity);
  typeFields(run.typed[0], run.typed[1], run.typed[2], run.typed[3], run.typed[4]);
  clickCentre(5000);
  EXPECT_EQ(resultLines(), run.expected);
  std::string log;
  for (const std::string& line : run.expected) {
    if (line.empty()) continue;
    log += (log.empty() ? "" : "\r\n") + line;
  }
  EXPECT_EQ(windowText(control(7000), 4000), log);
}

std::vector<FormRun> formRuns() {
  std::vector<FormRun> runs;
  for (const WorkedExampleFixture& example : kWorkedExamples) {
    const auto& [hp, attack, defence, speed] = example.base;
    Strings typed;
    for (const std::int32_t number : example.typed) typed.push_back(std::to_string(number));
    runs.push_back({example.name, example.rarity, {hp, attack, defence, speed}, typed, linesOf(example)});
  }
  runs.push_back({"ZeroBattles", 5, {100, 20, 20, 20}, {"0", "110", "20", "20", "20"},
                  {"壁進捗率: 10 ％, グラフ 0.10 目盛", "現在値",
                   " HP+10(+10.0％)  攻+0(+0.0％)  防+0(+0.0％)  早+0(+0.0％)", "", "", "", ""}});
  return runs;
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, FormRuns, ::testing::ValuesIn(formRuns()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Form, AFailureAfterASuccessLeavesOnlyTheMessageAndKeepsTheResultBox) {
  typeFields("10", "120", "25", "22", "21");
  clickCentre(5000);
  const std::string goodLog = windowText(control(7000), 4000);
  ASSERT_NE(goodLog, "");

  typeFields("10", "120", "25", "22", "99");
  clickCentre(5000);
  EXPECT_EQ(resultLines(), (Strings{"エラー: 素早さが初期値未満か限界以上です", "", "", "", "", "", ""}));
  EXPECT_EQ(windowText(control(7000), 4000), goodLog);

  typeFields("31", "99", "0", "0", "0");
  clickCentre(5000);
  EXPECT_EQ(text(1005), "エラー: 戦歴数が0未満か限界以上です");
}

TEST_F(Form, ARarityWithoutCharactersShowsNothingAndRefusesTheCalculation) {
  typeFields("10", "120", "25", "22", "21");
  clickCentre(5000);
  const std::string goodLog = windowText(control(7000), 4000);
  typeFields("3", "11", "12", "13", "14");

  pressInList(4000, VK_DOWN);  // 将軍: nobody
  EXPECT_EQ(selection(4000), 3);
  EXPECT_EQ(count(4001), 0);
  EXPECT_EQ(selection(4001), CB_ERR);
  EXPECT_EQ(text(1004), "");
  EXPECT_EQ(fields(), (Strings{"3", "11", "12", "13", "14"}));

  clickCentre(5000);
  EXPECT_EQ(resultLines(), Strings(7, ""));
  EXPECT_EQ(windowText(control(7000), 4000), goodLog);
  EXPECT_TRUE(boxes.empty());
}

// Random texts, selections, clicks, steps and keys, checking after every
// calculation that the lines are those the growth check gives for the
// fields as they stand.
TEST_F(Form, SurvivesABoundedRunOfRandomActions) {
  std::mt19937 random(20261208);
  const std::string texts[] = {"0", "1", "20", "30", "100", "2147483647", "99999999999999999999", "",
                               "abc", "-5", "  7", "12x", "戦士", std::string(300, '9'), "\x81", "+3"};
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int step = 0; step < 400; ++step) {
    switch (pick(8)) {
      case 0: type(2000 + pick(5), texts[pick(std::size(texts))]); break;
      case 1: pressInList(4000, pick(2) ? VK_DOWN : VK_UP); break;
      case 2: pressInList(4001, pick(2) ? VK_DOWN : VK_UP); break;
      case 3: clickArrow(3000 + pick(5), pick(2) == 0); break;
      case 4: {
        SetFocus(control(2000 + pick(5)));
        const WPARAM keys[] = {VK_TAB, VK_RETURN, VK_ESCAPE, VK_UP, VK_DOWN};
        pressKey(keys[pick(5)]);
        break;
      }
      default: {
        // What the calculation will read. (A held-arrow timer may still step a
        // field afterwards; the click is handled before any timer fires.)
        const Strings typed = fields();
        const int rarity = selection(4000);
        const CharacterRecord* character = formRoster().record(rarity, selection(4001));
        clickCentre(5000);
        if (character == nullptr) {
          EXPECT_EQ(resultLines(), Strings(7, ""));
          break;
        }
        const GrowthReport report = runGrowthCheck(
            rarity, *character,
            {fieldTextToNumber(typed[0]), fieldTextToNumber(typed[1]), fieldTextToNumber(typed[2]),
             fieldTextToNumber(typed[3]), fieldTextToNumber(typed[4])});
        ASSERT_EQ(text(1005), report.progressLine)
            << "step " << step << " fields [" << typed[0] << "] [" << typed[1] << "] [" << typed[2] << "] ["
            << typed[3] << "] [" << typed[4] << "] rarity " << rarity;
        if (!report.failed) {
          ASSERT_EQ(windowText(control(7000), 4000), report.logText) << "step " << step;
        }
      }
    }
    ASSERT_TRUE(IsWindow(window)) << "step " << step;
  }
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
