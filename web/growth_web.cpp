// The functions the web page calls (web/form.js): the same roster, data file
// reader, growth check and form design as the Windows program, compiled to
// WebAssembly. Texts cross as CP932 bytes; each function that gives a text
// leaves it in one buffer, which textBytes() and textLength() show.

#include <emscripten/emscripten.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "form/form_design.h"
#include "growth/growth_check.h"
#include "growth/number_format.h"
#include "roster/chardata_loader.h"
#include "roster/cp932_text.h"
#include "roster/platform_services.h"
#include "roster/rarity.h"

// The sample chardata.txt's bytes (generated from data/chardata.txt).
extern "C" const unsigned char kSampleData[];
extern "C" const int kSampleDataBytes;

namespace {

constexpr int kChunkBytes = 64 * 1024;

// Two rosters, allocated once: the one the form shows, and the one a file
// is read into, which takes its place only when the whole file has been
// read. A file that fails half-way leaves the form's roster as it was, and
// reading needs no memory beyond what the page started with.
CharacterRoster g_rosters[2];
int g_shown = 0;
CharacterRoster& roster() { return g_rosters[g_shown]; }
CharacterRoster& spareRoster() { return g_rosters[1 - g_shown]; }

std::optional<CharacterDataReader> g_reader;
std::uint16_t g_cp932Of[0x10000];  // each BMP character's CP932 code, 0 for none, from the page
GrowthReport g_report;
std::string g_text;
char g_buffer[kChunkBytes];  // bytes from the page: a piece of a file, or a field's text

int giveText(std::string_view text) {
  g_text = text;
  return static_cast<int>(g_text.size());
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
EMSCRIPTEN_KEEPALIVE int textLength() { return static_cast<int>(g_text.size()); }

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

// The rarity names, in code order.
EMSCRIPTEN_KEEPALIVE int rarityCount() { return kRarityCount; }
EMSCRIPTEN_KEEPALIVE int rarityNameText(int code) { return giveText(rarityName(code)); }

// The browser's own Shift_JIS table, turned round by the page (form.js), as
// the conversion of characters from UTF-8 and UTF-16 files: where the page
// puts it, and then its use.
EMSCRIPTEN_KEEPALIVE std::uint16_t* cp932Table() { return g_cp932Of; }
EMSCRIPTEN_KEEPALIVE void useCp932Table() {
  platformServices().characterToCp932 = [](char16_t character) {
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
  g_reader.reset();
  const int characters = spareRoster().total();
  if (characters > 0) g_shown = 1 - g_shown;
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
// One base stat ("%d"): 0 HP, 1 attack, 2 defence, 3 speed; empty for none.
EMSCRIPTEN_KEEPALIVE int baseStatText(int rarity, int index, int which) {
  const CharacterRecord* c = roster().record(rarity, index);
  if (c == nullptr || which < 0 || which > 3) return giveText({});
  const std::int32_t stats[] = {c->hp, c->attack, c->defence, c->speed};
  return giveText(formatInteger(stats[which]));
}

// A field's text (`length` bytes in the input buffer) read as atoi reads it.
EMSCRIPTEN_KEEPALIVE int fieldNumber(int length) {
  if (length < 0 || length > kChunkBytes) return 0;
  return fieldTextToNumber(std::string_view(g_buffer, static_cast<std::size_t>(length)));
}
EMSCRIPTEN_KEEPALIVE int integerText(int value) { return giveText(formatInteger(value)); }
EMSCRIPTEN_KEEPALIVE int hpAfterStep(int hp, int delta) { return steppedHp(hp, delta); }

// The growth check of a character: 1 when validation failed, 0 when it
// passed, -1 when there is no such character. reportText gives its texts:
// the seven lines (0 to 6, top to bottom) and the log (7).
EMSCRIPTEN_KEEPALIVE int calculate(int rarity, int index, int battles, int hp, int attack, int defence, int speed) {
  const CharacterRecord* c = roster().record(rarity, index);
  if (c == nullptr) return -1;
  g_report = runGrowthCheck(rarity, *c, {battles, hp, attack, defence, speed});
  return g_report.failed ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE int reportText(int which) {
  const std::string* texts[] = {&g_report.progressLine,        &g_report.currentHeading,
                                &g_report.gainsLine,           &g_report.predictionHeading,
                                &g_report.predictedValuesLine, &g_report.predictedGainsLine,
                                &g_report.threeStatSumLine,    &g_report.logText};
  return giveText(which >= 0 && which < 8 ? std::string_view(*texts[which]) : std::string_view{});
}

// The last check's figures for the page's chart, from the same report and
// the same number formatting as its lines (read them after a check that
// passed): for stat 0 to 3 (HP, attack, defence, speed), `which` 0 is the
// gain's percentage of the base and 1 the predicted gain's (NaN without a
// prediction); for stat 4, 0 is the progress and 1 the graph scale.
EMSCRIPTEN_KEEPALIVE double chartNumber(int stat, int which) {
  if (stat == 4) return which == 0 ? static_cast<double>(g_report.progress) : g_report.scale;
  if (stat < 0 || stat > 3) return 0.0;
  const StatGrowth& growth = g_report.stats[static_cast<std::size_t>(stat)];
  if (which == 0) return growth.percent;
  return growth.predictedGainText.empty() ? std::numeric_limits<double>::quiet_NaN() : growth.predictedPercent;
}
// That number as its line prints it ("%.1f"; the progress "%d", the scale
// "%.2f"); empty where there is none.
EMSCRIPTEN_KEEPALIVE int chartNumberText(int stat, int which) {
  if (stat == 4) return giveText(which == 0 ? formatInteger(g_report.progress) : formatFixed(g_report.scale, 2));
  if (stat < 0 || stat > 3) return giveText({});
  const StatGrowth& growth = g_report.stats[static_cast<std::size_t>(stat)];
  if (which == 0) return giveText(formatFixed(growth.percent, 1));
  return giveText(growth.predictedGainText.empty() ? std::string() : formatFixed(growth.predictedPercent, 1));
}
// A stat's piece of the gains line (0) or of the predicted gains line (1).
EMSCRIPTEN_KEEPALIVE int chartStatText(int stat, int which) {
  if (stat < 0 || stat > 3) return giveText({});
  const StatGrowth& growth = g_report.stats[static_cast<std::size_t>(stat)];
  return giveText(which == 0 ? growth.gainText : growth.predictedGainText);
}
// The last passing check's figures as its lines print them, each followed
// by a line feed: the progress and the scale; each stat's gain and its
// percentage; then, for a check with battles (empty without), each stat's
// predicted value, gain and percentage, and the three-stat sum.
EMSCRIPTEN_KEEPALIVE int checkFiguresText() {
  const bool predicted = !g_report.predictionHeading.empty();
  g_text.clear();
  const auto add = [](const std::string& figure) { g_text.append(figure).push_back('\n'); };
  add(formatInteger(g_report.progress));
  add(formatFixed(g_report.scale, 2));
  for (const StatGrowth& growth : g_report.stats) {
    add(formatInteger(growth.gain));
    add(formatFixed(growth.percent, 1));
  }
  for (const StatGrowth& growth : g_report.stats) {
    for (const double figure : {growth.predictedValue, growth.predictedGain, growth.predictedPercent}) {
      add(predicted ? formatFixed(figure, 1) : std::string());
    }
  }
  add(predicted ? formatFixed(g_report.threeStatSum, 1) : std::string());
  return static_cast<int>(g_text.size());
}
// A rarity's battle limit; 0 for no rarity.
EMSCRIPTEN_KEEPALIVE int battleLimitOf(int rarity) { return battleLimit(rarity).value_or(0); }

// The form design's colour of the result lines, which the chart draws in.
EMSCRIPTEN_KEEPALIVE int resultLineColour() { return static_cast<int>(kResultLineColour); }

}  // extern "C"
