#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "roster/chardata_loader.h"
#include "roster/platform_services.h"
#include "roster_summary.h"
#include "test_text.h"

namespace {

namespace fs = std::filesystem;


struct ReadCase {
  const char* name;
  std::string contents;
  std::string expected;
};

class ReadingLines : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadingLines, GiveTheExpectedRoster) {
  EXPECT_EQ(summaryOf(GetParam().contents), GetParam().expected);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Files, ReadingLines,
    ::testing::Values(
        ReadCase{"OneLine", "戦士 アレス 40 20 18 15\n", "2 [アレス] 40 20 18 15\n"},
        ReadCase{"EveryRarity",
                 "兵士 a 1 1 1 1\n上兵 b 2 2 2 2\n戦士 c 3 3 3 3\n将軍 d 4 4 4 4\n王者 e 5 5 5 5\n皇帝 f 6 6 6 6\n",
                 "0 [a] 1 1 1 1\n1 [b] 2 2 2 2\n2 [c] 3 3 3 3\n3 [d] 4 4 4 4\n4 [e] 5 5 5 5\n5 [f] 6 6 6 6\n"},
        ReadCase{"CommentsAnywhere",
                 "# head\n戦士 a 1 2 3 4\n#戦士 hidden 9 9 9 9\n戦士 b 5 6 7 8\n# tail",
                 "2 [a] 1 2 3 4\n2 [b] 5 6 7 8\n"},
        ReadCase{"FileOrderKeptWithinARarity", "戦士 z 1 1 1 1\n兵士 q 0 0 0 0\n戦士 a 2 2 2 2\n戦士 z 3 3 3 3\n",
                 "0 [q] 0 0 0 0\n2 [z] 1 1 1 1\n2 [a] 2 2 2 2\n2 [z] 3 3 3 3\n"},
        ReadCase{"LastLineWithoutLineFeed", "戦士 a 1 2 3 4\n戦士 b 5 6 7 8",
                 "2 [a] 1 2 3 4\n2 [b] 5 6 7 8\n"},
        ReadCase{"FiveNumbersKeepFour", "戦士 a 1 2 3 4 5\n", "2 [a] 1 2 3 4\n"},
        ReadCase{"TextAfterTheNumbersIgnored", "戦士 a 1 2 3 4 comment here\n", "2 [a] 1 2 3 4\n"},
        ReadCase{"Tabs", "戦士\ta\t1\t2\t3\t4\n", "2 [a] 1 2 3 4\n"},
        ReadCase{"AnySeparatorByte", "戦士xa 1 2 3 4\n", "2 [a] 1 2 3 4\n"},
        // Only the first byte of a full-width space is skipped; its second, 0x40, starts the name.
        ReadCase{"FullWidthSpaceSeparator", "戦士　a 1 2 3 4\n", "2 [@a] 1 2 3 4\n"},
        // ...and inside the fields it is part of the name, not a separator.
        ReadCase{"FullWidthSpaceInName", "戦士 姓　名 1 2 3 4\n", "2 [姓　名] 1 2 3 4\n"},
        // 表 is 95 5C and 予 97 5C: their backslash bytes are ordinary name bytes.
        ReadCase{"BackslashSecondBytes", "戦士 表予ソ 1 2 3 4\n", "2 [表予ソ] 1 2 3 4\n"},
        ReadCase{"UnknownPrefixDropped", "騎士 a 1 2 3 4\n 戦士 b 1 2 3 4\n戦 c 1 2 3 4\n戦士 d 1 2 3 4\n",
                 "2 [d] 1 2 3 4\n"},
        // 戦士 in UTF-8 reads as the same text in CP932 would.
        ReadCase{"Utf8FileReadAsItsCp932Twin", "\xE6\x88\xA6\xE5\xA3\xAB a 1 2 3 4\n", "2 [a] 1 2 3 4\n"},
        ReadCase{"EmptyFile", "", ""},
        ReadCase{"OnlyALineFeed", "\n", ""},
        // A CR just before LF goes; a CR elsewhere stays, and separates fields.
        ReadCase{"CrLfSameAsLf", "戦士 a 1 2 3 4\r\n戦士 b 5 6 7 8\r\n", "2 [a] 1 2 3 4\n2 [b] 5 6 7 8\n"},
        ReadCase{"LoneCarriageReturnStays", "戦士 a\rb 1 2 3 4\n戦士 c 1 2\r3 4\n",
                 "2 [a] 0 0 0 0\n2 [c] 1 2 3 4\n"},
        ReadCase{"TwoCarriageReturns", "戦士 a\r\r\n", "2 [a] 0 0 0 0\n"},
        // A line of the rarity and one separator byte holds a character with no fields,
        // even when that byte is a CR: at the end of the file, or where a NUL cuts the line.
        ReadCase{"RarityAndSeparatorOnly", "戦士x\n戦士\ra 1 2 3 4\n戦士\r\0 1\n戦士\r"s,
                 "2 [] 0 0 0 0\n2 [a] 1 2 3 4\n2 [] 0 0 0 0\n2 [] 0 0 0 0\n"},
        ReadCase{"EndOfFileByte", "戦士 a 1 2 3 4\n戦士 b 5 6 7 8\x1A\n戦士 c 9 9 9 9\n",
                 "2 [a] 1 2 3 4\n2 [b] 5 6 7 8\n"},
        ReadCase{"EndOfFileByteFirst", "\x1A戦士 a 1 2 3 4\n", ""},
        // Lines too short for the rarity and separator are skipped.
        ReadCase{"ShortLines", "\n\r\n戦士\n戦士\r\n戦\n#\n戦士 a 1 1 1 1\n", "2 [a] 1 1 1 1\n"},
        // Fields that do not scan: no name, numbers 0, from the first that fails on.
        ReadCase{"MissingFields", "戦士 \n戦士 only\n戦士 n 5\n戦士 m 5 x 7 8\n戦士 k 5 6 7 8x 9\n",
                 "2 [] 0 0 0 0\n2 [only] 0 0 0 0\n2 [n] 5 0 0 0\n2 [m] 5 0 0 0\n2 [k] 5 6 7 8\n"},
        ReadCase{"Signs", "戦士 a +1 -2 +0 -0\n", "2 [a] 1 -2 0 0\n"},
        ReadCase{"NumbersClampedToThe32BitRange",
                 "戦士 a 2147483647 2147483648 -2147483648 -2147483649\n戦士 b 99999999999999999999 -99999999999999999999 0 1\n",
                 "2 [a] 2147483647 2147483647 -2147483648 -2147483648\n2 [b] 2147483647 -2147483648 0 1\n"},
        // A NUL ends the line's text, as it would end a C string.
        ReadCase{"NulEndsTheLine", "戦士 ab\0cd 1 2 3 4\n戦士 e 1 2 3 4\n"s, "2 [ab] 0 0 0 0\n2 [e] 1 2 3 4\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadingNames, ALongNameKeeps98BytesWithoutSplittingACharacter) {
  std::string wide;  // 50 x あ, 100 bytes
  for (int i = 0; i < 50; ++i) wide += "あ";
  ASSERT_EQ(wide.size(), 100u);

  const auto roster = std::make_unique<CharacterRoster>();
  readCharacterData(*roster, "戦士 " + wide + " 1 2 3 4\n戦士 x" + wide + " 5 6 7 8\n戦士 " +
                                 std::string(500, 'n') + " 9 10 11 12\n");
  ASSERT_EQ(roster->count(2), 3);
  EXPECT_EQ(roster->record(2, 0)->name, wide.substr(0, 98));
  EXPECT_EQ(roster->record(2, 0)->speed, 4);
  // 'x' and 48 characters make 97 bytes; a 49th would need bytes 98 and 99.
  EXPECT_EQ(roster->record(2, 1)->name, std::string("x").append(wide, 0, 96));
  EXPECT_EQ(roster->record(2, 1)->hp, 5);
  EXPECT_EQ(roster->record(2, 2)->name, std::string(98, 'n'));
  EXPECT_EQ(roster->record(2, 2)->speed, 12);
}

TEST(ReadingInPieces, GivesTheSameRosterAsReadingWhole) {
  const std::string contents =
      "# c\r\n戦士 a 1 2 3 4\r\n兵士\tb 5 6 7 8\r\n戦士 c\rd 1\n皇帝 " + std::string(200, 'e') + " 1 2 3 4\n戦士 f 9";
  const std::string expected = summaryOf(contents);
  for (std::size_t piece = 1; piece <= 9; ++piece) {
    const auto roster = std::make_unique<CharacterRoster>();
    CharacterDataReader reader(*roster);
    for (std::size_t at = 0; at < contents.size(); at += piece) {
      reader.feed(std::string_view(contents).substr(at, piece));
    }
    reader.finish();
    EXPECT_EQ(summary(*roster), expected) << "pieces of " << piece;
  }
}

// Replaces the platform services for one test and records what they receive.
class LoadingTheFile : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = platformServices();
    platformServices().showMessageBox = [this](std::string_view text, std::string_view caption) {
      boxes_.push_back(std::string(caption) + "|" + std::string(text));
    };
    platformServices().writeDebugTrace = [this](std::string_view text) { traces_.emplace_back(text); };
    directory_ = fs::temp_directory_path() /
                 ("growth-check-test-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(directory_);
    fs::create_directories(directory_);
  }
  void TearDown() override {
    platformServices() = saved_;
    fs::remove_all(directory_);
  }

  void writeDataFile(const std::string& contents) {
    std::ofstream(directory_ / "chardata.txt", std::ios::binary) << contents;
  }
  bool load() { return loadCharacterData(*roster_, directory_.string(), directory_.native()); }
  std::string pathText() const { return dataFilePathText(directory_.string()); }

  std::unique_ptr<CharacterRoster> roster_ = std::make_unique<CharacterRoster>();
  std::vector<std::string> boxes_;
  std::vector<std::string> traces_;
  fs::path directory_;

 private:
  PlatformServices saved_;
};

TEST_F(LoadingTheFile, TracesThePathThenTheSixCounts) {
  writeDataFile("戦士 a 1 2 3 4\n戦士 b 1 2 3 4\n皇帝 c 1 2 3 4\n");
  EXPECT_FALSE(load());
  const std::vector<std::string> expected = {pathText() + "\n", "0 ", "0 ", "2 ", "0 ", "0 ", "1 ", "\n"};
  EXPECT_EQ(traces_, expected);
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(roster_->count(2), 2);
}

TEST_F(LoadingTheFile, AnEmptyFileLoadsNothing) {
  writeDataFile("");
  EXPECT_FALSE(load());
  ASSERT_EQ(traces_.size(), 8u);
  EXPECT_EQ(traces_[1] + traces_[2] + traces_[3] + traces_[4] + traces_[5] + traces_[6] + traces_[7],
            "0 0 0 0 0 0 \n");
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(LoadingTheFile, AMissingFileShowsOneBoxAndStillTracesThePath) {
  EXPECT_TRUE(load());
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], "error!!|file:chardata.txt 読み込み失敗");
  EXPECT_EQ(traces_, std::vector<std::string>{pathText() + "\n"});
  for (int r = 0; r < kRarityCount; ++r) EXPECT_EQ(roster_->count(r), 0);
}

