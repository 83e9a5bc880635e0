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
// source the build chose.
std::string exactScientific(double magnitude);

// Each source on its own, where the build has it, so that tests can compare.
std::string exactScientificBySnprintf(double magnitude);
#if GROWTH_HAVE_TO_CHARS_PRECISION
std::string exactScientificByToChars(double magnitude);
#endif
