#include "growth/exact_digits.h"

#include <cstdio>

// (The to_chars source is in a file of its own, so that a program that
// takes its digits from snprintf does not link to_chars.)

std::string exactScientificBySnprintf(double magnitude, int decimals) {
  char buffer[kExactScientificBytes];
  const int length = std::snprintf(buffer, sizeof buffer, "%.*e", decimals, magnitude);
  return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

std::string exactScientific(double magnitude, int decimals) {
#if GROWTH_DIGITS_FROM_SNPRINTF
  return exactScientificBySnprintf(magnitude, decimals);
#else
  return exactScientificByToChars(magnitude, decimals);
#endif
}

std::string scientificForRounding(double magnitude) {
  constexpr int kShortDecimals = 48;
  const bool shortIsExact = magnitude >= 1e-7 && magnitude < 1e48;
  return exactScientific(magnitude, shortIsExact ? kShortDecimals : kExactDecimals);
}
