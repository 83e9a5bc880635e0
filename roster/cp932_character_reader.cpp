#include "roster/cp932_character_reader.h"

#include <array>
#include <cstring>

#include "roster/cp932_text.h"
#include "roster/rarity.h"

namespace {

constexpr char kEndOfFileByte = '\x1A';
// The fields start after the rarity name and one separator byte, whatever it is.
constexpr std::size_t kFieldsAt = kRarityNameBytes + 1;
constexpr int kNoRarity = -9999;  // no add accepts it

// Four bytes as one number, so a prefix is matched by one comparison.
constexpr std::uint32_t fourBytes(const char* text) {
  return std::uint32_t{static_cast<unsigned char>(text[0])} |
         std::uint32_t{static_cast<unsigned char>(text[1])} << 8 |
         std::uint32_t{static_cast<unsigned char>(text[2])} << 16 |
         std::uint32_t{static_cast<unsigned char>(text[3])} << 24;
}

const std::array<std::uint32_t, kRarityCount> kRarityPrefixes = [] {
  std::array<std::uint32_t, kRarityCount> prefixes{};
  for (int code = 0; code < kRarityCount; ++code) prefixes[std::size_t(code)] = fourBytes(rarityName(code).data());
  return prefixes;
}();

// The code of the rarity whose name the four bytes at `line` spell (the
// names differ, so the first match is the last). No rarity name holds a
// line feed, a CR or a NUL, or starts with '#'.
int rarityOfLine(const char* line) {
  const std::uint32_t prefix = fourBytes(line);
  for (int code = 0; code < kRarityCount; ++code) {
    if (prefix == kRarityPrefixes[std::size_t(code)]) return code;
  }
  return kNoRarity;
}

// How the in-place field reader sees a byte. Every run of bytes it reads
// ends with a line feed, so it needs no other end.
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
bool isDigit(unsigned char c) { return static_cast<unsigned char>(c - '0') < 10; }

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
  while (isDigit(static_cast<unsigned char>(*p)) && p - digits < 9) {
    value = value * 10 + (*p - '0');
    ++p;
  }
  if (p == digits) return false;
  if (isDigit(static_cast<unsigned char>(*p))) {  // ten or more digits: the number may need clamping
    std::int64_t magnitude = value;
    for (; isDigit(static_cast<unsigned char>(*p)); ++p) {
      if (magnitude < kBeyondInt32) magnitude = magnitude * 10 + (*p - '0');
    }
    number = clampedToInt32(negative, magnitude);
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

  BaseStats stats;  // HP, attack, defence, speed, in the file's order; reading stops at the first that fails
  if (scanNumber(at, stats.hp) && scanNumber(at, stats.attack) && scanNumber(at, stats.defence)) {
    scanNumber(at, stats.speed);
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

int rarityOfPrefix(std::string_view prefix) {
  return prefix.size() < kRarityNameBytes ? kNoRarity : rarityOfLine(prefix.data());
}

// The streamed line follows the same rules as the in-place reader, one byte
// at a time: the prefix and its separator, blanks, the name token, then each
// number's blanks, sign and digits. A NUL ends what is read of the line.

void Cp932CharacterReader::StreamedLine::take(std::string_view bytes) {
  if (bytes.empty()) return;
  taken_ = true;
  for (const char byte : bytes) {
    if (stage_ == Stage::unread) break;
    takeByte(static_cast<unsigned char>(byte));
  }
}

void Cp932CharacterReader::StreamedLine::takeByte(unsigned char byte) {
  if (stage_ != Stage::prefix) return takeFieldByte(byte);
  if (byte == '\0' || (prefixBytes_ == 0 && byte == '#')) {  // too short, or a comment
    stage_ = Stage::unread;
    return;
  }
  if (prefixBytes_ < kRarityNameBytes) {
    prefix_[prefixBytes_++] = static_cast<char>(byte);
    if (prefixBytes_ == kRarityNameBytes && !isRarityCode(rarityOfLine(prefix_))) stage_ = Stage::unread;
    return;
  }
  // The separator byte. A CR there is the separator only if no LF follows it.
  readable_ = byte != '\r';
  separatorIsCr_ = byte == '\r';
  prefixBytes_ = kFieldsAt;
  stage_ = Stage::nameBlanks;
}

void Cp932CharacterReader::StreamedLine::takeFieldByte(unsigned char byte) {
  // Any byte after a CR separator, a NUL among them, shows that no LF followed it.
  readable_ = true;
  if (byte == '\0') {  // the line's text ends here
    if (stage_ == Stage::digits) endNumber();
    stage_ = Stage::unread;
    return;
  }
  const bool blank = isAsciiSpace(byte);
  switch (stage_) {
    case Stage::nameBlanks:
      if (blank) return;
      stage_ = Stage::name;
      [[fallthrough]];
    case Stage::name:
      if (blank) {
        stage_ = Stage::numberBlanks;
      } else if (nameBytes_ < sizeof name_) {
        name_[nameBytes_++] = static_cast<char>(byte);
      }
      return;
    case Stage::numberBlanks:
      if (blank) return;
      negative_ = byte == '-';
      magnitude_ = 0;
      if (byte == '-' || byte == '+') {
        stage_ = Stage::numberSign;
        return;
      }
      [[fallthrough]];
    case Stage::numberSign:
      if (!isDigit(byte)) {  // a number that does not scan ends the reading
        stage_ = Stage::unread;
        return;
      }
      stage_ = Stage::digits;
      [[fallthrough]];
    case Stage::digits:
      if (isDigit(byte)) {
        if (magnitude_ < kBeyondInt32) magnitude_ = magnitude_ * 10 + (byte - '0');
        return;
      }
      endNumber();
      if (stage_ != Stage::unread) takeFieldByte(byte);  // the byte after a number starts the next
      return;
    case Stage::prefix:
    case Stage::unread:
      return;
  }
}

void Cp932CharacterReader::StreamedLine::endNumber() {
  numbers_[numbersRead_++] = clampedToInt32(negative_, magnitude_);
  stage_ = numbersRead_ == 4 ? Stage::unread : Stage::numberBlanks;
}

void Cp932CharacterReader::StreamedLine::end(CharacterRoster& roster, bool atEndOfText) {
  if (stage_ == Stage::digits) endNumber();
  // A CR separator with nothing after it: before a LF it goes with the LF,
  // and the line is too short; at the end of the text it stays.
  if (separatorIsCr_ && atEndOfText) readable_ = true;
  if (readable_) {
    const std::string_view name = cp932Prefix({name_, nameBytes_}, kMaxNameBytes);
    roster.add(rarityOfLine(prefix_), name, {numbers_[0], numbers_[1], numbers_[2], numbers_[3]});
  }
  *this = StreamedLine{};
}

void Cp932CharacterReader::streamLines(std::string_view lines) {
  for (std::size_t lineFeed; (lineFeed = lines.find('\n')) != std::string_view::npos;
       lines.remove_prefix(lineFeed + 1)) {
    line_.take(lines.substr(0, lineFeed));
    line_.end(roster_, false);
  }
}

void Cp932CharacterReader::feed(std::string_view bytes) {
  if (ended_) return;
  if (const std::size_t end = bytes.find(kEndOfFileByte); end != std::string_view::npos) {
    bytes = bytes.substr(0, end);
    ended_ = true;
  }
  if (line_.open()) {  // the rest of a line begun in an earlier piece
    const std::size_t lineFeed = bytes.find('\n');
    line_.take(bytes.substr(0, lineFeed));
    if (lineFeed == std::string_view::npos) return;
    line_.end(roster_, false);
    bytes.remove_prefix(lineFeed + 1);
  }
  const std::size_t lastLineFeed = bytes.rfind('\n');
  const std::size_t wholeLines = lastLineFeed == std::string_view::npos ? 0 : lastLineFeed + 1;
  const std::string_view lines = bytes.substr(0, wholeLines);
  // NUL bytes are rare: one search a piece keeps the in-place reading for the rest.
  if (lines.find('\0') == std::string_view::npos) {
    readTerminatedLines(roster_, lines.data(), lines.data() + lines.size());
  } else {
    streamLines(lines);
  }
  line_.take(bytes.substr(wholeLines));
}

void Cp932CharacterReader::finish() {
  if (line_.open()) line_.end(roster_, true);  // a last line without a line feed
  ended_ = true;
}
