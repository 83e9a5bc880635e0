#include "roster/data_file_decoder.h"

#include <algorithm>

#include "roster/platform_services.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::size_t kLongestMark = 3;
// Decoded text goes to the reader in slices, so memory stays bounded
// however much text one call brings.
constexpr std::size_t kDecodeSliceBytes = 32 * 1024;

bool isProperPrefixOfAMark(std::string_view start) {
  for (const std::string_view mark : {kUtf8Mark, kUtf16LeMark, kUtf16BeMark}) {
    if (start.size() < mark.size() && mark.starts_with(start)) return true;
  }
  return false;
}

bool isHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The well-formed UTF-8 sequences of the Unicode standard (its table 3-7):
// what a lead byte needs, and the range its first continuation byte must
// fall in (the later ones all lie in 80..BF).
struct Utf8Lead {
  int continuationBytes;  // -1: no lead byte
  unsigned char lower, upper;
  std::uint32_t bits;
};

Utf8Lead utf8Lead(unsigned char byte) {
  if (byte >= 0xC2 && byte <= 0xDF) return {1, 0x80, 0xBF, byte & 0x1Fu};
  if (byte >= 0xE0 && byte <= 0xEF) {
    return {2, static_cast<unsigned char>(byte == 0xE0 ? 0xA0 : 0x80),
            static_cast<unsigned char>(byte == 0xED ? 0x9F : 0xBF), byte & 0x0Fu};
  }
  if (byte >= 0xF0 && byte <= 0xF4) {
    return {3, static_cast<unsigned char>(byte == 0xF0 ? 0x90 : 0x80),
            static_cast<unsigned char>(byte == 0xF4 ? 0x8F : 0xBF), byte & 0x07u};
  }
  return {-1, 0, 0, 0};
}

// A BMP character's CP932 form from the platform's converter, packed as the
// cache keeps it; '?' when the converter gives no one- or two-byte answer.
std::uint16_t askPlatformForCp932(char16_t character) {
  const auto& convert = platformServices().characterToCp932;
  const std::string bytes = convert ? convert(character) : std::string("?");
  const auto byte = [&](std::size_t i) { return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[i])); };
  if (bytes.size() == 1) return static_cast<std::uint16_t>(0x0100 | byte(0));
  if (bytes.size() == 2 && byte(0) >= 0x81) return static_cast<std::uint16_t>(byte(0) << 8 | byte(1));
  return 0x0100 | '?';
}

}  // namespace

bool isValidUtf8Text(std::string_view bytes, bool cutCountsAsValid) {
  int needed = 0;
  unsigned char lower = 0x80, upper = 0xBF;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (needed > 0) {
      if (byte < lower || byte > upper) return false;
      lower = 0x80;
      upper = 0xBF;
      --needed;
    } else if (byte == 0x1A) {
      return true;  // the text ends here
    } else if (byte >= 0x80) {
      const Utf8Lead lead = utf8Lead(byte);
      if (lead.continuationBytes < 0) return false;
      needed = lead.continuationBytes;
      lower = lead.lower;
      upper = lead.upper;
    }
  }
  return needed == 0 || cutCountsAsValid;
}

void DataFileDecoder::feed(std::string_view bytes) {
  if (ended()) return;
  if (!startSeen_) {
    const std::size_t take = std::min(bytes.size(), kLongestMark - start_.size());
    start_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    if (isProperPrefixOfAMark(start_)) return;  // the mark may be in the next piece
    startSeen_ = true;
    const std::string start = std::move(start_);
    if (start.starts_with(kUtf16LeMark) || start.starts_with(kUtf16BeMark)) {
      encoding_ = start.starts_with(kUtf16LeMark) ? DataFileEncoding::utf16le : DataFileEncoding::utf16be;
      decode(std::string_view(start).substr(2));
    } else if (start == kUtf8Mark) {
      utf8Mark_ = heldMark_ = true;  // UTF-8 only if the text after it is
    } else {
      feedUndecided(start);
    }
  }
  switch (encoding_) {
    case DataFileEncoding::undecided: return feedUndecided(bytes);
    case DataFileEncoding::cp932: return reader_.feed(bytes);
    default: return decode(bytes);
  }
}

