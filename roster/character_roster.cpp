#include "roster/character_roster.h"

namespace {

// What every slot never filled reads as.
const CharacterRecord kEmptySlot{};

}  // namespace

CharacterRoster::CharacterRoster() = default;

bool CharacterRoster::add(int rarity, std::string_view name, const BaseStats& stats) {
  if (!isRarityCode(rarity)) return true;
  std::int32_t& used = counts_[static_cast<std::size_t>(rarity)];
  if (used >= kSlotsPerRarity) return true;

  std::vector<CharacterRecord>& made = made_[static_cast<std::size_t>(rarity)];
  if (static_cast<std::size_t>(used) == made.size()) made.emplace_back();
  CharacterRecord& slot = made[static_cast<std::size_t>(used)];
  slot.index = used;
  slot.rarity = rarity;
  slot.hp = stats.hp;
  slot.attack = stats.attack;
  slot.defence = stats.defence;
  slot.speed = stats.speed;
  slot.name.assign(name);  // reuses the emptied slot's buffer
  ++used;
  return false;
}

void CharacterRoster::clear() {
  for (int rarity = 0; rarity < kRarityCount; ++rarity) truncate(rarity, 0);
}

void CharacterRoster::truncate(int rarity, int count) {
  if (!isRarityCode(rarity) || count < 0 || count > this->count(rarity)) return;
  std::int32_t& used = counts_[static_cast<std::size_t>(rarity)];
  std::vector<CharacterRecord>& made = made_[static_cast<std::size_t>(rarity)];
  for (int index = count; index < used; ++index) {
    CharacterRecord& slot = made[static_cast<std::size_t>(index)];
    slot.index = slot.rarity = -1;
    slot.hp = slot.attack = slot.defence = slot.speed = 0;
    slot.name.clear();  // keeps the buffer for the next fill
  }
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
  return &made_[static_cast<std::size_t>(rarity)][static_cast<std::size_t>(index)];
}

const CharacterRecord* CharacterRoster::slot(int rarity, int index) const {
  if (!isRarityCode(rarity) || index < 0 || index >= kSlotsPerRarity) return nullptr;
  const std::vector<CharacterRecord>& made = made_[static_cast<std::size_t>(rarity)];
  return static_cast<std::size_t>(index) < made.size() ? &made[static_cast<std::size_t>(index)] : &kEmptySlot;
}
