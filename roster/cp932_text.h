#pragma once
// Byte-level helpers for CP932 text: white space, double-byte characters,
// and decimal integers read the way the C library's "%d" and atoi read them,
// but with a defined result for every input.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

// The ASCII white space of the C locale: space, tab, LF, VT, FF, CR. A table,
// since the data file loader asks it of nearly every byte it reads.
inline constexpr std::array<bool, 256> kAsciiSpace = [] {
  std::array<bool, 256> table{};
  for (const unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r'}) table[c] = true;
  return table;
}();
constexpr bool isAsciiSpace(unsigned char c) { return kAsciiSpace[c]; }

// A byte that starts a double-byte CP932 character. The byte after it is
// never ASCII white space in valid text.
constexpr bool isCp932LeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The longest prefix of `text` of at most `maxBytes` bytes that does not
// split a double-byte character.
std::string_view cp932Prefix(std::string_view text, std::size_t maxBytes);

// From `position`: skips white space, takes an optional sign and the decimal
// digits that follow. A number beyond the signed 32-bit range gives the
// nearest end of that range. On success `position` moves past the digits;
// with no digits the result is empty and `position` is left unchanged.
// The data file loader reads four numbers a line with it, so it is inline.
inline std::optional<std::int32_t> scanDecimal(std::string_view text, std::size_t& position) {
  std::size_t at = position;
  while (at < text.size() && isAsciiSpace(static_cast<unsigned char>(text[at]))) ++at;

  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }

  // Accumulate in 64 bits and stop growing once past the 32-bit range, so
  // that any number of digits is read without overflow.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  const std::size_t firstDigit = at;
  std::int64_t magnitude = 0;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
    if (magnitude <= kLimit) magnitude = magnitude * 10 + (text[at] - '0');
    ++at;
  }
  if (at == firstDigit) return std::nullopt;

  position = at;
  if (negative) {
    return magnitude >= kLimit ? std::numeric_limits<std::int32_t>::min()
                               : static_cast<std::int32_t>(-magnitude);
  }
  return magnitude >= kLimit ? std::numeric_limits<std::int32_t>::max()
                             : static_cast<std::int32_t>(magnitude);
}