TEST_F(LoadingTheFile, KeepsExactly9999OfARarityAndStillLoadsTheOthers) {
  std::string contents = "兵士 first 1 1 1 1\n";
  for (int i = 0; i < 10001; ++i) contents += "戦士 c" + std::to_string(i) + " " + std::to_string(i) + " 2 3 4\r\n";
  contents += "皇帝 last 9 9 9 9\n";
  writeDataFile(contents);  // several read chunks long
  EXPECT_FALSE(load());
  EXPECT_EQ(roster_->count(0), 1);
  EXPECT_EQ(roster_->count(2), kSlotsPerRarity);
  EXPECT_EQ(roster_->count(5), 1);
  EXPECT_EQ(roster_->record(2, kSlotsPerRarity - 1)->name, "c9998");
  EXPECT_EQ(roster_->record(2, kSlotsPerRarity - 1)->hp, 9998);
  EXPECT_EQ(roster_->record(5, 0)->name, "last");
  EXPECT_EQ(traces_.at(3), "9999 ");
}

TEST(DataFilePath, JoinsTheDirectoryAndTheNameWithoutRemovingASeparator) {
#if defined(_WIN32)
  EXPECT_EQ(dataFilePathText("C:\\"), "C:\\\\chardata.txt");
  EXPECT_EQ(dataFilePathText("C:\\games\\tool"), "C:\\games\\tool\\chardata.txt");
  EXPECT_EQ(dataFilePathText(""), "\\chardata.txt");
#else
  EXPECT_EQ(dataFilePathText("/"), "//chardata.txt");
  EXPECT_EQ(dataFilePathText("/home/tool"), "/home/tool/chardata.txt");
  EXPECT_EQ(dataFilePathText(""), "/chardata.txt");
#endif
}

}  // namespace
