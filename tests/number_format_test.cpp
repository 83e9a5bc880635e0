#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "growth/number_format.h"

namespace {

struct FixedCase {
  double value;
  int decimals;
  const char* expected;
};

class FormatFixed : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FormatFixed, RoundsAsTheResultLinesRequire) {
  const FixedCase& c = GetParam();
  EXPECT_EQ(formatFixed(c.value, c.decimals), c.expected)
      << "value " << std::hexfloat << c.value << " with " << c.decimals << " decimals";
}

INSTANTIATE_TEST_SUITE_P(
    ExactHalvesRoundUp, FormatFixed,
    ::testing::Values(FixedCase{6.25, 1, "6.3"}, FixedCase{11.25, 1, "11.3"},
                      FixedCase{31.25, 1, "31.3"}, FixedCase{0.125, 2, "0.13"},
                      FixedCase{0.375, 2, "0.38"}, FixedCase{2.5, 0, "3"},
                      FixedCase{-6.25, 1, "-6.3"}, FixedCase{-0.125, 2, "-0.13"}));

// Doubles just below a half: they round up only when they lie within half a
// unit of the seventeenth significant digit.
INSTANTIATE_TEST_SUITE_P(
    NearHalves, FormatFixed,
    ::testing::Values(FixedCase{1.95, 1, "2.0"},    // 1.94999999999999995559...
                      FixedCase{1.45, 1, "1.5"},    // 1.44999999999999995559...
                      FixedCase{0.15, 1, "0.1"},    // 0.14999999999999999444...: too far below
                      FixedCase{1.005, 2, "1.00"},  // 1.00499999999999989341...: too far below
                      FixedCase{0.95, 1, "0.9"},    // 0.94999999999999995559...: rounds up in the 17th digit only
                      FixedCase{0.45, 1, "0.5"},    // 0.45000000000000001110... (above)
                      FixedCase{2.675, 2, "2.67"},  // 2.67499999999999982236...: too far below
                      FixedCase{9.95, 1, "9.9"},    // 9.94999999999999928945...: too far below
                      FixedCase{-1.95, 1, "-2.0"}, FixedCase{-2.675, 2, "-2.67"}));

INSTANTIATE_TEST_SUITE_P(
    PlainValues, FormatFixed,
    ::testing::Values(FixedCase{0.0, 1, "0.0"}, FixedCase{0.0, 2, "0.00"},
                      FixedCase{-0.0, 1, "-0.0"}, FixedCase{-0.04, 1, "-0.0"},
                      FixedCase{-0.05, 1, "-0.1"}, FixedCase{0.004, 2, "0.00"},
                      FixedCase{0.005, 2, "0.01"}, FixedCase{0.0004, 2, "0.00"},
                      FixedCase{5e-324, 2, "0.00"}, FixedCase{160.0, 1, "160.0"},
                      FixedCase{0.28, 2, "0.28"}, FixedCase{1.5, 2, "1.50"},
                      FixedCase{99.95, 1, "100.0"}, FixedCase{999.96, 1, "1000.0"},
                      FixedCase{1019.5, 1, "1019.5"}, FixedCase{4294967294.0, 1, "4294967294.0"},
                      FixedCase{1e20, 1, "100000000000000000000.0"},
                      // Seventeen significant digits, then zeros.
                      FixedCase{1152921504606846976.0, 1, "1152921504606847000.0"},
                      FixedCase{0.1, 2, "0.10"}, FixedCase{0.3, 1, "0.3"}));

TEST(FormatFixedSpecialValues, PrintTheSameEverywhere) {
  EXPECT_EQ(formatFixed(std::numeric_limits<double>::quiet_NaN(), 1), "nan");
  EXPECT_EQ(formatFixed(-std::numeric_limits<double>::quiet_NaN(), 1), "nan");
  EXPECT_EQ(formatFixed(std::numeric_limits<double>::infinity(), 2), "inf");
  EXPECT_EQ(formatFixed(-std::numeric_limits<double>::infinity(), 2), "-inf");
  const std::string largest = formatFixed(std::numeric_limits<double>::max(), 1);
  EXPECT_EQ(largest.size(), 309u + 2u);
  EXPECT_EQ(largest.substr(0, 17), "17976931348623157");
  EXPECT_EQ(largest.substr(17, 292), std::string(292, '0'));
  EXPECT_EQ(largest.substr(309), ".0");
}

// The texts a caller keeps are formatFixed's, whatever a slot held before:
// each value twice (the second from memory), among values that share slots,
// with other decimals for the same bits, and both zeros.
TEST(FixedTexts, GiveFormatFixedsTextWhateverTheyHeldBefore) {
  FixedTexts texts;
  std::vector<std::pair<double, int>> asked;
  for (int i = 0; i < 5000; ++i) asked.emplace_back(i * 0.05, 1 + i % 2);
  for (const double value : {6.25, 1.95, -0.0, 0.0, -6.25, std::nan(""), 1e300}) {
    for (const int decimals : {0, 1, 2}) asked.emplace_back(value, decimals);
  }
  for (int round = 0; round < 2; ++round) {
    for (const auto& [value, decimals] : asked) {
      ASSERT_EQ(texts.text(value, decimals), formatFixed(value, decimals)) << value << " with " << decimals;
    }
  }
  EXPECT_EQ(formatLine(" HP %.1f  攻 %.2f", {6.25, 0.125}, &texts), " HP 6.3  攻 0.13");
}

