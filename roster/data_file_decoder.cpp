#include "roster/data_file_decoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "roster/platform_services.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::size_t kLongestMark = 3;
// Decoded text goes to the reader in slices, so memory stays bounded
// however much text one call brings.
constexpr std::size_t kDecodeSliceBytes = 32 * 1024;
// A slice's CP932 text is never longer than the slice: no UTF-8 or UTF-16
// form of a character is shorter than its CP932 form or its '?'.
constexpr std::size_t kOutBytes = kDecodeSliceBytes + 8;

bool isProperPrefixOfAMark(std::string_view start) {
  for (const std::string_view mark : {kUtf8Mark, kUtf16LeMark, kUtf16BeMark}) {
    if (start.size() < mark.size() && mark.starts_with(start)) return true;
  }
  return false;
}

// Four bytes loaded as they lie, as the number whose lowest byte is the first.
std::uint32_t littleEndian(std::uint32_t loaded) {
  if constexpr (std::endian::native == std::endian::little) return loaded;
  return (loaded >> 24) | (loaded >> 8 & 0xFF00u) | (loaded << 8 & 0xFF0000u) | (loaded << 24);
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


// A BMP character (>= 0x80, not a surrogate) as CP932, from the cache of
// `kCacheSlots` slots, asking the platform when the character is not there.
// Both bytes are written; a one-byte form then moves on by one.
template <std::size_t kCacheSlots>
inline char* putBmpCp932(std::uint32_t* cache, std::uint32_t codePoint, char* out) {
  std::uint32_t& slot = cache[codePoint % kCacheSlots];
  if (slot >> 16 != codePoint) slot = codePoint << 16 | askPlatformForCp932(static_cast<char16_t>(codePoint));
  const auto cp932 = static_cast<std::uint16_t>(slot);
  const bool oneByte = cp932 < 0x0200;
  out[0] = static_cast<char>(oneByte ? cp932 & 0xFF : cp932 >> 8);
  out[1] = static_cast<char>(cp932 & 0xFF);
  return out + (oneByte ? 1 : 2);
}

struct FastUtf8 {
  const unsigned char* in;
  char* out;
};

// The common text, read quickly: ASCII (eight bytes at a time while no
// byte has its high bit) and whole, well-formed three-byte sequences (kana,
// kanji, full-width forms). Stops at the first byte that needs the careful
// reading, or at the end. Works on locals only, so that writing the output
// makes the compiler reload nothing.
template <std::size_t kCacheSlots>
FastUtf8 decodeCommonUtf8(const unsigned char* p, const unsigned char* const end, char* out,
                          std::uint32_t* const cache) {
  while (end - p >= 8) {
    if (*p < 0x80) {
      std::uint64_t eight;
      std::memcpy(&eight, p, 8);
      if ((eight & 0x8080808080808080u) == 0) {
        std::memcpy(out, &eight, 8);
        p += 8;
        out += 8;
      } else {
        *out++ = static_cast<char>(*p++);
      }
      continue;
    }
    std::uint32_t four;  // the sequence's bytes, the first one lowest
    std::memcpy(&four, p, 4);
    four = littleEndian(four);
    if ((four & 0xC0C0F0u) != 0x8080E0u) break;
    const std::uint32_t codePoint = (four & 0x0Fu) << 12 | (four & 0x3F00u) >> 2 | (four & 0x3F0000u) >> 16;
    // Overlong forms and surrogates are ill-formed: the careful reading takes them.
    if (codePoint < 0x800 || codePoint - 0xD800 < 0x800) break;
    out = putBmpCp932<kCacheSlots>(cache, codePoint, out);
    p += 3;
  }
  while (p < end && *p < 0x80) *out++ = static_cast<char>(*p++);
  return {p, out};
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
  if (!out_) {
    out_ = std::make_unique<char[]>(kOutBytes);
    cp932Cache_ = std::make_unique<std::uint32_t[]>(kCacheSlots);
  }
  while (!bytes.empty() && !ended()) {
    const std::string_view slice = bytes.substr(0, kDecodeSliceBytes);
    char* const end = encoding_ == DataFileEncoding::utf8 ? decodeUtf8(slice, out_.get()) : decodeUtf16(slice, out_.get());
    reader_.feed(std::string_view(out_.get(), static_cast<std::size_t>(end - out_.get())));
    bytes.remove_prefix(slice.size());
  }
}

char* DataFileDecoder::decodeUtf8(std::string_view bytes, char* out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  while (p < end) {
    if (utf8Needed_ == 0) {
      const FastUtf8 fast = decodeCommonUtf8<kCacheSlots>(p, end, out, cp932Cache_.get());
      p = fast.in;
      out = fast.out;
      if (p == end || *p < 0x80) continue;
      const Utf8Lead lead = utf8Lead(*p++);
      if (lead.continuationBytes < 0) {
        *out++ = '?';
        continue;
      }
      utf8Needed_ = lead.continuationBytes;
      utf8Lower_ = lead.lower;
      utf8Upper_ = lead.upper;
      utf8CodePoint_ = lead.bits;
    } else if (*p < utf8Lower_ || *p > utf8Upper_) {
      out = endUtf8Sequence(out);  // an ill-formed sequence: the byte starts afresh
    } else {
      utf8CodePoint_ = utf8CodePoint_ << 6 | (*p++ & 0x3Fu);
      utf8Lower_ = 0x80;
      utf8Upper_ = 0xBF;
      if (--utf8Needed_ == 0) out = putCodePoint(utf8CodePoint_, out);
    }
  }
  return out;
}

// A sequence cut short: one replacement for its maximal subpart.
char* DataFileDecoder::endUtf8Sequence(char* out) {
  utf8Needed_ = 0;
  utf8Lower_ = 0x80;
  utf8Upper_ = 0xBF;
  *out++ = '?';
  return out;
}

char* DataFileDecoder::decodeUtf16(std::string_view bytes, char* out) {
  const bool bigEndian = encoding_ == DataFileEncoding::utf16be;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  const auto unitOf = [bigEndian](unsigned first, unsigned second) {
    return static_cast<std::uint16_t>(bigEndian ? first << 8 | second : second << 8 | first);
  };
  if (utf16Byte_ >= 0 && p < end) {  // a unit split between two pieces
    out = putUtf16Unit(unitOf(static_cast<unsigned>(utf16Byte_), *p++), out);
    utf16Byte_ = -1;
  }
  for (; end - p >= 2; p += 2) {
    const std::uint16_t unit = unitOf(p[0], p[1]);
    if (highSurrogate_ != 0 || (unit >= 0xD800 && unit <= 0xDFFF)) {
      out = putUtf16Unit(unit, out);
    } else if (unit < 0x80) {
      *out++ = static_cast<char>(unit);
    } else {
      out = putBmpCp932<kCacheSlots>(cp932Cache_.get(), unit, out);
    }
  }
  if (p < end) utf16Byte_ = *p;
  return out;
}

char* DataFileDecoder::putUtf16Unit(std::uint16_t unit, char* out) {
  if (highSurrogate_ != 0) {
    highSurrogate_ = 0;
    *out++ = '?';  // a character beyond the BMP (CP932 has none), or an unpaired high surrogate
    if (isLowSurrogate(unit)) return out;
  }
  if (isHighSurrogate(unit)) {
    highSurrogate_ = unit;
    return out;
  }
  if (isLowSurrogate(unit)) {
    *out++ = '?';
    return out;
  }
  return putCodePoint(unit, out);
}

char* DataFileDecoder::putCodePoint(std::uint32_t codePoint, char* out) {
  if (codePoint < 0x80) {
    *out++ = static_cast<char>(codePoint);
    return out;
  }
  if (codePoint > 0xFFFF) {
    *out++ = '?';
    return out;
  }
  return putBmpCp932<kCacheSlots>(cp932Cache_.get(), codePoint, out);
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
  std::string lastReplacements;
  if (utf8Needed_ > 0) lastReplacements += '?';  // a sequence cut by the end of the file
  if (highSurrogate_ != 0) lastReplacements += '?';
  if (utf16Byte_ >= 0) lastReplacements += '?';  // half a code unit
  reader_.feed(lastReplacements);
  reader_.finish();
}
