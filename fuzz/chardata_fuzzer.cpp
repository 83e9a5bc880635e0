// Feeds arbitrary bytes to the data file reader and checks it against a
// plain reading of the file rules: the CP932 reader whole and in pieces,
// and, for text that CP932 can hold, the same text saved as UTF-8 and
// UTF-16 (with and without byte order marks), which must load the same
// roster as its CP932 twin. The roster's invariant is checked on every slot
// that a reading can have changed. The bytes as a name of UTF-16 units are
// added to the roster by their line, as the web page adds a character:
// refused with the roster as it was, or read back as the same character.

#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "native/iconv_cp932.h"
#include "roster/added_character.h"
#include "roster/chardata_loader.h"
#include "roster/cp932_text.h"
#include "roster/platform_services.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

// The filled slots and the first empty one after them: all a reading into
// a cleared roster can have written.
void checkInvariant(const CharacterRoster& roster) {
  for (int rarity = 0; rarity < kRarityCount; ++rarity) {
    const int count = roster.count(rarity);
    require(count >= 0 && count <= kSlotsPerRarity);
    for (int index = 0; index < count; ++index) {
      const CharacterRecord* slot = roster.slot(rarity, index);
      require(slot->index == index && slot->rarity == rarity);
      require(slot->name.size() <= kMaxNameBytes);
      require(roster.record(rarity, index) == slot);
    }
    if (count < kSlotsPerRarity) {
      const CharacterRecord* slot = roster.slot(rarity, count);
      require(slot->index == -1 && slot->rarity == -1 && slot->name.empty());
      require(slot->hp == 0 && slot->attack == 0 && slot->defence == 0 && slot->speed == 0);
      require(roster.record(rarity, count) == nullptr);
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

// Same counts, and the same filled slots.
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

template <typename Reader>
void readInPieces(Reader& reader, std::string_view contents, std::size_t pieceBytes) {
  for (std::size_t at = 0; at < contents.size(); at += pieceBytes) reader.feed(contents.substr(at, pieceBytes));
  reader.finish();
}

// The CP932 text as UTF-16 code units, when every character of it converts
// back to exactly its bytes: text that CP932 can hold.
std::optional<std::u16string> heldByCp932(std::string_view cp932) {
  static const iconv_t toUtf16 = iconv_open("UTF-16LE", "CP932");
  std::string in(cp932), out(cp932.size() * 2 + 2, '\0');
  char* inAt = in.data();
  char* outAt = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  iconv(toUtf16, nullptr, nullptr, nullptr, nullptr);
  if (iconv(toUtf16, &inAt, &inLeft, &outAt, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
    return std::nullopt;
  }
  std::u16string units;
  std::string back;
  for (const char* at = out.data(); at < outAt; at += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(at[0]) | static_cast<unsigned char>(at[1]) << 8);
    units += unit;
    back += unit < 0x80 ? std::string(1, static_cast<char>(unit)) : iconvCharacterToCp932(unit);
  }
  if (back != cp932) return std::nullopt;
  return units;
}

std::string utf8Of(std::u16string_view units) {
  std::string out;
  for (const char16_t unit : units) {  // CP932 holds no character beyond the BMP
    if (unit < 0x80) {
      out += static_cast<char>(unit);
    } else if (unit < 0x800) {
      out += static_cast<char>(0xC0 | unit >> 6);
      out += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | unit >> 12);
      out += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (unit & 0x3F));
    }
  }
  return out;
}

std::string utf16Of(std::u16string_view units, bool bigEndian) {
  std::string out;
  for (const char16_t unit : units) {
    out += static_cast<char>(bigEndian ? unit >> 8 : unit & 0xFF);
    out += static_cast<char>(bigEndian ? unit & 0xFF : unit >> 8);
  }
  return out;
}

const bool kConversionInstalled = [] {
  installIconvCharacterConversion();
  return true;
}();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the piece size for the readings in pieces.
  const std::size_t pieceBytes = std::size_t{data[0]} + 1;
  const std::string_view contents(reinterpret_cast<const char*>(data) + 1, size - 1);

  // Made once: a fresh 6 x 9999 table per input would be most of the time.
  static const auto expected = std::make_unique<CharacterRoster>();
  static const auto read = std::make_unique<CharacterRoster>();
  expected->clear();
  readPlainly(*expected, contents);

  const auto check = [&](auto&& readInto) {
    read->clear();
    readInto(*read);
    checkInvariant(*read);
    checkSame(*read, *expected);
  };
  check([&](CharacterRoster& roster) {
    Cp932CharacterReader reader(roster);
    reader.feed(contents);
    reader.finish();
  });
  check([&](CharacterRoster& roster) {
    Cp932CharacterReader reader(roster);
    readInPieces(reader, contents, pieceBytes);
  });

  // Any bytes through the detecting reader: whatever it decides, no fault.
  read->clear();
  readCharacterData(*read, contents);
  checkInvariant(*read);

  // The same text saved as Unicode loads the same roster.
  const std::string_view text = contents.substr(0, contents.find('\x1A'));
  if (const std::optional<std::u16string> units = heldByCp932(text)) {
    const std::string utf8 = utf8Of(*units);
    const std::string saved[] = {utf8, "\xEF\xBB\xBF" + utf8, "\xFF\xFE" + utf16Of(*units, false),
                                 "\xFE\xFF" + utf16Of(*units, true)};
    for (const std::string& bytes : saved) check([&](CharacterRoster& roster) { readCharacterData(roster, bytes); });
    check([&](CharacterRoster& roster) {
      CharacterDataReader reader(roster);
      readInPieces(reader, saved[data[0] % 4], pieceBytes);
    });
    // UTF-16 without a mark is not recognised; it must still read safely.
    read->clear();
    readCharacterData(*read, utf16Of(*units, data[0] & 1));
    checkInvariant(*read);
  }

  std::u16string name;
  for (std::size_t at = 1; at + 1 < size && name.size() < 64; at += 2) name += static_cast<char16_t>(data[at] | data[at + 1] << 8);
  const int rarity = data[0] % 7;  // 6: no such rarity
  const int before = read->total();
  const AddingOutcome added = addCharacterLine(*read, rarity, name, {1, 2, 3, 1073741823});
  checkInvariant(*read);
  if (added.problem != AddingProblem::none) {
    require(read->total() == before);
    return 0;
  }
  require(read->total() == before + 1);
  const CharacterRecord& character = *read->record(rarity, added.index);
  expected->clear();
  readCharacterData(*expected, characterLine(character) + "\r\n");
  require(expected->total() == 1 && expected->record(rarity, 0)->name == character.name && expected->record(rarity, 0)->speed == 1073741823);
  return 0;
}
