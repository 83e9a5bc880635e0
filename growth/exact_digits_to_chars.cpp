#include "growth/exact_digits.h"

#if GROWTH_HAVE_TO_CHARS_PRECISION
#include <charconv>

std::string exactScientificByToChars(double magnitude, int decimals) {
  char buffer[kExactScientificBytes];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, decimals);
  return std::string(buffer, static_cast<std::size_t>(result.ptr - buffer));
}
#endif
