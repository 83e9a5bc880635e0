#include "roster/added_character.h"

#include <array>
#include <string>

#include "roster/cp932_character_reader.h"
#include "roster/cp932_text.h"
#include "roster/platform_services.h"
#include "roster/rarity.h"

namespace {

bool isAsciiSpaceUnit(char16_t unit) { return unit < 0x80 && isAsciiSpace(static_cast<unsigned char>(unit)); }
bool isSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// The name in CP932, or where its first character that CP932 cannot hold is.
struct Converted {
  std::string bytes;
  std::size_t unheld = std::u16string_view::npos;
};
Converted toCp932(std::u16string_view name) {
  Converted converted;
  for (std::size_t at = 0; at < name.size(); ++at) {
    const std::string bytes = isSurrogate(name[at]) ? "?" : platformServices().characterToCp932(name[at]);
    if (bytes == "?" && name[at] != u'?') {
      converted.unheld = at;
      return converted;
    }
    converted.bytes += bytes;
  }
  return converted;
}

std::string lineOf(int rarity, std::string_view name, const BaseStats& base) {
  std::string line(rarityName(rarity));
  line.append(" ").append(name);
  for (const std::int32_t stat : {base.hp, base.attack, base.defence, base.speed}) line.append(" ").append(std::to_string(stat));
  return line;
}

}  // namespace

AddingOutcome addCharacterLine(CharacterRoster& roster, int rarity, std::u16string_view name, const BaseStats& base) {
  if (!isRarityCode(rarity)) return {AddingProblem::noRarity};
  if (name.empty()) return {AddingProblem::emptyName};
  for (std::size_t at = 0; at < name.size(); ++at) {
    if (isAsciiSpaceUnit(name[at])) return {AddingProblem::whiteSpace, at};
  }
  const Converted converted = toCp932(name);
  if (converted.unheld != std::u16string_view::npos) return {AddingProblem::notCp932, converted.unheld};
  if (converted.bytes.size() > kMaxNameBytes) return {AddingProblem::tooLong, converted.bytes.size()};
  const std::array<std::int32_t, 4> stats = {base.hp, base.attack, base.defence, base.speed};
  for (std::size_t stat = 0; stat < stats.size(); ++stat) {
    if (stats[stat] < 1 || stats[stat] > kLargestAddedBase) return {AddingProblem::baseOutOfRange, stat};
  }
  const int before = roster.count(rarity);
  if (before >= kSlotsPerRarity) return {AddingProblem::rarityFull};

  bool duplicate = false;
  for (int index = 0; index < before; ++index) duplicate = duplicate || roster.record(rarity, index)->name == converted.bytes;
  // Read as the file's last line would be, with its line end.
  Cp932CharacterReader reader(roster);
  reader.feed(lineOf(rarity, converted.bytes, base) + "\r\n");
  reader.finish();
  const CharacterRecord* added = roster.record(rarity, before);
  const bool same = roster.count(rarity) == before + 1 && added->name == converted.bytes && added->hp == base.hp &&
                    added->attack == base.attack && added->defence == base.defence && added->speed == base.speed;
  if (!same) {
    roster.truncate(rarity, before);
    return {AddingProblem::readOtherwise};
  }
  return {AddingProblem::none, 0, before, duplicate};
}

std::string characterLine(const CharacterRecord& character) {
  return lineOf(character.rarity, character.name, {character.hp, character.attack, character.defence, character.speed});
}
