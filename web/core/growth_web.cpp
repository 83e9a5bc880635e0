// The functions the web page calls, all through one script (core.js): the
// same roster, data file reader, growth check and form design as the
// Windows program, compiled to WebAssembly. Texts cross as CP932 bytes; each
// function that gives a text leaves it in one buffer, which textBytes()
// shows, and returns its length.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "form/form_design.h"
#include "growth/growth_check.h"
#include "growth/number_format.h"
#include "growth/prediction_range.h"
#include "roster/added_character.h"
#include "roster/chardata_loader.h"
#include "roster/cp932_text.h"
#include "roster/platform_services.h"
#include "roster/rarity.h"

// The sample chardata.txt's bytes (generated from data/chardata.txt).
extern "C" const unsigned char kSampleData[];
extern "C" const int kSampleDataBytes;

namespace {

constexpr int kChunkBytes = 64 * 1024;

// Two rosters: the one the form shows, and the one a file is read into,
// which takes its place only when the whole file has been read. A file
// that fails half-way leaves the form's roster as it was.
CharacterRoster g_rosters[2];
int g_shown = 0;
CharacterRoster& roster() { return g_rosters[g_shown]; }
CharacterRoster& spareRoster() { return g_rosters[1 - g_shown]; }

std::optional<CharacterDataReader> g_reader;
// How many characters of each rarity the roster in use read from its file
// (or the sample); those after them the player added. And the encoding the
// file was read in.
std::array<int, kRarityCount> g_fileCounts{};
DataFileEncoding g_fileEncoding = DataFileEncoding::cp932;
void countFile() {
  for (int rarity = 0; rarity < kRarityCount; ++rarity) g_fileCounts[static_cast<std::size_t>(rarity)] = roster().count(rarity);
}
AddingOutcome g_added;  // the last character added, or why not
std::uint16_t g_cp932Of[0x10000];  // each BMP character's CP932 code, 0 for none, from the page
std::string g_text;
char g_buffer[kChunkBytes];  // bytes from the page: a piece of a file, or a field's text

// The stats' keys, in the core's order: the names of a check's figures
// start with them ("hpGain"), and the page takes them from here.
constexpr std::string_view kStatKeys[kStatCount] = {"hp", "attack", "defence", "speed"};

int giveText(std::string_view text) {
  g_text = text;
  return static_cast<int>(g_text.size());
}

// Calls add(group, name, text) for each figure of a check that passed, as
// the lines print it: "figure" with its name (the prediction's empty at 0
// battles), then each stat's piece of the gains line and of the predicted
// gains line, "gainText" and "predictedGainText" with the stat's name.
// `texts`, where given, makes the decimals.
template <typename Add>
void eachFigure(const GrowthReport& report, Add add, FixedTexts* texts = nullptr) {
  const bool predicted = !report.predictionHeading.empty();
  const auto fixed = [texts](double figure, int decimals) {
    return texts ? texts->text(figure, decimals) : formatFixed(figure, decimals);
  };
  const auto tenths = [predicted, &fixed](double figure) { return predicted ? fixed(figure, 1) : std::string(); };
  add("figure", "progress", formatInteger(report.progress));
  add("figure", "scale", fixed(report.scale, 2));
  for (std::size_t stat = 0; stat < kStatCount; ++stat) {
    const StatGrowth& growth = report.stats[stat];
    const std::string name(kStatKeys[stat]);
    add("figure", name + "Gain", formatInteger(growth.gain));
    add("figure", name + "Percent", fixed(growth.percent, 1));
    add("figure", name + "Predicted", tenths(growth.predictedValue));
    add("figure", name + "PredictedGain", tenths(growth.predictedGain));
    add("figure", name + "PredictedPercent", tenths(growth.predictedPercent));
    add("gainText", name, growth.gainText);
    add("predictedGainText", name, growth.predictedGainText);
  }
  add("figure", "sum", tenths(report.threeStatSum));
}

// A report as pairs of a name and a text, each ended by a NUL (which no
// line holds): "failed" (1 or 0); the seven lines top to bottom, "line.0"
// to "line.6", and the result box's "log"; then, for a check that passed,
// each of its figures as "<group>.<name>".
void addField(std::string_view name, std::string_view text) {
  g_text.append(name).push_back('\0');
  g_text.append(text).push_back('\0');
}
void addReport(const GrowthReport& report) {
  const std::string* lines[] = {&report.progressLine,        &report.currentHeading,     &report.gainsLine,
                                &report.predictionHeading,   &report.predictedValuesLine, &report.predictedGainsLine,
                                &report.threeStatSumLine};
  addField("failed", report.failed ? "1" : "0");
  for (std::size_t line = 0; line < std::size(lines); ++line) addField("line." + std::to_string(line), *lines[line]);
  addField("log", report.logText);
  if (report.failed) return;
  eachFigure(report, [](std::string_view group, const std::string& name, const std::string& text) {
    addField(std::string(group) + "." + name, text);
  });
}

// The inputs of checkMany: for each check, its rarity, four base stats and
// five typed numbers.
constexpr std::size_t kNumbersPerCheck = 10;
std::vector<std::int32_t> g_manyChecks;

// The checks of one unit for predictionRangeOf.
std::vector<UnitCheck> g_unitChecks;
static_assert(sizeof(UnitCheck) == 5 * sizeof(std::int32_t), "a unit's check crosses as five numbers");

// A character as the page gives one: its four base stats.
CharacterRecord withBase(std::int32_t hp, std::int32_t attack, std::int32_t defence, std::int32_t speed) {
  CharacterRecord character;
  std::tie(character.hp, character.attack, character.defence, character.speed) = std::tie(hp, attack, defence, speed);
  return character;
}

const ControlDesign* design(int index) {
  const auto controls = formControls();
  return index >= 0 && static_cast<std::size_t>(index) < controls.size() ? &controls[static_cast<std::size_t>(index)]
                                                                         : nullptr;
}

}  // namespace

