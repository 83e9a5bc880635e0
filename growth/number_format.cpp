#include "growth/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "growth/exact_digits.h"
#include "roster/cp932_text.h"

namespace {

constexpr int kSignificantDigits = 17;

// Adds one to a string of decimal digits; returns false when the carry runs
// off the front ("999" becomes "000").
bool incrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return true;
    }
    *it = '0';
  }
  return false;
}

// The magnitude rounded to 17 significant digits: value = d.ddd... x 10^exponent.
struct SignificantDigits {
  std::string digits;  // exactly 17 digits, the first non-zero
  int exponent = 0;
};

SignificantDigits roundToSignificant(double magnitude) {
  const std::string scientific = scientificForRounding(magnitude);
  const std::string_view text = scientific;
  const std::size_t exponentMark = text.find('e');

  std::string exact;
  exact += text[0];
  exact.append(text.substr(2, exponentMark - 2));  // the digits after "d."
  const std::string_view exponentText = text.substr(exponentMark + 1);
  int exponent = 0;
  std::from_chars(exponentText.data() + (exponentText[0] == '+' ? 1 : 0),
                  exponentText.data() + exponentText.size(), exponent);

  static_assert(kRoundingDigits == kSignificantDigits + 1, "the digit after the 17th decides the rounding");
  SignificantDigits rounded{exact.substr(0, kSignificantDigits), exponent};
  if (exact[kSignificantDigits] >= '5' && !incrementDigits(rounded.digits)) {
    rounded.digits.insert(rounded.digits.begin(), '1');
    rounded.digits.pop_back();
    ++rounded.exponent;
  }
  return rounded;
}

// The magnitude times 10^decimals, rounded half up, as decimal digits.
std::string scaledRoundedDigits(double magnitude, int decimals) {
  if (magnitude == 0.0) return "0";
  const SignificantDigits value = roundToSignificant(magnitude);
  // Digit i has the place 10^(exponent - i); the first one dropped is the
  // one with place 10^-(decimals + 1).
  const int firstDropped = value.exponent + decimals + 1;
  if (firstDropped <= 0) {
    return firstDropped == 0 && value.digits[0] >= '5' ? "1" : "0";
  }
  if (firstDropped >= kSignificantDigits) {
    return value.digits + std::string(static_cast<std::size_t>(firstDropped - kSignificantDigits), '0');
  }
  std::string kept = value.digits.substr(0, static_cast<std::size_t>(firstDropped));
  if (value.digits[static_cast<std::size_t>(firstDropped)] >= '5' && !incrementDigits(kept)) {
    kept.insert(kept.begin(), '1');
  }
  return kept;
}

}  // namespace

std::string formatInteger(std::int64_t value) { return std::to_string(value); }

std::string formatFixed(double value, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > 9) decimals = 9;
  if (std::isnan(value)) return "nan";
  const bool negative = std::signbit(value);
  if (std::isinf(value)) return negative ? "-inf" : "inf";

  std::string digits = scaledRoundedDigits(std::fabs(value), decimals);
  const auto width = static_cast<std::size_t>(decimals) + 1;
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  if (decimals > 0) digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
  return negative ? "-" + digits : digits;
}

const std::string& FixedTexts::text(double value, int decimals) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  Made& slot = made_[(bits ^ (bits >> 29) ^ (bits >> 47) ^ static_cast<std::uint64_t>(decimals) * 0x9E3779B1u) % made_.size()];
  if (slot.bits != bits || slot.decimals != decimals) slot = {bits, decimals, formatFixed(value, decimals)};
  return slot.text;
}

std::string formatLine(std::string_view format, std::initializer_list<FormatArg> args, FixedTexts* texts) {
  std::string line;
  line.reserve(format.size() + 16 * args.size());
  const FormatArg* next = args.begin();
  std::size_t at = 0;
  while (at < format.size()) {
    // '%' (0x25) is never the second byte of a CP932 character, so a byte
    // scan finds exactly the conversions.
    const std::size_t percent = format.find('%', at);
    line.append(format.substr(at, percent - at));
    if (percent == std::string_view::npos) break;
    const std::string_view rest = format.substr(percent);
    const bool haveArg = next != args.end();
    if (rest.starts_with("%%")) {
      line += '%';
      at = percent + 2;
    } else if (rest.starts_with("%d") && haveArg && next->isInteger) {
      line += formatInteger((next++)->integer);
      at = percent + 2;
    } else if ((rest.starts_with("%.1f") || rest.starts_with("%.2f")) && haveArg && !next->isInteger) {
      const double real = (next++)->real;
      const int decimals = rest[2] - '0';
      if (texts) line += texts->text(real, decimals);
      else line += formatFixed(real, decimals);
      at = percent + 4;
    } else {
      line += '%';
      at = percent + 1;
    }
  }
  return line;
}

std::int32_t fieldTextToNumber(std::string_view text) {
  std::size_t position = 0;
  return scanDecimal(text, position).value_or(0);
}
