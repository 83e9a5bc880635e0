#include "roster/cp932_text.h"

std::optional<unsigned char> windowsOnlyCp932Byte(char16_t character) {
  switch (character) {
    case u'\u0080': return 0x80;
    case u'\uF8F0': return 0xA0;
    case u'\uF8F1': return 0xFD;
    case u'\uF8F2': return 0xFE;
    case u'\uF8F3': return 0xFF;
    default: return std::nullopt;
  }
}

std::string_view cp932Prefix(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = 0;
  while (end < text.size()) {
    const bool pair = isCp932LeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size();
    const std::size_t next = end + (pair ? 2 : 1);
    if (next > maxBytes) break;
    end = next;
  }
  return text.substr(0, end);
}

std::optional<std::int32_t> scanDecimal(std::string_view text, std::size_t& position) {
  std::size_t at = position;
  while (at < text.size() && isAsciiSpace(static_cast<unsigned char>(text[at]))) ++at;

  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }

  // Accumulate in 64 bits and stop growing once past the 32-bit range, so
  // that any number of digits is read without overflow.
  const std::size_t firstDigit = at;
  std::int64_t magnitude = 0;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
    if (magnitude < kBeyondInt32) magnitude = magnitude * 10 + (text[at] - '0');
    ++at;
  }
  if (at == firstDigit) return std::nullopt;

  position = at;
  return clampedToInt32(negative, magnitude);
}
