// Data files saved as UTF-8 or UTF-16 read like the same text saved as
// CP932; what CP932 cannot hold becomes '?'; the file's first bytes decide.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "roster/chardata_loader.h"
#include "roster_summary.h"
#include "test_text.h"

namespace {

using namespace std::string_literals;

// The same text twice: compiled to CP932, and as UTF-8.
struct Twin {
  std::string cp932;
  std::u8string utf8;
  Twin operator+(const Twin& more) const { return {cp932 + more.cp932, utf8 + more.utf8}; }
};
#define TWIN(text) (Twin{std::string(text, sizeof(text) - 1), std::u8string(u8##text, sizeof(u8##text) - 1)})

Twin repeated(const Twin& twin, int times) {
  Twin out;
  for (int i = 0; i < times; ++i) out = out + twin;
  return out;
}

std::string bytesOf(std::u8string_view utf8) { return {utf8.begin(), utf8.end()}; }

// Well-formed UTF-8 as UTF-16 code units.
std::u16string utf16Of(std::u8string_view utf8) {
  std::u16string units;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) codePoint = codePoint << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += static_cast<std::size_t>(length);
    if (codePoint > 0xFFFF) {
      units += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(codePoint);
    }
  }
  return units;
}

std::string utf16Bytes(std::u16string_view units, bool bigEndian) {
  std::string bytes;
  for (const char16_t unit : units) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

const std::string kUtf8Mark = "\xEF\xBB\xBF";
const std::string kUtf16LeMark = "\xFF\xFE";
const std::string kUtf16BeMark = "\xFE\xFF";

// The same text in each encoding a file may be saved in.
struct Saved {
  const char* how;
  std::string bytes;
};
std::vector<Saved> savedEveryWay(std::u8string_view utf8) {
  const std::u16string units = utf16Of(utf8);
  return {{"UTF-8", bytesOf(utf8)},
          {"UTF-8 with its mark", kUtf8Mark + bytesOf(utf8)},
          {"UTF-16LE", kUtf16LeMark + utf16Bytes(units, false)},
          {"UTF-16BE", kUtf16BeMark + utf16Bytes(units, true)}};
}

std::string summaryInPieces(std::string_view contents, std::size_t piece) {
  const auto roster = std::make_unique<CharacterRoster>();
  CharacterDataReader reader(*roster);
  for (std::size_t at = 0; at < contents.size(); at += piece) reader.feed(contents.substr(at, piece));
  reader.finish();
  return summary(*roster);
}

DataFileEncoding encodingOf(std::string_view contents) {
  const auto roster = std::make_unique<CharacterRoster>();
  CharacterDataReader reader(*roster);
  reader.feed(contents);
  reader.finish();
  return reader.encoding();
}

struct TwinCase {
  const char* name;
  Twin text;
};

class SavedAsUnicode : public ::testing::TestWithParam<TwinCase> {};

TEST_P(SavedAsUnicode, ReadsAsTheSameTextInCp932) {
  const Twin& text = GetParam().text;
  const std::string expected = summaryOf(text.cp932);
  ASSERT_NE(expected, "") << "the CP932 text holds characters";
  for (const Saved& saved : savedEveryWay(text.utf8)) {
    SCOPED_TRACE(saved.how);
    EXPECT_EQ(summaryOf(saved.bytes), expected);
    for (const std::size_t piece : {1u, 2u, 3u, 5u, 4096u}) {
      EXPECT_EQ(summaryInPieces(saved.bytes, piece), expected) << "pieces of " << piece;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, SavedAsUnicode,
    ::testing::Values(
        TwinCase{"Sample", TWIN("# コメント\r\n兵士 ボルド 40 12 14 10\r\n戦士 アレス 80 30 26 22\r\n"
                                "皇帝 ノルヴァ 180 64 60 52\r\n")},
        TwinCase{"LineFeedsAndNoLastLineEnd", TWIN("戦士 a 1 2 3 4\n戦士 b 5 6 7 8\r\n戦士 ｶｲﾝ 9 9 9 9")},
        // Only the first CP932 byte of a full-width space separator is skipped.
        TwinCase{"FullWidthSpaceSeparator", TWIN("戦士　ミーナ 1 2 3 4\n")},
        // The 98-byte limit counts CP932 bytes: 49 of the 50 あ.
        TwinCase{"LongName", TWIN("戦士 ") + repeated(TWIN("あ"), 50) + TWIN(" 1 2 3 4\n")},
        // 表 and 予 end in the byte 0x5C, which stays part of them.
        TwinCase{"BackslashTrailBytes", TWIN("戦士 表予ソ能 1 2 3 4\n")},
        TwinCase{"EndOfFileCharacter", TWIN("戦士 a 1 2 3 4\n\x1A戦士 b 5 6 7 8\n")},
        TwinCase{"NulEndsALine", TWIN("戦士 ab\0cd 1 2 3 4\n戦士 e 5 6 7 8\n")},
        // 70 KB of ASCII before the first character: still recognised.
        TwinCase{"AsciiCommentsFirst", repeated(TWIN("# ascii comment line, seventy bytes long ......................\n"), 1100) +
                                           TWIN("将軍 ロウ 120 36 48 20\n")}),
    [](const auto& info) { return std::string(info.param.name); });

// Names from a UTF-8 file (one that the first 64 KiB show to be UTF-8),
// and the CP932 bytes each becomes, by Windows' code page 932 table.
struct NameCase {
  const char* name;
  std::u8string utf8;
  std::string cp932;
};

class NamesInUtf8 : public ::testing::TestWithParam<NameCase> {};

TEST_P(NamesInUtf8, BecomeTheirCp932BytesOrOneQuestionMarkEach) {
  std::string file = bytesOf(u8"戦士 最初 1 1 1 1\n");
  while (file.size() < 70000) file += bytesOf(u8"# ああああああああああああああああああああ\n");
  file += "\xE6\x88\xA6\xE5\xA3\xAB " + bytesOf(GetParam().utf8) + " 5 6 7 8\n";
  const auto roster = std::make_unique<CharacterRoster>();
  readCharacterData(*roster, file);
  ASSERT_EQ(roster->count(2), 2);
  EXPECT_EQ(hexBytes(roster->record(2, 1)->name), hexBytes(GetParam().cp932));
  EXPECT_EQ(roster->record(2, 1)->speed, 8) << "the line is kept";
}

INSTANTIATE_TEST_SUITE_P(
    Characters, NamesInUtf8,
    ::testing::Values(
        NameCase{"OutsideTheBmp", u8"𠮷野家🐉", "?\x96\xEC\x89\xC6?"},
        // No best-fit look-alikes: these have near twins in CP932 but are not in it.
        NameCase{"Yen", u8"¥100", "?100"},
        NameCase{"WaveDash", u8"〜～", "?\x81\x60"},
        NameCase{"EmDash", u8"—―", "?\x81\x5C"},
        NameCase{"MinusSign", u8"−－", "?\x81\x7C"},
        NameCase{"DoubleVerticalLine", u8"‖∥", "?\x81\x61"},
        NameCase{"BrokenBar", u8"¦￤", "?\xFA\x55"},
        // Characters with two CP932 codes take the one Windows writes.
        NameCase{"Numero", u8"№", "\x87\x82"},
        NameCase{"ApproximatelyEqual", u8"≒", "\x81\xE0"},
        NameCase{"SmallRomanOne", u8"ⅰ", "\xFA\x40"},
        NameCase{"HalfWidthKatakana", u8"ｱｲｳ", "\xB1\xB2\xB3"},
        // Single bytes that only Windows' table has.
        NameCase{"WindowsOnlySingleBytes", u8"a\u0080\uF8F0\uF8F1\uF8F2\uF8F3", "a\x80\xA0\xFD\xFE\xFF"},
        // Each maximal subpart of an ill-formed sequence is one '?'.
        NameCase{"Overlong", u8"a\xC0\xAF" "b", "a??b"},
        NameCase{"CutShort", u8"a\xE6\x88" "b", "a?b"},
        NameCase{"BeyondU10FFFF", u8"a\xF4\x90\x80\x80" "b", "a????b"},
        NameCase{"EncodedSurrogate", u8"a\xED\xA0\x80" "b", "a???b"},
        NameCase{"CutFourByteSequence", u8"a\xF0\x9F\x90" "b", "a?b"},
        NameCase{"LoneContinuation", u8"a\x80" "b", "a?b"},
        NameCase{"NoSuchByte", u8"a\xFF" "b", "a?b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NamesInUtf16, UnpairedSurrogatesAndAHalfUnitBecomeOneQuestionMarkEach) {
  const std::u16string lines = u"戦士 a\xD800" u"b 1 1 1 1\n戦士 c\xDC00" u"d 2 2 2 2\n戦士 \xD83D\xDC09" u"e 3 3 3 3\n"
                               u"戦士 \xD800\xD83D\xDC09 4 4 4 4\n戦士 f\xD800";
  for (const bool bigEndian : {false, true}) {
    const std::string file = (bigEndian ? kUtf16BeMark : kUtf16LeMark) + utf16Bytes(lines, bigEndian) + "x";
    EXPECT_EQ(summaryOf(file), "2 [a?b] 1 1 1 1\n2 [c?d] 2 2 2 2\n2 [?e] 3 3 3 3\n2 [??] 4 4 4 4\n2 [f??] 0 0 0 0\n")
        << (bigEndian ? "big-endian" : "little-endian");
  }
}

struct DetectionCase {
  const char* name;
  std::string bytes;
  DataFileEncoding encoding;
  std::string roster;
};

class TheFirstBytes : public ::testing::TestWithParam<DetectionCase> {};

TEST_P(TheFirstBytes, DecideTheEncoding) {
  EXPECT_EQ(encodingOf(GetParam().bytes), GetParam().encoding);
  EXPECT_EQ(summaryOf(GetParam().bytes), GetParam().roster);
}

// Valid UTF-8 from the first byte >= 0x80 for 64 KiB less `short` bytes.
std::string utf8Start(std::size_t shortOf) {
  std::string text = bytesOf(u8"戦士 最初 1 1 1 1\n");
  while (text.size() + 60 < DataFileDecoder::kUtf8CheckBytes - shortOf) {
    text += bytesOf(u8"# あいうえおかきくけこさしすせそたちつてと\n");
  }
  text += "#";
  text.resize(DataFileDecoder::kUtf8CheckBytes - shortOf, 'x');
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, TheFirstBytes,
    ::testing::Values(
        DetectionCase{"Utf8Mark", kUtf8Mark + bytesOf(u8"戦士 a 1 2 3 4\n"), DataFileEncoding::utf8, "2 [a] 1 2 3 4\n"},
        // A CP932 file that an editor marked as UTF-8: the mark stays, and
        // the first line, which it begins, holds no character.
        DetectionCase{"Utf8MarkOnCp932", kUtf8Mark + "戦士 a 1 2 3 4\n戦士 b 5 6 7 8\n", DataFileEncoding::cp932,
                      "2 [b] 5 6 7 8\n"},
        DetectionCase{"Utf8MarkThenAsciiOnly", kUtf8Mark + "# nothing yet\n", DataFileEncoding::utf8, ""},
        DetectionCase{"Utf16LeMark", kUtf16LeMark + utf16Bytes(u"戦士 a 1 2 3 4\n", false), DataFileEncoding::utf16le,
                      "2 [a] 1 2 3 4\n"},
        DetectionCase{"Utf16BeMark", kUtf16BeMark + utf16Bytes(u"戦士 a 1 2 3 4\n", true), DataFileEncoding::utf16be,
                      "2 [a] 1 2 3 4\n"},
        DetectionCase{"NoMarkValidUtf8", bytesOf(u8"戦士 a 1 2 3 4\n"), DataFileEncoding::utf8, "2 [a] 1 2 3 4\n"},
        DetectionCase{"NoMarkCp932", "戦士 a 1 2 3 4\n", DataFileEncoding::cp932, "2 [a] 1 2 3 4\n"},
        // A level-2 kanji and a half-width kana in CP932 spell 戦 in UTF-8;
        // the CP932 that follows is no UTF-8.
        DetectionCase{"Cp932ThatBeginsLikeUtf8", "# \xE6\x88\xA6\n戦士 a 1 2 3 4\n", DataFileEncoding::cp932,
                      "2 [a] 1 2 3 4\n"},
        DetectionCase{"AsciiOnly", "# only a comment\n", DataFileEncoding::cp932, ""},
        DetectionCase{"HalfAMark", "\xEF\xBB", DataFileEncoding::cp932, ""},
        DetectionCase{"Empty", "", DataFileEncoding::cp932, ""},
        // A sequence cut by the 64 KiB limit counts as valid; one cut by the
        // end of the file does not.
        DetectionCase{"SequenceCutAtTheLimit", utf8Start(1) + "\xE6\n戦士 b 5 6 7 8\n", DataFileEncoding::utf8,
                      "2 [最初] 1 1 1 1\n"},
        DetectionCase{"SequenceCutAtTheEnd", "# \xE6\x88", DataFileEncoding::cp932, ""},
        // Beyond the 64 KiB, CP932 bytes no longer change the decision.
        DetectionCase{"Cp932BeyondTheCheck", utf8Start(0) + "\n\xE6\x88\xA6\xE5\xA3\xAB アレス 5 6 7 8\n",
                      DataFileEncoding::utf8, "2 [最初] 1 1 1 1\n2 [?A???X] 5 6 7 8\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
