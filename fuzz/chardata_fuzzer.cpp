// Feeds arbitrary bytes to the data file reader, whole and in pieces, and
// checks that both give the roster that a plain reading of the file rules
// gives, and that the roster's invariant holds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>

#include "roster/chardata_loader.h"
#include "roster/cp932_text.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

void checkInvariant(const CharacterRoster& roster) {
  for (int rarity = 0; rarity < kRarityCount; ++rarity) {
    const int count = roster.count(rarity);
    require(count >= 0 && count <= kSlotsPerRarity);
    for (int index = 0; index < kSlotsPerRarity; ++index) {
      const CharacterRecord* slot = roster.slot(rarity, index);
      require(slot != nullptr);
      if (index < count) {
        require(slot->index == index && slot->rarity == rarity);
        require(slot->name.size() <= kMaxNameBytes);
        require(roster.record(rarity, index) == slot);
      } else {
        require(slot->index == -1 && slot->rarity == -1 && slot->name.empty());
        require(slot->hp == 0 && slot->attack == 0 && slot->defence == 0 && slot->speed == 0);
        require(roster.record(rarity, index) == nullptr);
      }
    }
  }
}

// The file rules, read as plainly as possible: the lines of the text, each
// cut at a NUL, a rarity prefix, one skipped byte, a token, four numbers.
void readPlainly(CharacterRoster& roster, std::string_view text) {
  text = text.substr(0, text.find('\x1A'));
  while (!text.empty()) {
    const std::size_t lineFeed = text.find('\n');
    std::string_view line = text.substr(0, lineFeed);
    text = lineFeed == std::string_view::npos ? std::string_view{} : text.substr(lineFeed + 1);
    if (lineFeed != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
    line = line.substr(0, line.find('\0'));
    if (line.size() < 5 || line[0] == '#') continue;
    int rarity = -9999;
    for (int code = 0; code < kRarityCount; ++code) {
      if (line.substr(0, 4) == rarityName(code)) rarity = code;
    }
    std::string_view fields = line.substr(5);
    std::size_t at = 0;
    while (at < fields.size() && isAsciiSpace(static_cast<unsigned char>(fields[at]))) ++at;
    const std::size_t nameStart = at;
    while (at < fields.size() && !isAsciiSpace(static_cast<unsigned char>(fields[at]))) ++at;
    const std::string_view name = cp932Prefix(fields.substr(nameStart, at - nameStart), kMaxNameBytes);
    std::int32_t numbers[4] = {};
    for (std::int32_t& number : numbers) {
      const std::optional<std::int32_t> scanned = scanDecimal(fields, at);
      if (!scanned) break;
      number = *scanned;
    }
    roster.add(rarity, name, {numbers[0], numbers[1], numbers[2], numbers[3]});
  }
}

void checkSame(const CharacterRoster& a, const CharacterRoster& b) {
  for (int rarity = 0; rarity < kRarityCount; ++rarity) {
    require(a.count(rarity) == b.count(rarity));
    for (int index = 0; index < a.count(rarity); ++index) {
      const CharacterRecord& x = *a.record(rarity, index);
      const CharacterRecord& y = *b.record(rarity, index);
      require(x.name == y.name && x.hp == y.hp && x.attack == y.attack && x.defence == y.defence &&
              x.speed == y.speed);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the piece size for the second reading.
  const std::size_t pieceBytes = std::size_t{data[0]} + 1;
  const std::string_view contents(reinterpret_cast<const char*>(data) + 1, size - 1);

  // Made once: a fresh 6 x 9999 table per input would be most of the time.
  static const auto whole = std::make_unique<CharacterRoster>();
  static const auto pieces = std::make_unique<CharacterRoster>();
  static const auto plain = std::make_unique<CharacterRoster>();
  whole->clear();
  pieces->clear();
  plain->clear();
  readPlainly(*plain, contents);

  readCharacterData(*whole, contents);
  CharacterDataReader reader(*pieces);
  for (std::size_t at = 0; at < contents.size(); at += pieceBytes) {
    reader.feed(contents.substr(at, pieceBytes));
  }
  reader.finish();

  checkInvariant(*whole);
  checkSame(*whole, *plain);
  checkSame(*whole, *pieces);
  return 0;
}
