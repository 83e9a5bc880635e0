#include "roster/chardata_loader.h"

#include <cstdio>
#include <memory>

#include "roster/platform_services.h"

namespace {

constexpr std::size_t kReadChunkBytes = 64 * 1024;

#if defined(_WIN32)
constexpr char kDirectorySeparator = '\\';
#else
constexpr char kDirectorySeparator = '/';
#endif

std::FILE* openForReading(const SystemPath& path) {
#if defined(_WIN32)
  return _wfopen(path.c_str(), L"rb");
#else
  return std::fopen(path.c_str(), "rb");
#endif
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string openFailedText(std::string_view fileName) {
  std::string text = "file:";
  text += fileName;
  text += " 読み込み失敗";
  return text;
}
std::string_view openFailedCaption() { return "error!!"; }

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

bool loadCharacterData(CharacterRoster& roster, std::string_view directoryText, const SystemPath& directory) {
  debugTrace("%s\n", dataFilePathText(directoryText).c_str());

  SystemPath path = directory;
  path += static_cast<SystemPath::value_type>(kDirectorySeparator);
  path.append(kDataFileName.begin(), kDataFileName.end());
  const std::unique_ptr<std::FILE, FileCloser> file(openForReading(path));
  if (!file) {
    if (platformServices().showMessageBox) {
      platformServices().showMessageBox(openFailedText(), openFailedCaption());
    }
    return true;
  }
  // The file is read in large chunks of our own: no second buffer in between.
  std::setvbuf(file.get(), nullptr, _IONBF, 0);

  CharacterDataReader reader(roster);
  const auto chunk = std::make_unique<char[]>(kReadChunkBytes);
  while (!reader.ended()) {
    const std::size_t read = std::fread(chunk.get(), 1, kReadChunkBytes, file.get());
    if (read == 0) break;  // the end of the file, or a read error
    reader.feed(std::string_view(chunk.get(), read));
  }
  reader.finish();

  for (int rarity = 0; rarity < kRarityCount; ++rarity) debugTrace("%d ", roster.count(rarity));
  debugTrace("\n");
  return false;
}
