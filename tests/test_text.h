#pragma once
// Helpers for comparing CP932 byte strings in tests.

#include <cstdio>
#include <string>
#include <string_view>

// "95 BA 8E 6D" style dump, for byte-exact expectations and readable failures.
inline std::string hexBytes(std::string_view bytes) {
  std::string out;
  char two[4];
  for (const unsigned char c : bytes) {
    std::snprintf(two, sizeof two, "%02X", c);
    if (!out.empty()) out += ' ';
    out += two;
  }
  return out;
}
