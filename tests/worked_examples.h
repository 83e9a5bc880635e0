#pragma once
// The growth check's three worked examples, from the one fixture that every
// suite reads (tests/fixtures/worked_examples.json, turned into C++ by the
// build): a character of `rarity` with `base` stats, the five numbers
// typed, and the seven lines top to bottom (CP932, as literals compile).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct WorkedExampleFixture {
  const char* name;
  int rarity;
  std::array<std::int32_t, 4> base;
  std::array<std::int32_t, 5> typed;
  std::array<const char*, 7> lines;
};

inline const WorkedExampleFixture kWorkedExamples[] = {
#include "worked_examples.inc"
};

inline std::vector<std::string> linesOf(const WorkedExampleFixture& example) {
  return {example.lines.begin(), example.lines.end()};
}
