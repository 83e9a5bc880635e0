#pragma once
// Byte-level helpers for CP932 text: white space, double-byte characters,
// and decimal integers read the way the C library's "%d" and atoi read them,
// but with a defined result for every input.

#include <array>
#include <cstddef>
#include <cstdint>
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

// The characters that Windows' code page 932 writes as single bytes beyond
// JIS: U+0080 as 80, and the private-use U+F8F0 to U+F8F3 as A0, FD, FE
// and FF. Neither glibc's iconv nor the browsers' Shift_JIS table has
// them, so the converters of those platforms look here first.
std::optional<unsigned char> windowsOnlyCp932Byte(char16_t character);

// The longest prefix of `text` of at most `maxBytes` bytes that does not
// split a double-byte character.
std::string_view cp932Prefix(std::string_view text, std::size_t maxBytes);

// One past the signed 32-bit range: a magnitude that reaches it while a
// number is read stays there, whatever number of digits follow.
inline constexpr std::int64_t kBeyondInt32 = std::int64_t{2147483647} + 1;

// The number a sign and a magnitude stand for, clamped to the signed 32-bit
// range.
constexpr std::int32_t clampedToInt32(bool negative, std::int64_t magnitude) {
  if (magnitude >= kBeyondInt32) return negative ? -2147483647 - 1 : 2147483647;
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

// From `position`: skips white space, takes an optional sign and the decimal
// digits that follow. A number beyond the signed 32-bit range gives the
// nearest end of that range. On success `position` moves past the digits;
// with no digits the result is empty and `position` is left unchanged.
std::optional<std::int32_t> scanDecimal(std::string_view text, std::size_t& position);
