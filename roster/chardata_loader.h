#pragma once
// Loading the roster from chardata.txt: CP932 text, or the same text saved
// as UTF-8 or UTF-16 (data_file_decoder.h), one character a line
// (cp932_character_reader.h).

#include <string>
#include <string_view>

#include "roster/character_roster.h"
#include "roster/cp932_character_reader.h"
#include "roster/data_file_decoder.h"

// A path as the system opens files by it: UTF-16 on Windows, where a
// folder's name may hold any character, and bytes elsewhere.
#if defined(_WIN32)
using SystemPath = std::wstring;
#else
using SystemPath = std::string;
#endif

// The data file's path as text: the directory followed at once by the
// separator ('\' on Windows, '/' elsewhere) and "chardata.txt", with no
// separator removed, so a drive root "C:\" gives "C:\\chardata.txt".
std::string dataFilePathText(std::string_view directory);

// The data file the program reads from its working directory.
inline constexpr std::string_view kDataFileName = "chardata.txt";

// The failure message box's text for a data file, "file:chardata.txt 読み込み失敗"
// for the program's own, and its caption, "error!!".
std::string openFailedText(std::string_view fileName = kDataFileName);
std::string_view openFailedCaption();

// Loads chardata.txt from `directory` into `roster`. Traces the path, then
// (when the file opened) the six counts; when the file cannot be opened,
// shows the failure message box and returns true. Returns false otherwise.
// `directoryText` is what the trace and the path text show; `directory` is
// the real path the file is opened by.
bool loadCharacterData(CharacterRoster& roster, std::string_view directoryText, const SystemPath& directory);

// Feeds a data file's bytes, in whatever supported encoding, to `roster` in
// pieces of any size, as they arrive from the file. Finish with `finish()`.
class CharacterDataReader {
 public:
  explicit CharacterDataReader(CharacterRoster& roster) : reader_(roster), decoder_(reader_) {}
  void feed(std::string_view bytes) { decoder_.feed(bytes); }
  void finish() { decoder_.finish(); }
  bool ended() const { return decoder_.ended(); }  // the text has ended (a 0x1A, say)
  DataFileEncoding encoding() const { return decoder_.encoding(); }

 private:
  Cp932CharacterReader reader_;
  DataFileDecoder decoder_;
};

// Reads the whole contents of a data file into `roster`.
void readCharacterData(CharacterRoster& roster, std::string_view contents);
