#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <tuple>
#include <vector>

#include "growth/prediction_range.h"
#include "worked_examples.h"

namespace {

CharacterRecord character(std::array<std::int32_t, 4> base) {
  CharacterRecord record;
  std::tie(record.hp, record.attack, record.defence, record.speed) = std::tie(base[0], base[1], base[2], base[3]);
  return record;
}

struct RangeCase {
  const char* name;
  std::vector<UnitCheck> checks;                // of a 戦士 (limit 30) with bases 100 20 20 20
  std::array<std::array<double, 3>, 5> range;  // predicted, low, high: HP, attack, defence, speed, the sum
};

class Ranges : public ::testing::TestWithParam<RangeCase> {};

TEST_P(Ranges, AtTheBattleLimit) {
  const RangeCase& c = GetParam();
  const auto range = predictionRange(2, character({100, 20, 20, 20}), c.checks);
  ASSERT_TRUE(range.has_value());
  for (std::size_t row = 0; row < 5; ++row) {
    const StatRange& got = row < 4 ? range->stats[row] : range->sum;
    EXPECT_NEAR(got.predicted, c.range[row][0], 1e-9) << "row " << row;
    EXPECT_NEAR(got.low, c.range[row][1], 1e-9) << "row " << row;
    EXPECT_NEAR(got.high, c.range[row][2], 1e-9) << "row " << row;
  }
}

// The figures are the model's: t at 0.9 for one and for five degrees of
// freedom, the spread of the steps, the battles still to come.
INSTANTIATE_TEST_SUITE_P(
    Units, Ranges,
    ::testing::Values(
        // Defence grew unevenly; speed, exactly along its line, has no spread.
        RangeCase{"TwoChecks",
                  {{10, {120, 25, 22, 21}}, {20, {136, 31, 25, 22}}},
                  {{{154.0, 143.33858988471638, 164.66141011528362},
                    {36.5, 33.834647471179096, 39.165352528820904},
                    {27.5, 25.0, 30.165352528820907},
                    {23.0, 23.0, 23.0},
                    {27.0, 21.669294942358185, 32.330705057641815}}}},
        RangeCase{"SixChecks",
                  {{2, {104, 21, 20, 20}}, {5, {109, 22, 21, 21}}, {9, {117, 24, 22, 21}},
                   {14, {126, 27, 23, 22}}, {17, {131, 28, 23, 22}}, {22, {140, 30, 24, 23}}},
                  {{{154.54545454545456, 153.27542581896725, 155.81548327194187},
                    {33.63636363636364, 32.611028209864116, 34.661699062863164},
                    {25.454545454545453, 24.35139972675274, 26.557691182338168},
                    {24.09090909090909, 23.0, 25.332265302639602},
                    {23.18181818181818, 20.847083821603388, 25.516552542032972}}}},
        // At the limit there is nothing left to grow: the point itself.
        RangeCase{"AtTheLimit",
                  {{10, {120, 25, 22, 21}}, {30, {150, 33, 29, 26}}},
                  {{{150, 150, 150}, {33, 33, 33}, {29, 29, 29}, {26, 26, 26}, {28, 28, 28}}}},
        // Attack at its cap, twice its base: it stays there. HP never grew.
        RangeCase{"AtTheCapAndNeverGrown",
                  {{10, {100, 30, 22, 21}}, {20, {100, 40, 25, 22}}},
                  {{{100, 100, 100},
                    {40, 40, 40},
                    {27.5, 25.0, 30.165352528820907},
                    {23.0, 23.0, 23.0},
                    {30.5, 27.834647471179093, 33.165352528820904}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PredictionRange, IsCentredOnTheGrowthChecksOwnPrediction) {
  for (const WorkedExampleFixture& example : kWorkedExamples) {
    SCOPED_TRACE(example.name);
    const CharacterRecord record = character(example.base);
    const auto& [battles, hp, attack, defence, speed] = example.typed;
    // An earlier check at half the battles, half way grown.
    UnitCheck earlier{battles / 2, {}};
    UnitCheck latest{battles, {hp, attack, defence, speed}};
    for (std::size_t stat = 0; stat < kStatCount; ++stat) {
      earlier.stats[stat] = example.base[stat] + (latest.stats[stat] - example.base[stat]) / 2;
    }
    const std::vector<UnitCheck> checks = {earlier, latest};
    const auto range = predictionRange(example.rarity, record, checks);
    ASSERT_TRUE(range.has_value());
    const GrowthReport report = runGrowthCheck(example.rarity, record, {battles, hp, attack, defence, speed});
    for (std::size_t stat = 0; stat < kStatCount; ++stat) {
      EXPECT_EQ(range->stats[stat].predicted, report.stats[stat].predictedValue);
      EXPECT_LE(range->stats[stat].low, range->stats[stat].predicted);
      EXPECT_GE(range->stats[stat].high, range->stats[stat].predicted);
    }
    EXPECT_EQ(range->sum.predicted, report.threeStatSum);
  }
}

TEST(PredictionRange, NeedsTwoChecksAtDifferentBattlesThatPassTheGrowthCheck) {
  const CharacterRecord record = character({100, 20, 20, 20});
  const UnitCheck at10{10, {120, 25, 22, 21}};
  const UnitCheck at20{20, {136, 31, 25, 22}};
  const struct {
    const char* what;
    std::vector<UnitCheck> checks;
  } cases[] = {
      {"none", {}},
      {"one", {at10}},
      {"one after the base", {{0, {100, 20, 20, 20}}, at10}},
      {"two at the same battles", {at10, at10}},
      {"one below its base", {at10, at20, {25, {99, 31, 25, 22}}}},
      {"one past the limit", {at10, at20, {31, {140, 31, 25, 22}}}},
  };
  for (const auto& c : cases) EXPECT_FALSE(predictionRange(2, record, c.checks).has_value()) << c.what;
  EXPECT_FALSE(predictionRange(6, record, std::vector<UnitCheck>{at10, at20}).has_value()) << "no such rarity";
  EXPECT_FALSE(predictionRange(2, record, std::vector<UnitCheck>{at10, at20}, 15).has_value()) << "before the last check";
}

// Student's t: the table and the expansion against the distribution's own
// integral, P(T <= t) = 0.9.
TEST(PredictionRange, StudentsTHoldsNinetyPercentBelowIt) {
  for (const int degrees : {1, 2, 3, 5, 10, 29, 30, 31, 45, 100, 1000}) {
    const double v = degrees;
    const double scale = std::exp(std::lgamma((v + 1) / 2) - std::lgamma(v / 2)) / std::sqrt(v * std::acos(-1.0));
    const auto density = [&](double x) { return scale * std::pow(1 + x * x / v, -(v + 1) / 2); };
    const double t = studentT90(degrees);
    constexpr int kSteps = 20000;  // Simpson's rule from 0 to t
    double area = density(0) + density(t);
    for (int i = 1; i < kSteps; ++i) area += (i % 2 ? 4 : 2) * density(t * i / kSteps);
    EXPECT_NEAR(0.5 + area * t / kSteps / 3, 0.9, 2e-6) << degrees << " degrees";
  }
}

// Units drawn at random, as a game grows them: each battle adds a step of
// 1 to 3 to a stat with a chance of its own, up to its cap, and the player
// checks 2 to 6 times at random battle counts.
struct Simulated {
  int rarity;
  std::int32_t limit;
  CharacterRecord record;
  std::vector<std::array<std::int32_t, kStatCount>> byBattle;  // the stats after each battle, 0 to the limit
};

Simulated simulatedUnit(std::mt19937& random) {
  const int rarity = std::uniform_int_distribution<>(0, 5)(random);
  const std::int32_t limit = *battleLimit(rarity);
  std::array<std::int32_t, kStatCount> base{}, now{};
  std::array<double, kStatCount> chance{};
  for (std::size_t stat = 0; stat < kStatCount; ++stat) {
    base[stat] = now[stat] = std::uniform_int_distribution<>(20, 200)(random);
    chance[stat] = std::uniform_real_distribution<>(0.2, 0.8)(random);
  }
  Simulated unit{rarity, limit, character(base), {now}};
  for (std::int32_t battle = 1; battle <= limit; ++battle) {
    for (std::size_t stat = 0; stat < kStatCount; ++stat) {
      if (std::bernoulli_distribution(chance[stat])(random)) {
        now[stat] = std::min(now[stat] + std::uniform_int_distribution<>(1, 3)(random), 2 * base[stat]);
      }
    }
    unit.byBattle.push_back(now);
  }
  return unit;
}

std::vector<UnitCheck> checksAt(const Simulated& unit, std::vector<std::int32_t> battles) {
  std::vector<UnitCheck> checks;
  for (const std::int32_t b : battles) checks.push_back({b, unit.byBattle[static_cast<std::size_t>(b)]});
  return checks;
}

TEST(PredictionRange, HoldsTheFinalValueEightTimesInTenOverSimulatedUnits) {
  std::mt19937 random(20261210);
  int inside = 0, counted = 0;
  for (int units = 0; units < 20000; ++units) {
    const Simulated unit = simulatedUnit(random);
    std::vector<std::int32_t> battles(static_cast<std::size_t>(unit.limit - 1));
    std::iota(battles.begin(), battles.end(), 1);
    std::shuffle(battles.begin(), battles.end(), random);
    battles.resize(static_cast<std::size_t>(std::uniform_int_distribution<>(2, 6)(random)));
    std::sort(battles.begin(), battles.end());
    const auto range = predictionRange(unit.rarity, unit.record, checksAt(unit, battles));
    ASSERT_TRUE(range.has_value());
    const auto& final = unit.byBattle.back();
    for (std::size_t stat = 0; stat < kStatCount; ++stat) {
      inside += range->stats[stat].low <= final[stat] && final[stat] <= range->stats[stat].high;
      ++counted;
    }
    const double sum = static_cast<double>(final[1] - unit.record.attack) + (final[2] - unit.record.defence) +
                       (final[3] - unit.record.speed);
    inside += range->sum.low <= sum && sum <= range->sum.high;
    ++counted;
  }
  const double coverage = static_cast<double>(inside) / counted;
  RecordProperty("coverage", std::to_string(coverage));
  EXPECT_GE(coverage, 0.78);
  EXPECT_LE(coverage, 0.92);
}

TEST(PredictionRange, NarrowsAsChecksAndBattlesAreAdded) {
  // The mean width of the attack range, over the same units checked more often, or later.
  const auto meanWidth = [&](std::vector<std::int32_t> battles) {
    std::mt19937 same(11);
    double total = 0;
    for (int units = 0; units < 4000; ++units) {
      Simulated unit = simulatedUnit(same);
      while (unit.limit != 40) unit = simulatedUnit(same);
      const auto range = predictionRange(unit.rarity, unit.record, checksAt(unit, battles));
      total += range->stats[1].high - range->stats[1].low;
    }
    return total / 4000;
  };
  const double two = meanWidth({5, 10}), four = meanWidth({2, 4, 6, 10}), six = meanWidth({1, 3, 5, 7, 9, 10});
  const double later = meanWidth({15, 30}), latest = meanWidth({20, 38});
  EXPECT_GT(two, four);
  EXPECT_GT(four, six);
  EXPECT_GT(two, later);
  EXPECT_GT(later, latest);
}

}  // namespace