extern "C" {

// The last text given, as CP932 bytes.
EMSCRIPTEN_KEEPALIVE const char* textBytes() { return g_text.data(); }

// Where the page puts bytes for feedData and fieldNumber, and how many fit.
EMSCRIPTEN_KEEPALIVE char* inputBuffer() { return g_buffer; }
EMSCRIPTEN_KEEPALIVE int inputCapacity() { return kChunkBytes; }

// The form design, control by control: its kind, number, x, y, width,
// height, arrows' upper bound, font and text colour (0xRRGGBB, -1 for the
// platform's own), by `which` from 0 to 8; -1 past the last.
EMSCRIPTEN_KEEPALIVE int controlCount() { return static_cast<int>(formControls().size()); }
EMSCRIPTEN_KEEPALIVE int controlValue(int index, int which) {
  const ControlDesign* c = design(index);
  if (c == nullptr) return -1;
  const bool captioned = c->kind == ControlKind::label || c->kind == ControlKind::frame;
  const int values[] = {static_cast<int>(c->kind), c->number, c->x, c->y, c->width, c->height,
                        c->arrowUpperBound, static_cast<int>(c->font),
                        captioned ? static_cast<int>(captionColour(c->number)) : -1};
  return which >= 0 && which < static_cast<int>(std::size(values)) ? values[which] : -1;
}
EMSCRIPTEN_KEEPALIVE int controlText(int index) {
  const ControlDesign* c = design(index);
  return giveText(c ? c->text : std::string_view{});
}
EMSCRIPTEN_KEEPALIVE int startRarity() { return kStartRarity; }
EMSCRIPTEN_KEEPALIVE int battleFieldReadChars() { return kBattleFieldReadChars; }
EMSCRIPTEN_KEEPALIVE int fieldReadChars() { return kFieldReadChars; }

// The stats' keys, one a line.
EMSCRIPTEN_KEEPALIVE int statKeysText() {
  g_text.clear();
  for (const std::string_view key : kStatKeys) g_text.append(g_text.empty() ? "" : "\n").append(key);
  return static_cast<int>(g_text.size());
}

// The rarity names, in code order.
EMSCRIPTEN_KEEPALIVE int rarityCount() { return kRarityCount; }
EMSCRIPTEN_KEEPALIVE int rarityNameText(int code) { return giveText(rarityName(code)); }

// The browser's own Shift_JIS table, turned round by the page (core.js), as
// the conversion of characters from UTF-8 and UTF-16 files: where the page
// puts it, and then its use.
EMSCRIPTEN_KEEPALIVE std::uint16_t* cp932Table() { return g_cp932Of; }
EMSCRIPTEN_KEEPALIVE void useCp932Table() {
  platformServices().characterToCp932 = [](char16_t character) {
    if (character < 0x80) return std::string(1, static_cast<char>(character));  // ASCII is itself
    if (const auto byte = windowsOnlyCp932Byte(character)) return std::string(1, static_cast<char>(*byte));
    const std::uint16_t code = g_cp932Of[character];
    if (code == 0) return std::string("?");
    if (code < 0x100) return std::string(1, static_cast<char>(code));
    return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  };
}

// A data file read into the spare roster, in pieces put in the input
// buffer; endData shows it, abandonData drops it.
EMSCRIPTEN_KEEPALIVE void beginData() {
  spareRoster().clear();
  g_reader.emplace(spareRoster());
}
EMSCRIPTEN_KEEPALIVE void feedData(int length) {
  if (g_reader && length >= 0 && length <= kChunkBytes) g_reader->feed(std::string_view(g_buffer, static_cast<std::size_t>(length)));
}
// 1 when the text has ended (at a 0x1A) and the rest of the file can go unread.
EMSCRIPTEN_KEEPALIVE int dataEnded() { return g_reader && g_reader->ended() ? 1 : 0; }
// Finishes the file and returns how many characters it held. Only a file
// with at least one takes the place of the roster in use: one with none (a
// photo, some other text) leaves the form's roster as it was.
EMSCRIPTEN_KEEPALIVE int endData() {
  if (!g_reader) return 0;
  g_reader->finish();
  const DataFileEncoding encoding = g_reader->encoding();
  g_reader.reset();
  const int characters = spareRoster().total();
  if (characters > 0) {
    g_shown = 1 - g_shown;
    g_fileEncoding = encoding;
    countFile();
  }
  return characters;
}
EMSCRIPTEN_KEEPALIVE void abandonData() { g_reader.reset(); }
// The project's sample chardata.txt, built into the page.
EMSCRIPTEN_KEEPALIVE void useSampleData() {
  g_reader.reset();
  spareRoster().clear();
  readCharacterData(spareRoster(), std::string_view(reinterpret_cast<const char*>(kSampleData),
                                                    static_cast<std::size_t>(kSampleDataBytes)));
  g_shown = 1 - g_shown;
  g_fileEncoding = DataFileEncoding::cp932;
  countFile();
}
// The sample's own bytes, as the page writes chardata.txt back.
EMSCRIPTEN_KEEPALIVE int sampleDataText() {
  return giveText(std::string_view(reinterpret_cast<const char*>(kSampleData), static_cast<std::size_t>(kSampleDataBytes)));
}
// The encoding the roster in use was read in (DataFileEncoding).
EMSCRIPTEN_KEEPALIVE int dataEncoding() { return static_cast<int>(g_fileEncoding); }
// How many characters of `rarity` the roster in use read from its file.
EMSCRIPTEN_KEEPALIVE int fileCount(int rarity) { return isRarityCode(rarity) ? g_fileCounts[static_cast<std::size_t>(rarity)] : 0; }

// Adds a character to the roster in use, by its line of chardata.txt: its
// name is `units` UTF-16 units in the input buffer (little-endian). Returns
// the problem (AddingProblem, 0 for none); addedAt(), addedIndex() and
// addedDuplicate() tell the rest.
EMSCRIPTEN_KEEPALIVE int addCharacter(int rarity, int units, int hp, int attack, int defence, int speed) {
  std::u16string name(static_cast<std::size_t>(std::clamp(units, 0, kChunkBytes / 2)), u'\0');
  for (std::size_t i = 0; i < name.size(); ++i) {
    name[i] = static_cast<char16_t>(static_cast<unsigned char>(g_buffer[2 * i]) | static_cast<unsigned char>(g_buffer[2 * i + 1]) << 8);
  }
  g_added = addCharacterLine(roster(), rarity, name, {hp, attack, defence, speed});
  return static_cast<int>(g_added.problem);
}
EMSCRIPTEN_KEEPALIVE int addedAt() { return static_cast<int>(g_added.at); }
EMSCRIPTEN_KEEPALIVE int addedIndex() { return g_added.index; }
EMSCRIPTEN_KEEPALIVE int addedDuplicate() { return g_added.duplicate ? 1 : 0; }
// Takes back a character the player added (at `index` of `rarity`, after the
// file's own); those added after it move up, in their order.
EMSCRIPTEN_KEEPALIVE void removeCharacter(int rarity, int index) {
  if (index < fileCount(rarity) || index >= roster().count(rarity)) return;
  std::vector<CharacterRecord> later;
  for (int i = index + 1; i < roster().count(rarity); ++i) later.push_back(*roster().record(rarity, i));
  roster().truncate(rarity, index);
  for (const CharacterRecord& c : later) roster().add(rarity, c.name, {c.hp, c.attack, c.defence, c.speed});
}
// A character's line of chardata.txt (CP932), without a line end.
EMSCRIPTEN_KEEPALIVE int characterLineText(int rarity, int index) {
  const CharacterRecord* c = roster().record(rarity, index);
  return giveText(c ? characterLine(*c) : std::string());
}
// The failure dialog's text, with a line feed where the page puts the name
// of the file the player chose (which no CP932 text need hold).
EMSCRIPTEN_KEEPALIVE int openFailedTextText() { return giveText(openFailedText("\n")); }
EMSCRIPTEN_KEEPALIVE int openFailedCaptionText() { return giveText(openFailedCaption()); }

// The roster: the names of a rarity's characters in roster order, each followed by a
// line feed (which no name holds), for the page to list at once.
EMSCRIPTEN_KEEPALIVE int characterNamesText(int rarity) {
  g_text.clear();
  for (int index = 0; index < roster().count(rarity); ++index) {
    g_text.append(roster().record(rarity, index)->name).push_back('\n');
  }
  return static_cast<int>(g_text.size());
}
// Label 1004's text for a character; empty for none.
EMSCRIPTEN_KEEPALIVE int baseStatsText(int rarity, int index) {
  const CharacterRecord* c = roster().record(rarity, index);
  return giveText(c ? formatLine(baseStatsFormat(), {c->hp, c->attack, c->defence, c->speed}) : std::string());
}
// A character's four base stats (HP, attack, defence, speed), or null for none.
EMSCRIPTEN_KEEPALIVE const std::int32_t* baseStats(int rarity, int index) {
  static std::int32_t stats[kStatCount];
  const CharacterRecord* c = roster().record(rarity, index);
  if (c == nullptr) return nullptr;
  std::tie(stats[0], stats[1], stats[2], stats[3]) = std::tie(c->hp, c->attack, c->defence, c->speed);
  return stats;
}

// A field's text (`length` bytes in the input buffer) read as atoi reads it.
EMSCRIPTEN_KEEPALIVE int fieldNumber(int length) {
  if (length < 0 || length > kChunkBytes) return 0;
  return fieldTextToNumber(std::string_view(g_buffer, static_cast<std::size_t>(length)));
}
EMSCRIPTEN_KEEPALIVE int integerText(int value) { return giveText(formatInteger(value)); }
EMSCRIPTEN_KEEPALIVE int hpAfterStep(int hp, int delta) { return steppedHp(hp, delta); }

// The growth check of a character of `rarity` with these base stats and
// typed numbers, as one report of names and texts (addReport).
EMSCRIPTEN_KEEPALIVE int checkReport(int rarity, int baseHp, int baseAttack, int baseDefence, int baseSpeed,
                                     int battles, int hp, int attack, int defence, int speed) {
  const CharacterRecord character = withBase(baseHp, baseAttack, baseDefence, baseSpeed);
  g_text.clear();
  const GrowthInputs inputs{battles, hp, attack, defence, speed};
  addReport(runGrowthCheck(rarity, character, inputs));
  addField("failedInput", std::to_string(growthCheckFailedInput(rarity, character, inputs)));
  return static_cast<int>(g_text.size());
}
// Many checks in one pass, as an import recomputes them: checksInput(count)
// gives room for `count` checks' numbers (checkMany's inputs), and
// checkMany(count) runs them. Its text is a line of the figures' names, then
// a line a check: "0" and its figures, or "1" and the message of the check
// that failed, all after tabs (which no figure or message holds).
EMSCRIPTEN_KEEPALIVE std::int32_t* checksInput(int count) {
  g_manyChecks.assign(static_cast<std::size_t>(std::max(count, 0)) * kNumbersPerCheck, 0);
  return g_manyChecks.data();
}
EMSCRIPTEN_KEEPALIVE int checkMany(int count) {
  g_text.clear();
  const auto addFigure = [](bool name) {
    return [name](std::string_view group, const std::string& figure, const std::string& text) {
      if (group != "figure") return;
      if (!g_text.empty() && g_text.back() != '\n') g_text.push_back('\t');
      g_text.append(name ? figure : text);
    };
  };
  eachFigure(GrowthReport{}, addFigure(true));
  // The same figures recur from one check to the next: their texts are
  // kept while this batch runs.
  FixedTexts texts;
  const std::size_t checks = std::min(static_cast<std::size_t>(std::max(count, 0)), g_manyChecks.size() / kNumbersPerCheck);
  for (std::size_t i = 0; i < checks; ++i) {
    const std::int32_t* n = &g_manyChecks[i * kNumbersPerCheck];
    const CharacterRecord character = withBase(n[1], n[2], n[3], n[4]);
    const GrowthReport report = runGrowthCheck(n[0], character, {n[5], n[6], n[7], n[8], n[9]}, &texts);
    g_text.append(report.failed ? "\n1\t" : "\n0");
    if (report.failed) g_text.append(report.progressLine);
    else eachFigure(report, addFigure(false), &texts);
  }
  g_text.push_back('\n');
  return static_cast<int>(g_text.size());
}

// A unit's checks for predictionRangeOf: unitChecksInput(count) gives room
// for `count` checks, each its battles and four stats, oldest first.
EMSCRIPTEN_KEEPALIVE std::int32_t* unitChecksInput(int count) {
  g_unitChecks.assign(static_cast<std::size_t>(std::max(count, 0)), UnitCheck{});
  return reinterpret_cast<std::int32_t*>(g_unitChecks.data());
}
// The range at `battles` (the battle limit when negative) of a unit of a
// character of `rarity` with these base stats, from the checks put in:
// fifteen figures (predicted, low and high for HP, attack, defence, speed
// and the three-stat sum), or null where there is none.
EMSCRIPTEN_KEEPALIVE const double* predictionRangeOf(int rarity, int baseHp, int baseAttack, int baseDefence,
                                                     int baseSpeed, int count, int battles) {
  static double figures[3 * (kStatCount + 1)];
  const CharacterRecord character = withBase(baseHp, baseAttack, baseDefence, baseSpeed);
  const std::size_t checks = std::min(static_cast<std::size_t>(std::max(count, 0)), g_unitChecks.size());
  const auto range = predictionRange(rarity, character, std::span(g_unitChecks.data(), checks),
                                     battles < 0 ? std::nullopt : std::optional<std::int32_t>(battles));
  if (!range) return nullptr;
  std::size_t at = 0;
  for (const StatRange* row : {&range->stats[0], &range->stats[1], &range->stats[2], &range->stats[3], &range->sum}) {
    figures[at++] = row->predicted;
    figures[at++] = row->low;
    figures[at++] = row->high;
  }
  return figures;
}
EMSCRIPTEN_KEEPALIVE double predictionRangeLevel() { return kPredictionRangeLevel; }
// A figure printed as the result lines print it: "%.1f" for 1 decimal.
EMSCRIPTEN_KEEPALIVE int fixedText(double value, int decimals) { return giveText(formatFixed(value, decimals)); }

// A rarity's battle limit; 0 for no rarity.
EMSCRIPTEN_KEEPALIVE int battleLimitOf(int rarity) { return battleLimit(rarity).value_or(0); }

// The form design's colour of the result lines, which the chart draws in.
EMSCRIPTEN_KEEPALIVE int resultLineColour() { return static_cast<int>(kResultLineColour); }

}  // extern "C"
