#include "roster/rarity.h"

namespace {

// Compiled to CP932, so each name is exactly four bytes.
constexpr std::array<std::string_view, kRarityCount> kRarityNames = {
    "兵士",  // 0 soldier
    "上兵",  // 1 senior soldier
    "戦士",  // 2 warrior
    "将軍",  // 3 general
    "王者",  // 4 champion
    "皇帝",  // 5 emperor
};

static_assert(kRarityNames[0].size() == kRarityNameBytes,
              "source must be compiled with the CP932 execution character set");

}  // namespace

std::string_view rarityName(int code) {
  return isRarityCode(code) ? kRarityNames[static_cast<std::size_t>(code)] : std::string_view{};
}