void DataFileDecoder::feedUndecided(std::string_view bytes) {
  if (window_.empty()) {
    // ASCII reads the same in every encoding here: it goes on at once.
    const auto firstHigh = std::find_if(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    const std::string_view ascii(bytes.data(), static_cast<std::size_t>(firstHigh - bytes.begin()));
    if (!ascii.empty() && heldMark_) {
      // A first line that does not start with a rarity name right after the
      // mark holds no character whether the mark is part of it or not, and
      // it ends at the same LF either way: the mark can go on as it is.
      reader_.feed(kUtf8Mark);
      heldMark_ = false;
    }
    reader_.feed(ascii);
    bytes.remove_prefix(ascii.size());
    if (bytes.empty() || ended()) return;
  }
  const std::size_t room = kUtf8CheckBytes - window_.size();
  window_.append(bytes.substr(0, room));
  if (window_.size() < kUtf8CheckBytes) return;
  decide(false);
  bytes.remove_prefix(std::min(room, bytes.size()));
  feed(bytes);
}

void DataFileDecoder::decide(bool atEnd) {
  std::string window;
  window.swap(window_);
  if (isValidUtf8Text(window, !atEnd)) {
    encoding_ = DataFileEncoding::utf8;
    heldMark_ = false;
    decode(window);
  } else {
    encoding_ = DataFileEncoding::cp932;
    if (heldMark_) reader_.feed(kUtf8Mark);
    heldMark_ = false;
    reader_.feed(window);
  }
}

void DataFileDecoder::decode(std::string_view bytes) {
  while (!bytes.empty() && !ended()) {
    const std::string_view slice = bytes.substr(0, kDecodeSliceBytes);
    if (encoding_ == DataFileEncoding::utf8) {
      decodeUtf8(slice);
    } else {
      decodeUtf16(slice);
    }
    flush();
    bytes.remove_prefix(slice.size());
  }
}

void DataFileDecoder::decodeUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  while (p < end) {
    if (utf8Needed_ == 0) {
      const auto* const run = p;
      while (p < end && *p < 0x80) ++p;
      out_.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run));
      // Kana, kanji and full-width forms: whole three-byte sequences, read at once.
      while (end - p >= 3 && (p[0] & 0xF0) == 0xE0 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
        const std::uint32_t codePoint = (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
        if (codePoint < 0x800 || isHighSurrogate(codePoint) || isLowSurrogate(codePoint)) break;
        putCodePoint(codePoint);
        p += 3;
      }
      if (p == end || *p < 0x80) continue;
      const Utf8Lead lead = utf8Lead(*p++);
      if (lead.continuationBytes < 0) {
        putReplacement();
        continue;
      }
      utf8Needed_ = lead.continuationBytes;
      utf8Lower_ = lead.lower;
      utf8Upper_ = lead.upper;
      utf8CodePoint_ = lead.bits;
    } else if (*p < utf8Lower_ || *p > utf8Upper_) {
      endUtf8Sequence();  // an ill-formed sequence: the byte starts afresh
    } else {
      utf8CodePoint_ = utf8CodePoint_ << 6 | (*p++ & 0x3Fu);
      utf8Lower_ = 0x80;
      utf8Upper_ = 0xBF;
      if (--utf8Needed_ == 0) putCodePoint(utf8CodePoint_);
    }
  }
}

// A sequence cut short: one replacement for its maximal subpart.
void DataFileDecoder::endUtf8Sequence() {
  putReplacement();
  utf8Needed_ = 0;
  utf8Lower_ = 0x80;
  utf8Upper_ = 0xBF;
}

void DataFileDecoder::decodeUtf16(std::string_view bytes) {
  const bool bigEndian = encoding_ == DataFileEncoding::utf16be;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (utf16Byte_ < 0) {
      utf16Byte_ = byte;
      continue;
    }
    const auto first = static_cast<std::uint16_t>(utf16Byte_);
    utf16Byte_ = -1;
    putUtf16Unit(static_cast<std::uint16_t>(bigEndian ? first << 8 | byte : byte << 8 | first));
  }
}

void DataFileDecoder::putUtf16Unit(std::uint16_t unit) {
  if (highSurrogate_ != 0) {
    highSurrogate_ = 0;
    putReplacement();  // a character beyond the BMP (CP932 has none), or an unpaired high surrogate
    if (isLowSurrogate(unit)) return;
  }
  if (isHighSurrogate(unit)) {
    highSurrogate_ = unit;
  } else if (isLowSurrogate(unit)) {
    putReplacement();
  } else {
    putCodePoint(unit);
  }
}

void DataFileDecoder::putCodePoint(std::uint32_t codePoint) {
  if (codePoint < 0x80) {
    out_ += static_cast<char>(codePoint);
    return;
  }
  if (codePoint > 0xFFFF) return putReplacement();
  if (!cp932Of_) cp932Of_ = std::make_unique<std::uint16_t[]>(0x10000);
  std::uint16_t& cp932 = cp932Of_[codePoint];
  if (cp932 == 0) cp932 = askPlatformForCp932(static_cast<char16_t>(codePoint));
  if (cp932 < 0x0200) {
    out_ += static_cast<char>(cp932 & 0xFF);
  } else {
    out_ += static_cast<char>(cp932 >> 8);
    out_ += static_cast<char>(cp932 & 0xFF);
  }
}

void DataFileDecoder::flush() {
  reader_.feed(out_);
  out_.clear();
}

void DataFileDecoder::finish() {
  if (!startSeen_) {  // a file shorter than a byte order mark
    startSeen_ = true;
    const std::string start = std::move(start_);
    feedUndecided(start);
  }
  if (encoding_ == DataFileEncoding::undecided) {
    if (!window_.empty()) {
      decide(true);
    } else {
      // ASCII alone: after a UTF-8 mark it is UTF-8 text, and the mark goes.
      encoding_ = utf8Mark_ ? DataFileEncoding::utf8 : DataFileEncoding::cp932;
    }
  }
  if (utf8Needed_ > 0) endUtf8Sequence();
  if (highSurrogate_ != 0) putReplacement();
  if (utf16Byte_ >= 0) putReplacement();  // half a code unit
  flush();
  reader_.finish();
}
