#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "growth/growth_check.h"
#include "test_text.h"
#include "worked_examples.h"

namespace {

CharacterRecord character(int rarity, std::int32_t hp, std::int32_t attack, std::int32_t defence,
                          std::int32_t speed) {
  CharacterRecord record;
  record.index = 0;
  record.rarity = rarity;
  record.hp = hp;
  record.attack = attack;
  record.defence = defence;
  record.speed = speed;
  record.name = "test";
  return record;
}

std::vector<std::string> lines(const GrowthReport& r) {
  return {r.progressLine,        r.currentHeading,     r.gainsLine,       r.predictionHeading,
          r.predictedValuesLine, r.predictedGainsLine, r.threeStatSumLine};
}

std::string joinedLog(const std::vector<std::string>& reportLines) {
  std::string log;
  for (const std::string& line : reportLines) {
    if (line.empty()) continue;
    if (!log.empty()) log += "\r\n";
    log += line;
  }
  return log;
}

struct WorkedExample {
  const char* name;
  int rarity;
  CharacterRecord base;
  GrowthInputs inputs;
  std::vector<std::string> expected;
};

class WorkedExamples : public ::testing::TestWithParam<WorkedExample> {};

TEST_P(WorkedExamples, GiveEveryLineAndTheLogByteForByte) {
  const WorkedExample& example = GetParam();
  const GrowthReport report = runGrowthCheck(example.rarity, example.base, example.inputs);
  EXPECT_FALSE(report.failed);
  const std::vector<std::string> actual = lines(report);
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_EQ(hexBytes(actual[i]), hexBytes(example.expected[i])) << "line " << i + 1;
  }
  EXPECT_EQ(hexBytes(report.logText), hexBytes(joinedLog(example.expected)));
}

std::vector<WorkedExample> examples() {
  std::vector<WorkedExample> runs;
  for (const WorkedExampleFixture& example : kWorkedExamples) {
    const auto& [hp, attack, defence, speed] = example.base;
    const auto& [battles, hpNow, attackNow, defenceNow, speedNow] = example.typed;
    runs.push_back({example.name, example.rarity, character(example.rarity, hp, attack, defence, speed),
                    {battles, hpNow, attackNow, defenceNow, speedNow}, linesOf(example)});
  }
  return runs;
}

