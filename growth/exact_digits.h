#pragma once
// The exact decimal expansion of a double: the digits that the rounding of
// the result lines starts from. Two sources give the same digits, the C++
// library's std::to_chars (where it takes a precision for doubles) and the C
// library's snprintf (where it prints exact digits: glibc, MinGW's own
// printf, Emscripten's). The build chooses one (GROWTH_DIGITS_FROM_SNPRINTF):
// snprintf where to_chars is missing, or where it would add more to the
// program than its C library's printf, which the program has already.

#include <cstddef>
#include <string>

// Digits after the point: 770 hold the exact value of every double
// (subnormals need up to 767 significant digits).
inline constexpr int kExactDecimals = 770;
// Room for all of it: a digit, the point, the decimals and the exponent.
inline constexpr std::size_t kExactScientificBytes = kExactDecimals + 32;

// "d.<770 digits>e<sign><exponent>" for a finite `magnitude` >= 0, from the
// source the build chose (with `decimals` digits after the point, rounded
// as those sources round, for fewer).
std::string exactScientific(double magnitude, int decimals = kExactDecimals);

// The scientific form of a finite `magnitude` >= 0 whose first
// kRoundingDigits significant digits are those of its exact expansion: what
// rounding to 17 significant digits needs. Between 1e-7 and 1e48 that takes
// 48 decimals, a few dozen digits to print instead of 770. A source rounds
// its last digit, which can carry into the 18th only where the exact digits
// from the 19th to the 49th are all 9; then the double would lie within a
// relative 5e-49 below a decimal of 18 significant digits, and no double
// there lies so near one that it is not equal to: K 10^Q - M 2^E, when not
// 0, is at least 10^Q 2^E relative to M 2^E (M < 2^53, K < 10^18), which
// is more than 1e-41 from 1e-7 up and more than 1/x below 1e48. Outside
// that range the exact expansion is printed whole.
inline constexpr int kRoundingDigits = 18;
std::string scientificForRounding(double magnitude);

// Each source on its own, where the build has it, so that tests can compare.
std::string exactScientificBySnprintf(double magnitude, int decimals = kExactDecimals);
#if GROWTH_HAVE_TO_CHARS_PRECISION
std::string exactScientificByToChars(double magnitude, int decimals = kExactDecimals);
#endif
