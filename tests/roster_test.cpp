#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "roster/character_roster.h"
#include "roster/rarity.h"
#include "test_text.h"

namespace {

TEST(Rarity, NamesAreTheirCp932Bytes) {
  const char* const expected[kRarityCount] = {"95 BA 8E 6D", "8F E3 95 BA", "90 ED 8E 6D",
                                              "8F AB 8C 52", "89 A4 8E D2", "8D 63 92 E9"};
  for (int code = 0; code < kRarityCount; ++code) {
    EXPECT_EQ(hexBytes(rarityName(code)), expected[code]) << "rarity " << code;
  }
  EXPECT_TRUE(rarityName(-1).empty());
  EXPECT_TRUE(rarityName(6).empty());
}

class RosterTest : public ::testing::Test {
 protected:
  std::unique_ptr<CharacterRoster> roster = std::make_unique<CharacterRoster>();
};

TEST_F(RosterTest, StartsWithEveryCountZeroAndEverySlotEmpty) {
  for (int r = 0; r < kRarityCount; ++r) {
    EXPECT_EQ(roster->count(r), 0);
    for (const int i : {0, 1, kSlotsPerRarity - 1}) {
      const CharacterRecord* slot = roster->slot(r, i);
      ASSERT_NE(slot, nullptr);
      EXPECT_EQ(slot->index, -1);
      EXPECT_EQ(slot->rarity, -1);
      EXPECT_EQ(slot->hp | slot->attack | slot->defence | slot->speed, 0);
      EXPECT_TRUE(slot->name.empty());
    }
  }
}

TEST_F(RosterTest, AddStoresTheCharacterAtTheEndOfItsRarity) {
  EXPECT_FALSE(roster->add(3, "alpha", {40, 20, 18, 15}));
  EXPECT_FALSE(roster->add(3, "beta", {1, 2, 3, 4}));
  ASSERT_EQ(roster->count(3), 2);
  const CharacterRecord* second = roster->record(3, 1);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->index, 1);
  EXPECT_EQ(second->rarity, 3);
  EXPECT_EQ(second->name, "beta");
  EXPECT_EQ(second->hp, 1);
  EXPECT_EQ(second->attack, 2);
  EXPECT_EQ(second->defence, 3);
  EXPECT_EQ(second->speed, 4);
  EXPECT_EQ(roster->count(2), 0);
}

TEST_F(RosterTest, AddRefusesRaritiesOutsideTheTable) {
  for (const int rarity : {-1, -9999, INT_MIN, 6, 7, INT_MAX}) {
    EXPECT_TRUE(roster->add(rarity, "x", {1, 1, 1, 1})) << rarity;
    EXPECT_EQ(roster->count(rarity), 0);
  }
  for (int r = 0; r < kRarityCount; ++r) EXPECT_EQ(roster->count(r), 0);
}

TEST_F(RosterTest, EachRarityHoldsExactly9999) {
  for (int i = 0; i < kSlotsPerRarity; ++i) {
    ASSERT_FALSE(roster->add(5, std::string("c").append(std::to_string(i)), {i, 0, 0, 0}));
  }
  EXPECT_TRUE(roster->add(5, "10000th", {1, 1, 1, 1}));
  EXPECT_TRUE(roster->add(5, "10001st", {1, 1, 1, 1}));
  EXPECT_EQ(roster->count(5), kSlotsPerRarity);
  EXPECT_EQ(roster->record(5, kSlotsPerRarity - 1)->name, "c9998");
  EXPECT_EQ(roster->record(5, kSlotsPerRarity - 1)->hp, 9998);

  // The other rarities still accept characters.
  EXPECT_FALSE(roster->add(4, "next door", {1, 1, 1, 1}));
  EXPECT_FALSE(roster->add(0, "far away", {1, 1, 1, 1}));
  EXPECT_EQ(roster->count(4), 1);
}

TEST_F(RosterTest, DuplicatesAreKeptInOrderAndEmptyNamesCount) {
  roster->add(1, "twin", {10, 0, 0, 0});
  roster->add(1, "twin", {20, 0, 0, 0});
  roster->add(1, "", {30, 0, 0, 0});
  ASSERT_EQ(roster->count(1), 3);
  EXPECT_EQ(roster->record(1, 0)->hp, 10);
  EXPECT_EQ(roster->record(1, 1)->hp, 20);
  EXPECT_EQ(roster->record(1, 1)->name, "twin");
  EXPECT_EQ(roster->record(1, 2)->name, "");
}

TEST_F(RosterTest, ClearEmptiesTheFilledSlotsAndTheCounts) {
  roster->add(0, "a", {1, 2, 3, 4});
  roster->add(0, "b", {1, 2, 3, 4});
  roster->add(5, "c", {1, 2, 3, 4});
  roster->clear();
  for (int r = 0; r < kRarityCount; ++r) EXPECT_EQ(roster->count(r), 0);
  EXPECT_EQ(roster->slot(0, 1)->index, -1);
  EXPECT_TRUE(roster->slot(0, 1)->name.empty());
  EXPECT_EQ(roster->slot(5, 0)->hp, 0);
  EXPECT_FALSE(roster->add(0, "again", {9, 9, 9, 9}));
  EXPECT_EQ(roster->record(0, 0)->name, "again");
}

TEST_F(RosterTest, RequestsOutsideTheFilledSlotsGetNoRecord) {
  roster->add(2, "only", {1, 1, 1, 1});
  struct Case {
    int rarity, index;
  };
  for (const Case c : {Case{2, -1}, Case{2, 1}, Case{2, kSlotsPerRarity}, Case{0, 0},
                       Case{-1, 0}, Case{6, 0}, Case{INT_MIN, INT_MIN}, Case{2, INT_MAX}}) {
    EXPECT_EQ(roster->record(c.rarity, c.index), nullptr) << c.rarity << "," << c.index;
  }
  EXPECT_NE(roster->record(2, 0), nullptr);
  EXPECT_EQ(roster->slot(6, 0), nullptr);
  EXPECT_EQ(roster->slot(0, kSlotsPerRarity), nullptr);
}

}  // namespace