INSTANTIATE_TEST_SUITE_P(FromTheFixture, WorkedExamples, ::testing::ValuesIn(examples()),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Runs, WorkedExamples,
    ::testing::Values(
        // Predicted attack 20 / 5 x 30 = 120 is capped at the base, 20.
        WorkedExample{"Cap",
                      3,
                      character(3, 50, 20, 20, 20),
                      {5, 50, 40, 20, 20},
                      {"壁進捗率: 20 ％, グラフ 0.20 目盛", "現在値",
                       " HP+0(+0.0％)  攻+20(+100.0％)  防+0(+0.0％)  早+0(+0.0％)", "30戦予想値",
                       " HP 50.0  攻 40.0  防 20.0  早 20.0",
                       " HP+0.0(+0.0％)  攻+20.0(+100.0％)  防+0.0(+0.0％)  早+0.0(+0.0％)",
                       " 3値合計+20.0"}},
        // The percentage stops at 100; the scale goes on.
        WorkedExample{"TotalAbove100",
                      5,
                      character(5, 100, 50, 50, 50),
                      {40, 150, 75, 60, 95},
                      {"壁進捗率: 100 ％, グラフ 1.30 目盛", "現在値",
                       " HP+50(+50.0％)  攻+25(+50.0％)  防+10(+20.0％)  早+45(+90.0％)", "40戦予想値",
                       " HP 150.0  攻 75.0  防 60.0  早 95.0",
                       " HP+50.0(+50.0％)  攻+25.0(+50.0％)  防+10.0(+20.0％)  早+45.0(+90.0％)",
                       " 3値合計+80.0"}},
        WorkedExample{"ZeroBattles",
                      0,
                      character(0, 30, 10, 10, 10),
                      {0, 33, 10, 12, 10},
                      {"壁進捗率: 5 ％, グラフ 0.05 目盛", "現在値",
                       " HP+3(+10.0％)  攻+0(+0.0％)  防+2(+20.0％)  早+0(+0.0％)", "", "", "", ""}},
        // A base of 0 admits only 0, a gain of nothing: 0.0 %, not 0 / 0.
        WorkedExample{"ZeroBase",
                      4,
                      character(4, 0, 10, 0, 10),
                      {7, 0, 11, 0, 10},
                      {"壁進捗率: 1 ％, グラフ 0.01 目盛", "現在値",
                       " HP+0(+0.0％)  攻+1(+10.0％)  防+0(+0.0％)  早+0(+0.0％)", "35戦予想値",
                       " HP 0.0  攻 15.0  防 0.0  早 10.0",
                       " HP+0.0(+0.0％)  攻+5.0(+50.0％)  防+0.0(+0.0％)  早+0.0(+0.0％)",
                       " 3値合計+5.0"}},
        // Bases near the 32-bit limit: twice a base and the total are exact,
        // and lines longer than 99 bytes come out whole.
        WorkedExample{"LargeBases",
                      2,
                      character(2, 1073741824, 1000000000, 1000000000, 1000000000),
                      {30, 2147483647, 2000000000, 2000000000, 2000000000},
                      {"壁進捗率: 100 ％, グラフ 40737418.23 目盛", "現在値",
                       " HP+1073741823(+100.0％)  攻+1000000000(+100.0％)  防+1000000000(+100.0％)"
                       "  早+1000000000(+100.0％)",
                       "30戦予想値", " HP 2147483647.0  攻 2000000000.0  防 2000000000.0  早 2000000000.0",
                       " HP+1073741823.0(+100.0％)  攻+1000000000.0(+100.0％)  防+1000000000.0(+100.0％)"
                       "  早+1000000000.0(+100.0％)",
                       " 3値合計+3000000000.0"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GrowthCheck, TextsAreTheCp932BytesOfTheirCharacters) {
  const GrowthReport report = runGrowthCheck(2, character(2, 10, 10, 10, 10), {1, 10, 10, 10, 10});
  // 30戦予想値: 予 is 97 5C, a backslash as its second byte.
  EXPECT_EQ(hexBytes(report.predictionHeading), "33 30 90 ED 97 5C 91 7A 92 6C");
  // 現在値 and the full-width percent sign 81 93.
  EXPECT_EQ(hexBytes(report.currentHeading), "8C BB 8D DD 92 6C");
  EXPECT_NE(report.gainsLine.find("\x81\x93"), std::string::npos);
}

const char* const kBattles = "エラー: 戦歴数が0未満か限界以上です";
const char* const kHp = "エラー: HPが初期値未満か限界以上です";
const char* const kAttack = "エラー: 攻撃が初期値未満か限界以上です";
const char* const kDefence = "エラー: 防御が初期値未満か限界以上です";
const char* const kSpeed = "エラー: 素早さが初期値未満か限界以上です";

struct ValidationCase {
  int rarity;
  GrowthInputs inputs;
  const char* expected;  // nullptr: passes
};

class Validation : public ::testing::TestWithParam<ValidationCase> {};

// Bases 100 / 20 / 30 / 40.
TEST_P(Validation, AcceptsBothEndsAndGivesOnlyTheFirstMessage) {
  const ValidationCase& c = GetParam();
  const GrowthReport report = runGrowthCheck(c.rarity, character(c.rarity, 100, 20, 30, 40), c.inputs);
  if (c.expected == nullptr) {
    EXPECT_FALSE(report.failed) << report.progressLine;
    return;
  }
  EXPECT_TRUE(report.failed);
  EXPECT_EQ(report.progressLine, c.expected);
  // The input the message is about, for the page's word on what it allows.
  const std::string_view messages[] = {"エラー: 戦歴数が0未満か限界以上です", "エラー: HPが初期値未満か限界以上です",
                                       "エラー: 攻撃が初期値未満か限界以上です", "エラー: 防御が初期値未満か限界以上です",
                                       "エラー: 素早さが初期値未満か限界以上です"};
  const int input = growthCheckFailedInput(c.rarity, character(c.rarity, 100, 20, 30, 40), c.inputs);
  ASSERT_GE(input, 0);
  EXPECT_EQ(messages[input], report.progressLine);
  for (std::size_t i = 1; i < lines(report).size(); ++i) EXPECT_EQ(lines(report)[i], "") << i;
  EXPECT_EQ(report.logText, "");
}

INSTANTIATE_TEST_SUITE_P(
    BattleLimits, Validation,
    ::testing::Values(ValidationCase{0, {20, 100, 20, 30, 40}, nullptr},
                      ValidationCase{0, {21, 100, 20, 30, 40}, kBattles},
                      ValidationCase{1, {25, 100, 20, 30, 40}, nullptr},
                      ValidationCase{1, {26, 100, 20, 30, 40}, kBattles},
                      ValidationCase{2, {30, 100, 20, 30, 40}, nullptr},
                      ValidationCase{2, {31, 100, 20, 30, 40}, kBattles},
                      ValidationCase{3, {30, 100, 20, 30, 40}, nullptr},
                      ValidationCase{3, {31, 100, 20, 30, 40}, kBattles},
                      ValidationCase{4, {35, 100, 20, 30, 40}, nullptr},
                      ValidationCase{4, {36, 100, 20, 30, 40}, kBattles},
                      ValidationCase{5, {40, 100, 20, 30, 40}, nullptr},
                      ValidationCase{5, {41, 100, 20, 30, 40}, kBattles},
                      ValidationCase{5, {0, 100, 20, 30, 40}, nullptr},
                      ValidationCase{5, {-1, 100, 20, 30, 40}, kBattles},
                      ValidationCase{5, {INT_MIN, 100, 20, 30, 40}, kBattles},
                      ValidationCase{5, {INT_MAX, 100, 20, 30, 40}, kBattles},
                      // No battle limit outside the six rarities.
                      ValidationCase{-1, {0, 100, 20, 30, 40}, kBattles},
                      ValidationCase{6, {0, 100, 20, 30, 40}, kBattles}));

INSTANTIATE_TEST_SUITE_P(
    StatRanges, Validation,
    ::testing::Values(ValidationCase{2, {1, 200, 40, 60, 80}, nullptr},
                      ValidationCase{2, {1, 99, 20, 30, 40}, kHp},
                      ValidationCase{2, {1, 201, 20, 30, 40}, kHp},
                      ValidationCase{2, {1, 100, 19, 30, 40}, kAttack},
                      ValidationCase{2, {1, 100, 41, 30, 40}, kAttack},
                      ValidationCase{2, {1, 100, 20, 29, 40}, kDefence},
                      ValidationCase{2, {1, 100, 20, 61, 40}, kDefence},
                      ValidationCase{2, {1, 100, 20, 30, 39}, kSpeed},
                      ValidationCase{2, {1, 100, 20, 30, 81}, kSpeed},
                      ValidationCase{2, {1, INT_MAX, 20, 30, 40}, kHp},
                      ValidationCase{2, {1, INT_MIN, 20, 30, 40}, kHp}));

INSTANTIATE_TEST_SUITE_P(
    Order, Validation,
    ::testing::Values(ValidationCase{2, {31, 0, 0, 0, 0}, kBattles},
                      ValidationCase{2, {30, 0, 0, 0, 0}, kHp},
                      ValidationCase{2, {30, 100, 0, 0, 0}, kAttack},
                      ValidationCase{2, {30, 100, 20, 0, 0}, kDefence},
                      ValidationCase{2, {30, 100, 20, 30, 0}, kSpeed},
                      ValidationCase{2, {-5, 999, 999, 999, 999}, kBattles}));

TEST(GrowthCheck, ANegativeBaseFailsWhateverIsTyped) {
  for (const std::int32_t typed : {INT_MIN, -20, -10, -5, 0, 5, 10, INT_MAX}) {
    const GrowthReport report = runGrowthCheck(2, character(2, 10, 10, -10, 10), {1, 10, 10, typed, 10});
    EXPECT_EQ(report.progressLine, kDefence) << typed;
  }
}

TEST(GrowthCheck, TheLargestBaseValidatesByTheTrueComparison) {
  const CharacterRecord huge = character(2, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
  EXPECT_FALSE(runGrowthCheck(2, huge, {0, INT_MAX, INT_MAX, INT_MAX, INT_MAX}).failed);
  EXPECT_EQ(runGrowthCheck(2, huge, {0, INT_MAX - 1, INT_MAX, INT_MAX, INT_MAX}).progressLine, kHp);
  // 1073741824 x 2 leaves the 32-bit range; 2147483647 is still within it.
  const CharacterRecord half = character(2, 1073741824, 1, 1, 1);
  EXPECT_FALSE(runGrowthCheck(2, half, {0, INT_MAX, 1, 1, 1}).failed);
}

TEST(GrowthCheck, AFourfoldLargeTotalIsTrue) {
  const CharacterRecord big = character(2, 1000000000, 1000000000, 1000000000, 1000000000);
  const GrowthReport report =
      runGrowthCheck(2, big, {0, 2000000000, 2000000000, 2000000000, 2000000000});
  EXPECT_EQ(report.progressLine, "壁進捗率: 100 ％, グラフ 40000000.00 目盛");
}

}  // namespace
