#pragma once
// A character the player adds to the roster in use (the web page does),
// as the line of chardata.txt that holds it: the rarity name, one space,
// the name, then the four base stats, each after one space. The line is
// read by the data file's own rules into the roster, so what is added is
// exactly what the Windows program reads from the same line appended to
// its file. A name is refused where the line could not hold it.

#include <cstddef>
#include <string>
#include <string_view>

#include "roster/character_roster.h"

// Why a character cannot be added; `none` where it was.
enum class AddingProblem : unsigned char {
  none,
  noRarity,        // not one of the six codes
  emptyName,
  whiteSpace,      // ASCII white space, where the loader would end the name: `at` is its place in the name
  notCp932,        // a character CP932 cannot hold: `at` is its place (in UTF-16 units)
  tooLong,         // more than 98 CP932 bytes: `at` is how many
  baseOutOfRange,  // a base stat outside 1 to 1,073,741,823: `at` is which (0 HP to 3 speed)
  rarityFull,      // the rarity holds 9999 already
  readOtherwise,   // the line reads as another character (a character that ends a line or the text)
};

// Base stats an added character may have: at least 1, and twice the base
// within the signed 32-bit range.
inline constexpr std::int32_t kLargestAddedBase = 1073741823;

struct AddingOutcome {
  AddingProblem problem = AddingProblem::none;
  std::size_t at = 0;
  int index = -1;          // where it went in its rarity
  bool duplicate = false;  // the rarity held the same name already (allowed, as the file allows it)
};

// Adds the character of `rarity`, `name` (UTF-16, as the page has it,
// converted to CP932 by the platform's conversion) and `base` to `roster`,
// by reading its line; or says why not, changing nothing.
AddingOutcome addCharacterLine(CharacterRoster& roster, int rarity, std::u16string_view name, const BaseStats& base);

// The line of chardata.txt that holds a character, without a line end (CP932).
std::string characterLine(const CharacterRecord& character);
