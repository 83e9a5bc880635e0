#include "roster/chardata_loader.h"

#include <array>
#include <fstream>

#include "roster/cp932_text.h"
#include "roster/platform_services.h"

namespace {

constexpr std::string_view kDataFileName = "chardata.txt";
constexpr std::string_view kOpenFailedText = "file:chardata.txt 読み込み失敗";
constexpr std::string_view kOpenFailedCaption = "error!!";
constexpr char kEndOfFileByte = '\x1A';
// The fields start after the rarity name and one separator byte, whatever it is.
constexpr std::size_t kFieldsAt = kRarityNameBytes + 1;
constexpr int kNoRarity = -9999;  // no add accepts it
constexpr std::size_t kReadChunkBytes = 64 * 1024;

#if defined(_WIN32)
constexpr char kDirectorySeparator = '\\';
#else
constexpr char kDirectorySeparator = '/';
#endif

// Four bytes as one number, so a prefix is matched by one comparison.
constexpr std::uint32_t fourBytes(std::string_view text) {
  return std::uint32_t{static_cast<unsigned char>(text[0])} |
         std::uint32_t{static_cast<unsigned char>(text[1])} << 8 |
         std::uint32_t{static_cast<unsigned char>(text[2])} << 16 |
         std::uint32_t{static_cast<unsigned char>(text[3])} << 24;
}

const std::array<std::uint32_t, kRarityCount> kRarityPrefixes = [] {
  std::array<std::uint32_t, kRarityCount> prefixes{};
  for (int code = 0; code < kRarityCount; ++code) prefixes[std::size_t(code)] = fourBytes(rarityName(code));
  return prefixes;
}();

// The code of the last rarity whose name the line starts with (the line
// holds at least four bytes).
int rarityOfLine(std::string_view line) {
  const std::uint32_t prefix = fourBytes(line);
  int rarity = kNoRarity;
  for (int code = 0; code < kRarityCount; ++code) {
    if (prefix == kRarityPrefixes[std::size_t(code)]) rarity = code;
  }
  return rarity;
}

const char* skipSpaces(const char* at, const char* end) {
  while (at < end && isAsciiSpace(static_cast<unsigned char>(*at))) ++at;
  return at;
}

const char* skipToken(const char* at, const char* end) {
  while (at < end && !isAsciiSpace(static_cast<unsigned char>(*at))) ++at;
  return at;
}

// "%d" on [at, end): as scanDecimal, with a short path for the few digits
// that stats have. A bool and an out-parameter rather than an optional: the
// optional's two-part store stalls the load that reads it, once per number.
bool scanNumber(const char*& at, const char* end, std::int32_t& number) {
  const char* p = skipSpaces(at, end);
  const bool negative = p < end && *p == '-';
  if (negative || (p < end && *p == '+')) ++p;
  const char* const digits = p;
  const char* const nineDigits = end - p > 9 ? p + 9 : end;
  std::int32_t value = 0;  // nine digits cannot overflow
  while (p < nineDigits && static_cast<unsigned char>(*p - '0') < 10) {
    value = value * 10 + (*p - '0');
    ++p;
  }
  if (p == digits) return false;
  if (p < end && static_cast<unsigned char>(*p - '0') < 10) {  // ten or more: saturate
    std::size_t position = 0;
    number = *scanDecimal(std::string_view(at, std::size_t(end - at)), position);
    at += position;
    return true;
  }
  number = negative ? -value : value;
  at = p;
  return true;
}

// One line, without its line end and without NUL bytes. The fields after
// the separator are read as "%s %d %d %d %d" would read them: a name token
// (its first 98 bytes kept, the rest of it skipped), then up to four numbers,
// stopping at the first that does not scan. What is not read keeps its empty
// value: no name, numbers 0.
void readCharacterLine(CharacterRoster& roster, std::string_view line) {
  // A line too short to hold the rarity and the separator holds no character.
  if (line.size() < kFieldsAt || line[0] == '#') return;
  const int rarity = rarityOfLine(line);
  if (!isRarityCode(rarity)) return;

  const char* at = line.data() + kFieldsAt;
  const char* const end = line.data() + line.size();
  const char* nameStart = skipSpaces(at, end);
  at = skipToken(nameStart, end);
  const std::string_view name = cp932Prefix({nameStart, std::size_t(at - nameStart)}, kMaxNameBytes);

  BaseStats stats;  // HP, attack, defence, speed, in the file's order
  for (std::int32_t* number : {&stats.hp, &stats.attack, &stats.defence, &stats.speed}) {
    if (!scanNumber(at, end, *number)) break;
  }
  roster.add(rarity, name, stats);
}

}  // namespace

void CharacterDataReader::readLine(std::string_view line) {
  // The line's text ends where a C string would, at its first NUL.
  if (mayHoldNul_) line = line.substr(0, line.find('\0'));
  readCharacterLine(roster_, line);
}

void CharacterDataReader::feed(std::string_view bytes) {
  if (ended_) return;
  if (const std::size_t end = bytes.find(kEndOfFileByte); end != std::string_view::npos) {
    bytes = bytes.substr(0, end);
    ended_ = true;
  }
  // One search a piece spares one a line: NUL bytes are rare.
  mayHoldNul_ = !pendingLine_.empty() || bytes.find('\0') != std::string_view::npos;
  std::size_t start = 0;
  for (std::size_t lineFeed; (lineFeed = bytes.find('\n', start)) != std::string_view::npos;
       start = lineFeed + 1) {
    std::string_view line = bytes.substr(start, lineFeed - start);
    if (!pendingLine_.empty()) {
      pendingLine_.append(line);
      line = pendingLine_;
    }
    if (line.ends_with('\r')) line.remove_suffix(1);
    readLine(line);
    pendingLine_.clear();
  }
  pendingLine_.append(bytes.substr(start));
}

void CharacterDataReader::finish() {
  // A last line without a line feed; a carriage return at its end stays.
  if (!pendingLine_.empty()) readLine(pendingLine_);
  pendingLine_.clear();
  ended_ = true;
}

void readCharacterData(CharacterRoster& roster, std::string_view contents) {
  CharacterDataReader reader(roster);
  reader.feed(contents);
  reader.finish();
}

std::string dataFilePathText(std::string_view directory) {
  std::string path(directory);
  path += kDirectorySeparator;
  path += kDataFileName;
  return path;
}

bool loadCharacterData(CharacterRoster& roster, std::string_view directoryText,
                       const std::filesystem::path& directory) {
  debugTrace("%s\n", dataFilePathText(directoryText).c_str());

  std::filesystem::path path = directory;
  path += std::filesystem::path::value_type{kDirectorySeparator};
  path += kDataFileName;
  std::ifstream file(path, std::ios::binary);
  if (!file.is_open()) {
    if (platformServices().showMessageBox) {
      platformServices().showMessageBox(kOpenFailedText, kOpenFailedCaption);
    }
    return true;
  }

  CharacterDataReader reader(roster);
  std::string chunk(kReadChunkBytes, '\0');
  while (!reader.ended() && file) {
    file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    reader.feed(std::string_view(chunk.data(), static_cast<std::size_t>(file.gcount())));
  }
  reader.finish();

  for (int rarity = 0; rarity < kRarityCount; ++rarity) debugTrace("%d ", roster.count(rarity));
  debugTrace("\n");
  return false;
}

bool loadCharacterData(CharacterRoster& roster, std::string_view directory) {
  return loadCharacterData(roster, directory, std::filesystem::path(std::string(directory)));
}
