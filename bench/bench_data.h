#pragma once
// The data both benchmarks load: 10,001 characters per rarity (so the
// 10,000th and 10,001st of each are dropped), comments between them, and
// katakana names of three to eight characters.

#include <ostream>
#include <string>

#include "roster/rarity.h"

inline constexpr int kBenchLinesPerRarity = 10001;

inline std::string benchCharacterName(int n) {
  static constexpr const char* kSyllables[] = {"ア", "カ", "サ", "タ", "ナ", "ハ", "マ", "ヤ", "ラ", "ワ",
                                               "ン", "ギ", "ズ", "デ", "ボ", "リ", "ル", "レ", "ロ", "ー"};
  std::string name;
  const int length = 3 + n % 6;
  for (int i = 0, x = n; i < length; ++i, x = x / 7 + i * 13) name += kSyllables[x % 20];
  return name;
}

inline void writeBenchDataFile(std::ostream& file) {
  file << "# name HP attack defence speed\r\n";
  for (int line = 0; line < kBenchLinesPerRarity; ++line) {
    for (int rarity = 0; rarity < kRarityCount; ++rarity) {
      const int n = line * kRarityCount + rarity;
      file << rarityName(rarity) << ' ' << benchCharacterName(n) << ' ' << 30 + n % 170 << ' ' << 10 + n % 90
           << ' ' << 10 + n % 80 << ' ' << 10 + n % 70 << "\r\n";
    }
    if (line % 100 == 0) file << "# ---- block " << line / 100 << " ----\r\n";
  }
}
