#pragma once
// The rules of a data file, read on CP932 text:
//   <rarity name, 4 bytes><one separator byte><name> <hp> <attack> <defence> <speed>
// one character a line; lines starting with '#' are comments.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "roster/character_roster.h"

// The longest name kept from a line, in bytes.
inline constexpr std::size_t kMaxNameBytes = 98;

// Reads CP932 text as it arrives, in pieces of any size; finish with
// `finish()`. Lines end at LF, a CR just before the LF is not part of the
// line, a NUL ends a line's text as it would end a C string, and a byte
// 0x1A ends the text, on every platform alike.
//
// Whole lines within a piece are read where they lie. A line that a piece
// leaves open is read byte by byte as it streams in, keeping only what the
// rules keep of it (the rarity, at most 99 bytes of the name, the number
// being scanned), so memory stays the same whatever the length of a line.
class Cp932CharacterReader {
 public:
  explicit Cp932CharacterReader(CharacterRoster& roster) : roster_(roster) {}
  void feed(std::string_view bytes);
  void finish();
  bool ended() const { return ended_; }  // a 0x1A has been seen, or finish()

 private:
  // One line, taken in any number of runs of bytes without its LF.
  class StreamedLine {
   public:
    bool open() const { return taken_; }
    void take(std::string_view bytes);
    // Adds the line's character, if it has one; `atEndOfText` when no LF
    // ended it. Then waits for the next line.
    void end(CharacterRoster& roster, bool atEndOfText);

   private:
    enum class Stage : unsigned char { prefix, nameBlanks, name, numberBlanks, numberSign, digits, unread };
    void takeByte(unsigned char byte);
    void takeFieldByte(unsigned char byte);
    void endNumber();

    Stage stage_ = Stage::prefix;
    bool taken_ = false;
    bool readable_ = false;        // a rarity and its separator: the line holds a character
    bool separatorIsCr_ = false;   // ... unless a LF follows that CR at once
    unsigned char prefixBytes_ = 0;
    char prefix_[4] = {};
    char name_[kMaxNameBytes + 1] = {};  // one more than is kept tells a longer name
    unsigned char nameBytes_ = 0;
    unsigned char numbersRead_ = 0;
    bool negative_ = false;
    std::int64_t magnitude_ = 0;
    std::int32_t numbers_[4] = {};
  };

  void streamLines(std::string_view lines);  // whole lines, each with its LF

  CharacterRoster& roster_;
  StreamedLine line_;
  bool ended_ = false;
};

// The code of the last rarity whose four-byte name `prefix` spells, or a
// code that no rarity has.
int rarityOfPrefix(std::string_view prefix);
