#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "roster/added_character.h"
#include "roster/chardata_loader.h"
#include "test_text.h"

namespace {

struct AddCase {
  const char* what;
  int rarity;
  std::u16string name;
  BaseStats base;
  AddingProblem problem;
  std::size_t at;
};

class AddingACharacter : public ::testing::TestWithParam<AddCase> {};

// Each refusal names its problem and leaves the roster as it was.
TEST_P(AddingACharacter, IsRefusedWithItsReasonAndChangesNothing) {
  const AddCase& c = GetParam();
  auto roster = std::make_unique<CharacterRoster>();
  roster->add(2, "アレス", {80, 30, 26, 22});
  const AddingOutcome outcome = addCharacterLine(*roster, c.rarity, c.name, c.base);
  EXPECT_EQ(outcome.problem, c.problem);
  EXPECT_EQ(outcome.at, c.at);
  EXPECT_EQ(roster->total(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, AddingACharacter,
    ::testing::Values(AddCase{"NoRarity", 6, u"x", {1, 1, 1, 1}, AddingProblem::noRarity, 0},
                      AddCase{"EmptyName", 2, u"", {1, 1, 1, 1}, AddingProblem::emptyName, 0},
                      AddCase{"Space", 2, u"ab c", {1, 1, 1, 1}, AddingProblem::whiteSpace, 2},
                      AddCase{"Tab", 2, u"\tab", {1, 1, 1, 1}, AddingProblem::whiteSpace, 0},
                      AddCase{"NotCp932", 2, u"吉\U00020BB7", {1, 1, 1, 1}, AddingProblem::notCp932, 1},
                      AddCase{"WaveDash", 2, u"a〜", {1, 1, 1, 1}, AddingProblem::notCp932, 1},
                      AddCase{"NinetyNineBytes", 2, std::u16string(49, u'ア') + u"x", {1, 1, 1, 1}, AddingProblem::tooLong, 99},
                      AddCase{"BaseZero", 2, u"x", {1, 0, 1, 1}, AddingProblem::baseOutOfRange, 1},
                      AddCase{"BaseTooLarge", 2, u"x", {1, 1, 1, 1073741824}, AddingProblem::baseOutOfRange, 3},
                      AddCase{"EndsTheText", 2, u"a\x1A", {1, 1, 1, 1}, AddingProblem::readOtherwise, 0},
                      AddCase{"EndsTheLine", 2, std::u16string(u"a\0b", 3), {1, 1, 1, 1}, AddingProblem::readOtherwise, 0}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(AddingACharacter, ReadsItsLineAsTheLoaderWouldAtTheEndOfItsRarity) {
  auto roster = std::make_unique<CharacterRoster>();
  roster->add(2, "アレス", {80, 30, 26, 22});
  // 表, ソ and 予 end in the byte 5C; a full-width space belongs to the name; 98 bytes is the most.
  const std::u16string names[] = {u"表ソ予", u"全角　空白", std::u16string(49, u'ア'), u"アレス"};
  for (const std::u16string& name : names) {
    const AddingOutcome outcome = addCharacterLine(*roster, 2, name, {1, 2, 1073741823, 4});
    ASSERT_EQ(outcome.problem, AddingProblem::none);
    EXPECT_EQ(outcome.index, roster->count(2) - 1);
    EXPECT_EQ(outcome.duplicate, name == u"アレス");
  }
  const CharacterRecord& table = *roster->record(2, 1);
  EXPECT_EQ(hexBytes(table.name), "95 5C 83 5C 97 5C");
  EXPECT_EQ(roster->record(2, 3)->name.size(), 98u);
  // The line, as the page writes it back, reads as the same character.
  auto again = std::make_unique<CharacterRoster>();
  readCharacterData(*again, characterLine(*roster->record(2, 2)) + "\r\n");
  EXPECT_EQ(again->record(2, 0)->name, roster->record(2, 2)->name);
  EXPECT_EQ(again->record(2, 0)->defence, 1073741823);
  EXPECT_EQ(hexBytes(characterLine(table)), "90 ED 8E 6D 20 95 5C 83 5C 97 5C 20 31 20 32 20 31 30 37 33 37 34 31 38 32 33 20 34");
}

TEST(AddingACharacter, IsRefusedInAFullRarity) {
  auto roster = std::make_unique<CharacterRoster>();
  for (int i = 0; i < kSlotsPerRarity; ++i) roster->add(0, "x", {1, 1, 1, 1});
  EXPECT_EQ(addCharacterLine(*roster, 0, u"y", {1, 1, 1, 1}).problem, AddingProblem::rarityFull);
  EXPECT_EQ(addCharacterLine(*roster, 1, u"y", {1, 1, 1, 1}).problem, AddingProblem::none);
}

TEST(RosterTruncate, TakesBackTheLastCharactersOfOneRarity) {
  auto roster = std::make_unique<CharacterRoster>();
  for (const char* name : {"a", "b", "c"}) roster->add(3, name, {1, 1, 1, 1});
  roster->add(4, "d", {1, 1, 1, 1});
  roster->truncate(3, 1);
  EXPECT_EQ(roster->count(3), 1);
  EXPECT_EQ(roster->slot(3, 1)->index, -1);
  EXPECT_TRUE(roster->slot(3, 2)->name.empty());
  EXPECT_EQ(roster->count(4), 1);
  roster->truncate(3, 2);  // beyond its count: nothing
  roster->truncate(-1, 0);
  EXPECT_EQ(roster->count(3), 1);
  roster->add(3, "e", {1, 1, 1, 1});
  EXPECT_EQ(roster->record(3, 1)->name, "e");
}

}  // namespace
