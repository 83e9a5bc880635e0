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
constexpr std::size_t kSeparatorAt = kRarityNameBytes;   // the one byte skipped
constexpr std::size_t kFieldsAt = kRarityNameBytes + 1;  // where the fields start
constexpr int kNoRarity = -9999;                         // no add accepts it
constexpr std::size_t kReadChunkBytes = 64 * 1024;

#if defined(_WIN32)
constexpr char kDirectorySeparator = '\\';
#else
constexpr char kDirectorySeparator = '/';
#endif

// The code of the last rarity whose name the line starts with.
int rarityOfLine(std::string_view line) {
  int rarity = kNoRarity;
  const std::string_view prefix = line.substr(0, kRarityNameBytes);
  for (int code = 0; code < kRarityCount; ++code) {
    if (prefix == rarityName(code)) rarity = code;
  }
  return rarity;
}

std::size_t skipSpaces(std::string_view text, std::size_t at) {
  while (at < text.size() && isAsciiSpace(static_cast<unsigned char>(text[at]))) ++at;
  return at;
}

std::size_t skipToken(std::string_view text, std::size_t at) {
  while (at < text.size() && !isAsciiSpace(static_cast<unsigned char>(text[at]))) ++at;
  return at;
}

// The fields after the separator, read as "%s %d %d %d %d" would read them:
// a name token (its first 98 bytes kept, the rest of it skipped), then up to
// four numbers, stopping at the first that does not scan. What is not read
// keeps its empty value: no name, numbers 0.
void readCharacterLine(CharacterRoster& roster, std::string_view line) {
  // The line's text ends where a C string would, at its first NUL.
  line = line.substr(0, line.find('\0'));
  if (line.empty() || line[0] == '#') return;
  // A line too short to hold the rarity and the separator holds no character.
  if (line.size() < kFieldsAt) return;
  const int rarity = rarityOfLine(line);
  if (!isRarityCode(rarity)) return;

  const std::string_view fields = line.substr(kFieldsAt);
  const std::size_t nameStart = skipSpaces(fields, 0);
  const std::size_t nameEnd = skipToken(fields, nameStart);
  const std::string_view name = cp932Prefix(fields.substr(nameStart, nameEnd - nameStart), kMaxNameBytes);

  std::array<std::int32_t, 4> numbers{};
  std::size_t at = nameEnd;
  for (std::int32_t& number : numbers) {
    const std::optional<std::int32_t> scanned = scanDecimal(fields, at);
    if (!scanned) break;
    number = *scanned;
  }
  roster.add(rarity, name, {numbers[0], numbers[1], numbers[2], numbers[3]});
}

}  // namespace

static_assert(kSeparatorAt == 4 && kFieldsAt == 5);

void CharacterDataReader::feed(std::string_view bytes) {
  if (ended_) return;
  if (const std::size_t end = bytes.find(kEndOfFileByte); end != std::string_view::npos) {
    bytes = bytes.substr(0, end);
    ended_ = true;
  }
  std::size_t start = 0;
  for (std::size_t lineFeed; (lineFeed = bytes.find('\n', start)) != std::string_view::npos;
       start = lineFeed + 1) {
    std::string_view line = bytes.substr(start, lineFeed - start);
    if (!pendingLine_.empty()) {
      pendingLine_.append(line);
      line = pendingLine_;
    }
    if (line.ends_with('\r')) line.remove_suffix(1);
    readCharacterLine(roster_, line);
    pendingLine_.clear();
  }
  pendingLine_.append(bytes.substr(start));
}

void CharacterDataReader::finish() {
  // A last line without a line feed; a carriage return at its end stays.
  if (!pendingLine_.empty()) readCharacterLine(roster_, pendingLine_);
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
