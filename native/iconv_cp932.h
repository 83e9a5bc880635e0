#pragma once
// The POSIX side of the core's character conversion, for the native builds
// (tests, benchmarks, fuzzers): glibc's iconv "CP932". It agrees with
// Windows' code page 932 table on every BMP character but five, U+0080 and
// U+F8F0 to U+F8F3, which it lacks and Windows writes as single bytes;
// those come from the core's windowsOnlyCp932Byte.

#include <string>

// One BMP character in CP932, or "?" where CP932 has no such character.
// As Windows does with WC_NO_BEST_FIT_CHARS, a character is converted only
// if its CP932 form converts back to it: iconv's one-way mappings (U+00A5
// to 5C, U+301C to 81 60, ...) are look-alikes, and give "?".
std::string iconvCharacterToCp932(char16_t character);

// Installs it in the core's platform services.
void installIconvCharacterConversion();
