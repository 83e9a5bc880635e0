#include "growth/prediction_range.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Student's t at the 0.9 quantile for 1 to 30 degrees of freedom.
constexpr double kT90[] = {3.077684, 1.885618, 1.637744, 1.533206, 1.475884, 1.439756, 1.414924, 1.396815,
                           1.383029, 1.372184, 1.363430, 1.356217, 1.350171, 1.345030, 1.340606, 1.336757,
                           1.333379, 1.330391, 1.327728, 1.325341, 1.323188, 1.321237, 1.319460, 1.317836,
                           1.316345, 1.314972, 1.313703, 1.312527, 1.311434, 1.310415};
constexpr double kNormal90 = 1.2815515655446004;

// A walk's points: the gain at each battle count of the unit's checks,
// after the base's 0 at 0 battles.
struct Point {
  double battles;
  double gain;
};

// The 80 % range at `target` battles of a walk through (0, 0) and
// `points` (battles ascending, above 0), before it is cut: its centre, the
// drift's line from the last point, and how far either side of it.
struct Spread {
  double centre;
  double half;
};

Spread spreadAt(const std::vector<Point>& points, double target) {
  const Point& last = points.back();
  const double drift = last.gain / last.battles;
  double squares = 0.0;
  Point before{0.0, 0.0};
  for (const Point& point : points) {
    const double steps = point.battles - before.battles;
    const double off = (point.gain - before.gain) - drift * steps;
    squares += off * off / steps;
    before = point;
  }
  const int degrees = static_cast<int>(points.size()) - 1;
  const double perBattle = std::sqrt(squares / degrees);
  // The walk still to come, and the drift's own uncertainty carried over
  // those battles: var = s^2 (r + r^2 / b) = s^2 r T / b.
  const double toCome = target - last.battles;
  return {last.gain + drift * toCome, studentT90(degrees) * perBattle * std::sqrt(toCome * target / last.battles)};
}

// The range cut to what the unit can reach: no lower than `now`, no higher
// than `cap`, and holding the growth check's `point`.
StatRange cut(const Spread& spread, double now, double cap, double point) {
  const double low = std::clamp(spread.centre - spread.half, now, cap);
  const double high = std::clamp(spread.centre + spread.half, now, cap);
  return {point, std::min(low, point), std::max(high, point)};
}

}  // namespace

double studentT90(int degrees) {
  if (degrees < 1) degrees = 1;
  if (degrees <= static_cast<int>(std::size(kT90))) return kT90[degrees - 1];
  // Cornish and Fisher's expansion, within 1e-6 from 30 degrees on.
  const double z = kNormal90, z2 = z * z, v = degrees;
  return z + z * (z2 + 1) / (4 * v) + z * ((5 * z2 + 16) * z2 + 3) / (96 * v * v) +
         z * (((3 * z2 + 19) * z2 + 17) * z2 - 15) / (384 * v * v * v);
}

std::optional<PredictionRange> predictionRange(int rarity, const CharacterRecord& character,
                                               std::span<const UnitCheck> checks, std::optional<std::int32_t> battles) {
  const std::optional<std::int32_t> limit = battleLimit(rarity);
  if (!limit) return std::nullopt;
  const std::int32_t target = battles.value_or(*limit);
  if (target < 0 || target > *limit) return std::nullopt;

  // The checks above 0 battles that pass the growth check.
  std::vector<UnitCheck> walked;
  for (const UnitCheck& check : checks) {
    const auto& [hp, attack, defence, speed] = check.stats;
    if (!growthCheckError(rarity, character, {check.battles, hp, attack, defence, speed}).empty()) return std::nullopt;
    if (check.battles > 0) walked.push_back(check);
  }
  // In battle order, keeping the order made within one count (the order
  // given: a plain sort by count and place), then the last of each count.
  std::vector<std::pair<std::int32_t, std::size_t>> order;
  for (std::size_t i = 0; i < walked.size(); ++i) order.emplace_back(walked[i].battles, i);
  std::sort(order.begin(), order.end());
  std::vector<UnitCheck> sorted;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i + 1 < order.size() && order[i + 1].first == order[i].first) continue;
    sorted.push_back(walked[order[i].second]);
  }
  walked = std::move(sorted);
  if (walked.size() < 2 || walked.back().battles > target) return std::nullopt;

  const std::array<std::int32_t, kStatCount> bases = {character.hp, character.attack, character.defence, character.speed};
  const UnitCheck& last = walked.back();
  const auto& [hp, attack, defence, speed] = last.stats;
  const GrowthReport report = runGrowthCheck(rarity, character, {last.battles, hp, attack, defence, speed});
  const bool atLimit = target == *limit;

  PredictionRange range;
  std::vector<Point> sum(walked.size(), Point{0.0, 0.0});
  double sumPoint = 0.0;  // the stats' points, each cut at its cap
  for (std::size_t stat = 0; stat < kStatCount; ++stat) {
    std::vector<Point> points;
    for (std::size_t i = 0; i < walked.size(); ++i) {
      const double gain = static_cast<double>(walked[i].stats[stat]) - bases[stat];
      points.push_back({static_cast<double>(walked[i].battles), gain});
      if (stat > 0) sum[i] = {points[i].battles, sum[i].gain + gain};
    }
    const double base = bases[stat];
    const Spread spread = spreadAt(points, target);
    const double point = atLimit ? report.stats[stat].predictedValue : base + std::min(spread.centre, base);
    range.stats[stat] = cut({base + spread.centre, spread.half}, base + points.back().gain, 2 * base, point);
    if (stat > 0) sumPoint += point - base;
  }
  // The sum's spread is its own walk's, around the sum of the stats' points,
  // each of which stops at its cap.
  const double sumCap = static_cast<double>(bases[1]) + bases[2] + bases[3];
  if (atLimit) sumPoint = report.threeStatSum;
  range.sum = cut({sumPoint, spreadAt(sum, target).half}, sum.back().gain, sumCap, sumPoint);
  return range;
}
