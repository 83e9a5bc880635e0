#include "growth/exact_digits.h"

#include <cstdio>

// (The to_chars source is in a file of its own, so that a program that
// takes its digits from snprintf does not link to_chars.)

std::string exactScientificBySnprintf(double magnitude) {
  char buffer[kExactScientificBytes];
  const int length = std::snprintf(buffer, sizeof buffer, "%.*e", kExactDecimals, magnitude);
  return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

std::string exactScientific(double magnitude) {
#if GROWTH_DIGITS_FROM_SNPRINTF
  return exactScientificBySnprintf(magnitude);
#else
  return exactScientificByToChars(magnitude);
#endif
}
