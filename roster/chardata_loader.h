#pragma once
// Loading the roster from chardata.txt, CP932 text with one character a line:
//   <rarity name, 4 bytes><one separator byte><name> <hp> <attack> <defence> <speed>
// Lines starting with '#' are comments.

#include <filesystem>
#include <string>
#include <string_view>

#include "roster/character_roster.h"

// The longest name kept from a line, in bytes.
inline constexpr std::size_t kMaxNameBytes = 98;

// The data file's path as text: the directory followed at once by the
// separator ('\' on Windows, '/' elsewhere) and "chardata.txt", with no
// separator removed, so a drive root "C:\" gives "C:\\chardata.txt".
std::string dataFilePathText(std::string_view directory);

// Loads chardata.txt from `directory` into `roster`. Traces the path, then
// (when the file opened) the six counts; when the file cannot be opened,
// shows the failure message box and returns true. Returns false otherwise.
// `directoryText` is what the trace and the path text show;
// `directory` is the real path the file is opened by.
bool loadCharacterData(CharacterRoster& roster, std::string_view directoryText,
                       const std::filesystem::path& directory);

// As above, with the directory's bytes taken as its path.
bool loadCharacterData(CharacterRoster& roster, std::string_view directory);

// Reads the whole contents of a data file into `roster`. Lines end at LF, a
// CR just before the LF is dropped, and a byte 0x1A ends the text, on every
// platform alike.
void readCharacterData(CharacterRoster& roster, std::string_view contents);

// Feeds a data file through `readCharacterData` in pieces of any size, as
// they arrive from the file. Finish with `finish()`.
class CharacterDataReader {
 public:
  explicit CharacterDataReader(CharacterRoster& roster) : roster_(roster) {}
  void feed(std::string_view bytes);
  void finish();
  bool ended() const { return ended_; }  // a 0x1A has been seen

 private:
  void readLine(std::string_view line);           // without its line end
  void readLinesOneByOne(std::string_view lines);  // whole lines, each with its LF

  CharacterRoster& roster_;
  std::string pendingLine_;  // a line whose end has not arrived yet
  std::string fields_;       // a copied line's fields, ended by a line feed
  bool ended_ = false;
};
