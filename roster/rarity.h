#pragma once
// The six rarities of the game. A rarity code is also a position in the
// rarity list of the form and the order in which data file prefixes are tried.

#include <array>
#include <string_view>

inline constexpr int kRarityCount = 6;

// Four CP932 bytes each: two full-width characters.
inline constexpr std::size_t kRarityNameBytes = 4;

// Name of rarity `code` (0..5) as CP932 bytes; empty for any other code.
std::string_view rarityName(int code);

// True when `code` names one of the six rarities.
constexpr bool isRarityCode(int code) { return code >= 0 && code < kRarityCount; }
