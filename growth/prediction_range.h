#pragma once
// How far a unit's stats may stray from the growth check's prediction at
// the battle limit, from all of its checks: an 80 % range beside the
// prediction, which stays the growth check's own.
//
// The model: each stat's gain is a walk with drift over battles, from the
// base at 0 battles. The drift's best estimate from all the checks is the
// gain at the most battles over those battles, which is exactly the growth
// check's line. The spread comes from the steps between the checks (the
// gain between two, over the battles between them) and gives Student's t
// with as many degrees of freedom as there are steps less one. The range
// widens with the battles still to come and with the uncertainty of the
// drift; it is cut to the stat's cap (twice its base), never falls below
// the stat now, and at the battle limit it is the point itself. The
// three-stat sum (attack, defence, speed, as a gain) is a walk of its own.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "growth/growth_check.h"

// One check of a unit: its battles and four stats (HP, attack, defence, speed).
struct UnitCheck {
  std::int32_t battles = 0;
  std::array<std::int32_t, kStatCount> stats{};
};

// The prediction and the range around it.
struct StatRange {
  double predicted = 0.0;
  double low = 0.0;
  double high = 0.0;
};

struct PredictionRange {
  std::array<StatRange, kStatCount> stats;  // each stat's value
  StatRange sum;                            // the three-stat sum of gains, as its line prints it
};

// The range's level: the final value falls within it 8 times in 10.
inline constexpr double kPredictionRangeLevel = 0.8;

// The range at `battles` (the battle limit when empty) for a unit of
// `character` (its base stats) of `rarity`, from its `checks` in the order
// they were made. Empty without two checks at different battle counts
// above 0, and where a check fails the growth check or lies past `battles`.
// At the battle limit, `predicted` is the growth check's prediction from
// the check with the most battles (the last made of those).
std::optional<PredictionRange> predictionRange(int rarity, const CharacterRecord& character,
                                               std::span<const UnitCheck> checks,
                                               std::optional<std::int32_t> battles = std::nullopt);

// Student's t at the 0.9 quantile (so that 80 % lies within plus or minus
// it) for `degrees` of freedom, 1 or more.
double studentT90(int degrees);
