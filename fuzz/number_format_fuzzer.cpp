// Compares formatFixed and formatLine for "%.1f" and "%.2f" with an
// independent reading of the rounding rule on arbitrary doubles: the exact
// decimal expansion from glibc's printf (which prints exact digits at any
// precision), rounded to 17 significant digits on the 18th, then rounded
// half up at the last printed decimal, all on the digit string.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "growth/number_format.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

// Adds one at the last digit of a digit string; a carry off the front
// lengthens it ("99" becomes "100").
void addOneAtTheEnd(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

std::string expectedFixed(double value, int decimals) {
  if (std::isnan(value)) return "nan";
  const char* sign = std::signbit(value) ? "-" : "";
  if (std::isinf(value)) return std::string(sign) + "inf";

  // The exact value: every double has at most 1074 digits after the point.
  static char exact[1500];
  std::snprintf(exact, sizeof exact, "%.1100f", std::fabs(value));
  std::string integerPart(exact, std::strchr(exact, '.'));
  std::string fraction(std::strchr(exact, '.') + 1);
  std::string digits = integerPart + fraction;  // the point sits after integerPart.size() digits
  std::size_t point = integerPart.size();

  // Rounded to 17 significant digits, on the 18th.
  const std::size_t first = digits.find_first_not_of('0');
  if (first != std::string::npos && digits.size() - first > 17) {
    const bool up = digits[first + 17] >= '5';
    digits.resize(first + 17);
    if (up) {
      const std::size_t before = digits.size();
      addOneAtTheEnd(digits);
      point += digits.size() - before;
    }
    digits.append(1200, '0');  // the places after the 17 digits are zeros now
  }

  // Rounded half up at the last printed decimal.
  std::string kept = digits.substr(0, point + static_cast<std::size_t>(decimals));
  if (digits[point + static_cast<std::size_t>(decimals)] >= '5') {
    const std::size_t before = kept.size();
    addOneAtTheEnd(kept);
    point += kept.size() - before;
  }
  std::string whole = kept.substr(0, point);
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));  // "007" is "7", "0" stays
  if (whole.empty()) whole = "0";
  std::string out = sign + whole;
  if (decimals > 0) out += "." + kept.substr(point);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return 0;
  double value;
  std::memcpy(&value, data, sizeof value);
  const std::string one = expectedFixed(value, 1);
  const std::string two = expectedFixed(value, 2);
  require(formatFixed(value, 1) == one);
  require(formatFixed(value, 2) == two);
  require(formatLine("%.1f", {value}) == one);
  require(formatLine("%.2f", {value}) == two);
  // Within a line, among other conversions, as the result lines use them.
  const std::int32_t integer = size >= 12 ? static_cast<std::int32_t>(data[8] | data[9] << 8 | data[10] << 16 |
                                                                        static_cast<std::uint32_t>(data[11]) << 24)
                                          : 7;
  require(formatLine(" x+%d(+%.1f%%)  y %.2f", {integer, value, value}) ==
          " x+" + std::to_string(integer) + "(+" + one + "%)  y " + two);
  return 0;
}
