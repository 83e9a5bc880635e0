#include "roster/character_roster.h"

namespace {

constexpr std::size_t slotNumber(int rarity, int index) {
  return static_cast<std::size_t>(rarity) * kSlotsPerRarity + static_cast<std::size_t>(index);
}

}  // namespace

CharacterRoster::CharacterRoster()
    : slots_(std::make_unique<CharacterRecord[]>(std::size_t{kRarityCount} * kSlotsPerRarity)) {}

bool CharacterRoster::add(int rarity, std::string_view name, const BaseStats& stats) {
  if (!isRarityCode(rarity)) return true;
  std::int32_t& used = counts_[static_cast<std::size_t>(rarity)];
  if (used >= kSlotsPerRarity) return true;

  CharacterRecord& slot = slots_[slotNumber(rarity, used)];
  slot.index = used;
  slot.rarity = rarity;
  slot.hp = stats.hp;
  slot.attack = stats.attack;
  slot.defence = stats.defence;
  slot.speed = stats.speed;
  slot.name.assign(name);
  ++used;
  return false;
}

void CharacterRoster::clear() {
  for (int rarity = 0; rarity < kRarityCount; ++rarity) {
    std::int32_t& used = counts_[static_cast<std::size_t>(rarity)];
    for (int index = 0; index < used; ++index) slots_[slotNumber(rarity, index)] = CharacterRecord{};
    used = 0;
  }
}

void CharacterRoster::truncate(int rarity, int count) {
  if (!isRarityCode(rarity) || count < 0 || count > this->count(rarity)) return;
  std::int32_t& used = counts_[static_cast<std::size_t>(rarity)];
  for (int index = count; index < used; ++index) slots_[slotNumber(rarity, index)] = CharacterRecord{};
  used = count;
}

int CharacterRoster::count(int rarity) const {
  return isRarityCode(rarity) ? counts_[static_cast<std::size_t>(rarity)] : 0;
}

int CharacterRoster::total() const {
  int characters = 0;
  for (const std::int32_t count : counts_) characters += count;
  return characters;
}

const CharacterRecord* CharacterRoster::record(int rarity, int index) const {
  if (index < 0 || index >= count(rarity)) return nullptr;
  return &slots_[slotNumber(rarity, index)];
}

const CharacterRecord* CharacterRoster::slot(int rarity, int index) const {
  if (!isRarityCode(rarity) || index < 0 || index >= kSlotsPerRarity) return nullptr;
  return &slots_[slotNumber(rarity, index)];
}