TEST(FormatInteger, PrintsAsPercentD) {
  EXPECT_EQ(formatInteger(0), "0");
  EXPECT_EQ(formatInteger(-17), "-17");
  EXPECT_EQ(formatInteger(2147483647), "2147483647");
  EXPECT_EQ(formatInteger(-2147483648LL), "-2147483648");
  EXPECT_EQ(formatInteger(4294967294LL), "4294967294");
}

TEST(FormatLine, FillsConversionsInOrder) {
  EXPECT_EQ(formatLine("a%db%.1fc%.2fd%%", {std::int32_t{7}, 1.25, 0.125}), "a7b1.3c0.13d%");
  EXPECT_EQ(formatLine("no conversions", {}), "no conversions");
  // A conversion without a fitting argument stays as written.
  EXPECT_EQ(formatLine("%d %.1f", {}), "%d %.1f");
  EXPECT_EQ(formatLine("%d", {1.5}), "%d");
  EXPECT_EQ(formatLine("100%", {}), "100%");
  // Lines are never cut, whatever their length.
  const std::string longText(500, 'x');
  EXPECT_EQ(formatLine(longText + "%d", {std::int32_t{1}}), longText + "1");
}

struct FieldCase {
  const char* text;
  std::int32_t expected;
};

class FieldTextToNumber : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldTextToNumber, ReadsAsAtoiWithoutOverflow) {
  EXPECT_EQ(fieldTextToNumber(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FieldTextToNumber,
    ::testing::Values(FieldCase{"", 0}, FieldCase{"0", 0}, FieldCase{"42", 42},
                      FieldCase{"   42", 42}, FieldCase{"\t\n\v\f\r 7", 7}, FieldCase{"+5", 5},
                      FieldCase{"-5", -5}, FieldCase{"-0", 0}, FieldCase{"12abc", 12},
                      FieldCase{"5 6", 5}, FieldCase{"abc", 0}, FieldCase{"-", 0},
                      FieldCase{"- 5", 0}, FieldCase{"+-5", 0}, FieldCase{"--5", 0},
                      FieldCase{"\xE3\x80\x80" "5", 0},  // a full-width space is no white space
                      FieldCase{"\x81\x40" "5", 0}, FieldCase{"0000000000000000000000012", 12},
                      FieldCase{"2147483647", 2147483647}, FieldCase{"2147483648", 2147483647},
                      FieldCase{"-2147483648", -2147483647 - 1},
                      FieldCase{"-2147483649", -2147483647 - 1},
                      FieldCase{"99999999999999999999999999999", 2147483647},
                      FieldCase{"-99999999999999999999999999999", -2147483647 - 1}));

}  // namespace

#if GROWTH_HAVE_TO_CHARS_PRECISION
#include <cstring>
#include <random>

#include "growth/exact_digits.h"

namespace {

// Either source of exact digits may be the one a build uses: they agree on
// the extremes and on doubles of every exponent.
TEST(ExactDigits, SnprintfAndToCharsGiveTheSameDigits) {
  std::vector<double> values = {0.0, 0.1, 1.95, 6.25, 1e-300, 4.9406564584124654e-324, 2.2250738585072014e-308,
                                1.7976931348623157e308, 1152921504606846976.0};
  std::mt19937_64 random(20261209);
  while (values.size() < 3000) {
    const std::uint64_t bits = random() & 0x7FFFFFFFFFFFFFFFu;  // positive
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (std::isfinite(value)) values.push_back(value);
  }
  for (const double value : values) {
    ASSERT_EQ(exactScientificBySnprintf(value), exactScientificByToChars(value)) << std::hexfloat << value;
  }
}

}  // namespace
#endif

#include <random>
#include <string>
#include <vector>

#include "growth/exact_digits.h"

namespace {

// The short form that rounding reads has the exact expansion's first 18
// significant digits, across its range and at its ends.
TEST(ExactDigits, TheShortFormStartsWithTheExactDigits) {
  std::vector<double> values = {1e-7, std::nextafter(1e-7, 0.0), 1e48, std::nextafter(1e48, 0.0), 0.1, 30.0, 1.0 / 3.0,
                                0.30000000000000004, 123456789.123456789, 9.999999999999999e47};
  std::mt19937_64 random(20261210);
  std::uniform_real_distribution<double> exponent(-9.0, 50.0);
  while (values.size() < 20000) values.push_back(std::pow(10.0, exponent(random)));
  const auto leading = [](const std::string& scientific) {
    return scientific.substr(0, kRoundingDigits + 1) + scientific.substr(scientific.find('e'));
  };
  for (const double value : values) {
    ASSERT_EQ(leading(scientificForRounding(value)), leading(exactScientific(value))) << std::hexfloat << value;
  }
}

}  // namespace
