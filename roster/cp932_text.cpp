#include "roster/cp932_text.h"


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
