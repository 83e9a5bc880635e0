#include "roster/chardata_loader.h"

#include <array>
#include <cstring>
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

// How the field reader sees a byte. Every run of bytes it reads ends with
// a line feed, so it needs no other end.
enum class ByteKind : unsigned char { token, space, lineFeed };

constexpr std::array<ByteKind, 256> kByteKinds = [] {
  std::array<ByteKind, 256> kinds{};
  for (int c = 0; c < 256; ++c) {
    if (isAsciiSpace(static_cast<unsigned char>(c))) kinds[std::size_t(c)] = ByteKind::space;
  }
  kinds['\n'] = ByteKind::lineFeed;
  return kinds;
}();

ByteKind kindOf(char c) { return kByteKinds[static_cast<unsigned char>(c)]; }
bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// The code of the last rarity whose name the four bytes at `line` spell.
// No rarity name holds a line feed, a CR or a NUL, or starts with '#'.
int rarityOfLine(const char* line) {
  const std::uint32_t prefix = fourBytes({line, kRarityNameBytes});
  int rarity = kNoRarity;
  for (int code = 0; code < kRarityCount; ++code) {
    if (prefix == kRarityPrefixes[std::size_t(code)]) rarity = code;
  }
  return rarity;
}

const char* skipSpaces(const char* at) {
  while (kindOf(*at) == ByteKind::space) ++at;
  return at;
}

const char* skipToken(const char* at) {
  while (kindOf(*at) == ByteKind::token) ++at;
  return at;
}

// "%d" at `at`, within a line that a line feed ends. A bool and an
// out-parameter rather than an optional: the optional's two-part store
// stalls the load that reads it, once per number.
bool scanNumber(const char*& at, std::int32_t& number) {
  const char* const signAt = skipSpaces(at);
  const bool negative = *signAt == '-';
  const char* const digits = negative || *signAt == '+' ? signAt + 1 : signAt;
  const char* p = digits;
  std::int32_t value = 0;  // nine digits cannot overflow
  while (isDigit(*p) && p - digits < 9) {
    value = value * 10 + (*p - '0');
    ++p;
  }
  if (p == digits) return false;
  if (isDigit(*p)) {  // ten or more digits: the number may need clamping
    while (isDigit(*p)) ++p;
    std::size_t position = 0;
    number = *scanDecimal(std::string_view(signAt, std::size_t(p - signAt)), position);
  } else {
    number = negative ? -value : value;
  }
  at = p;
  return true;
}

// The fields after the separator, read as "%s %d %d %d %d" would read them:
// a name token (its first 98 bytes kept, the rest of it skipped), then up
// to four numbers, stopping at the first that does not scan. What is not
// read keeps its empty value: no name, numbers 0. A line feed ends the
// fields. Returns where reading stopped, at or before that line feed.
const char* readFields(CharacterRoster& roster, int rarity, const char* at) {
  const char* const nameStart = skipSpaces(at);
  at = skipToken(nameStart);
  const std::string_view name = cp932Prefix({nameStart, std::size_t(at - nameStart)}, kMaxNameBytes);

  BaseStats stats;  // HP, attack, defence, speed, in the file's order
  for (std::int32_t* number : {&stats.hp, &stats.attack, &stats.defence, &stats.speed}) {
    if (!scanNumber(at, *number)) break;
  }
  roster.add(rarity, name, stats);
  return at;
}

// The start of the line after the one that `at` is in; `end` follows a line feed.
const char* nextLine(const char* at, const char* end) {
  if (at[0] == '\n') return at + 1;
  if (at[0] == '\r' && at[1] == '\n') return at + 2;
  return static_cast<const char*>(std::memchr(at, '\n', std::size_t(end - at))) + 1;
}

// Reads whole lines in place: [at, end) ends with a line feed and holds no
// NUL. A CR before a line feed is a separator to the field reader, so it
// matters only to a line's length, which the separator's check settles.
void readTerminatedLines(CharacterRoster& roster, const char* at, const char* end) {
  // Fewer bytes than a rarity and a separator make only lines too short to read.
  while (std::size_t(end - at) >= kFieldsAt) {
    const int rarity = at[0] == '#' ? kNoRarity : rarityOfLine(at);
    // A rarity match holds no line end, so the separator byte is in the line:
    // the line is too short when the line ends there instead.
    const char* const separator = at + kRarityNameBytes;
    const bool tooShort = separator[0] == '\n' || (separator[0] == '\r' && separator[1] == '\n');
    if (isRarityCode(rarity) && !tooShort) at = readFields(roster, rarity, at + kFieldsAt);
    at = nextLine(at, end);
  }
}

}  // namespace

void CharacterDataReader::readLine(std::string_view line) {
  // The line's text ends where a C string would, at its first NUL.
  line = line.substr(0, line.find('\0'));
  if (line.size() < kFieldsAt || line[0] == '#') return;
  const int rarity = rarityOfLine(line.data());
  if (!isRarityCode(rarity)) return;
  fields_.assign(line.substr(kFieldsAt));
  fields_ += '\n';
  readFields(roster_, rarity, fields_.data());
}

void CharacterDataReader::readLinesOneByOne(std::string_view lines) {
  for (std::size_t lineFeed; (lineFeed = lines.find('\n')) != std::string_view::npos;
       lines.remove_prefix(lineFeed + 1)) {
    std::string_view line = lines.substr(0, lineFeed);
    if (line.ends_with('\r')) line.remove_suffix(1);
    readLine(line);
  }
}

void CharacterDataReader::feed(std::string_view bytes) {
  if (ended_) return;
  if (const std::size_t end = bytes.find(kEndOfFileByte); end != std::string_view::npos) {
    bytes = bytes.substr(0, end);
    ended_ = true;
  }
  if (!pendingLine_.empty()) {  // the rest of a line begun in an earlier piece
    const std::size_t lineFeed = bytes.find('\n');
    pendingLine_.append(bytes.substr(0, lineFeed));
    if (lineFeed == std::string_view::npos) return;
    readLinesOneByOne(pendingLine_ += '\n');
    pendingLine_.clear();
    bytes.remove_prefix(lineFeed + 1);
  }
  const std::size_t lastLineFeed = bytes.rfind('\n');
  const std::size_t wholeLines = lastLineFeed == std::string_view::npos ? 0 : lastLineFeed + 1;
  const std::string_view lines = bytes.substr(0, wholeLines);
  // NUL bytes are rare: one search a piece keeps the in-place reading for the rest.
  if (lines.find('\0') == std::string_view::npos) {
    readTerminatedLines(roster_, lines.data(), lines.data() + lines.size());
  } else {
    readLinesOneByOne(lines);
  }
  pendingLine_.assign(bytes.substr(wholeLines));
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
