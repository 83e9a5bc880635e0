#pragma once
// A data file saved as UTF-8 or UTF-16 reads like the same text saved as
// CP932: its text is converted to CP932 as it streams in, and then read by
// the CP932 rules.
//
// The file's first bytes decide its encoding: EF BB BF is UTF-8, FF FE
// UTF-16LE, FE FF UTF-16BE. Without a byte order mark, the file is UTF-8
// when the bytes from its first byte >= 0x80 on are valid UTF-8 for the
// next 64 KiB or to the end of its text (a sequence cut at that limit
// counts as valid), and CP932 otherwise. A UTF-8 mark followed by bytes
// that are not valid UTF-8 by the same test leaves the file CP932, mark
// and all. ASCII reads the same in all of these, so it goes on to the
// reader while nothing is decided yet.
//
// A character that CP932 cannot hold becomes one '?', and so does each
// ill-formed UTF-8 sequence (each maximal subpart, as the Unicode standard
// counts them) and each unpaired UTF-16 surrogate. Characters go to CP932
// through the platform's converter (platform_services.h), so a name reads
// the same as the window shows it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "roster/cp932_character_reader.h"

enum class DataFileEncoding : unsigned char { undecided, cp932, utf8, utf16le, utf16be };

class DataFileDecoder {
 public:
  explicit DataFileDecoder(Cp932CharacterReader& reader) : reader_(reader) {}
  DataFileDecoder(const DataFileDecoder&) = delete;
  DataFileDecoder& operator=(const DataFileDecoder&) = delete;

  void feed(std::string_view bytes);
  void finish();
  bool ended() const { return reader_.ended(); }
  DataFileEncoding encoding() const { return encoding_; }

  // How far past its first byte >= 0x80 a file without a byte order mark
  // is checked for UTF-8.
  static constexpr std::size_t kUtf8CheckBytes = 64 * 1024;

 private:
  void feedUndecided(std::string_view bytes);
  void decide(bool atEnd);
  void decode(std::string_view bytes);
  // Each decodes into `out` and returns the end of what it wrote.
  char* decodeUtf8(std::string_view bytes, char* out);
  char* decodeUtf16(std::string_view bytes, char* out);
  char* endUtf8Sequence(char* out);
  char* putUtf16Unit(std::uint16_t unit, char* out);
  char* putCodePoint(std::uint32_t codePoint, char* out);

  Cp932CharacterReader& reader_;
  DataFileEncoding encoding_ = DataFileEncoding::undecided;
  std::string start_;       // the first bytes, while they may be a byte order mark
  bool startSeen_ = false;  // the first bytes have been looked at
  bool utf8Mark_ = false;   // the file starts with a UTF-8 mark
  bool heldMark_ = false;   // ... not yet given to the reader
  std::string window_;      // from the first byte >= 0x80 on, while undecided

  // UTF-8 decoding: the code point so far, the continuation bytes still
  // needed, and the range the next one must fall in.
  std::uint32_t utf8CodePoint_ = 0;
  int utf8Needed_ = 0;
  unsigned char utf8Lower_ = 0x80;
  unsigned char utf8Upper_ = 0xBF;
  // UTF-16 decoding: an odd byte, and a high surrogate waiting for its pair.
  int utf16Byte_ = -1;
  std::uint16_t highSurrogate_ = 0;

  // Recent characters' CP932 forms, so the platform is asked about a
  // character about once per file: each slot holds a code point in its high
  // half and its CP932 form in its low one (0x01nn one byte nn, otherwise
  // the two bytes), or 0.
  static constexpr std::size_t kCacheSlots = 4096;
  std::unique_ptr<std::uint32_t[]> cp932Cache_;
  std::unique_ptr<char[]> out_;  // converted text on its way to the reader
};

// True when `bytes` are valid UTF-8 up to their end, where a sequence cut
// short counts as valid when `cutCountsAsValid`, or up to a byte 0x1A.
bool isValidUtf8Text(std::string_view bytes, bool cutCountsAsValid);
