#pragma once
// Number text for the result lines: printf-style "%d", "%.1f" and "%.2f",
// with rounding of our own so every platform prints the same digits.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// "%d".
std::string formatInteger(std::int64_t value);

// "%.Nf" for `decimals` 0..9. The exact value of the double is rounded to
// 17 significant digits (an eighteenth digit of 5 or more rounds up), and
// that is rounded at the last printed decimal (a first dropped digit of 5
// or more rounds the magnitude up): 6.25 gives 6.3, and so does the double
// nearest 6.25 from below. The sign is kept as printf keeps it ("-0.0").
// Not-a-number and infinities print as "nan", "inf" and "-inf".
std::string formatFixed(double value, int decimals);

// The last "%.Nf" texts made, for a caller that formats thousands of
// figures that recur (an import computing its checks again): each text
// takes the exact digits of a double, and the same figures come back from
// one check to the next. Gives formatFixed's text, from memory where it
// was made lately. Owned by its caller; the formatting itself keeps nothing.
class FixedTexts {
 public:
  FixedTexts() : made_(kSlots) {}
  const std::string& text(double value, int decimals);

 private:
  static constexpr std::size_t kSlots = 1024;
  struct Made {
    std::uint64_t bits = 0;
    int decimals = -1;
    std::string text;
  };
  std::vector<Made> made_;
};

// One argument of formatLine.
struct FormatArg {
  FormatArg(std::int32_t v) : isInteger(true), integer(v) {}  // NOLINT: implicit by design
  FormatArg(std::int64_t v) : isInteger(true), integer(v) {}  // NOLINT
  FormatArg(double v) : isInteger(false), real(v) {}          // NOLINT
  bool isInteger;
  std::int64_t integer = 0;
  double real = 0.0;
};

// Fills a printf-style format that uses only "%d", "%.1f", "%.2f" and "%%",
// in order, from `args`. The result is as long as it needs to be.
// A conversion of the wrong kind or without an argument is left as written.
// `texts`, where given, makes the decimals.
std::string formatLine(std::string_view format, std::initializer_list<FormatArg> args, FixedTexts* texts = nullptr);

// A text field's number, read as atoi reads it: leading white space, an
// optional sign and the digits up to the first other byte; no digits give 0,
// and a number beyond the signed 32-bit range gives the nearest end of it.
std::int32_t fieldTextToNumber(std::string_view text);
