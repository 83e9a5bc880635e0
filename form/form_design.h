#pragma once
// The form as it is designed, whatever draws it: every control's kind, text,
// number and place, the fonts and colours, and the rules of its fields. The
// Windows program (ui/) and the browser page (web/) build their controls
// from this one description. Standard C++ only; texts are CP932.

#include <cstdint>
#include <span>
#include <string_view>

#include "form/control_ids.h"

enum class ControlKind : unsigned char {
  frame,       // a group box with a caption
  label,       // static text
  list,        // a drop-down list
  field,       // a number field
  arrows,      // up and down arrows that step their field by one within 0..upper bound
  hpArrows,    // the HP field's arrows, which the form steps by two
  pushButton,  // the calculate button
  resultBox,   // the read-only multi-line result box
};

// Which font a control draws its text with.
enum class FontRole : unsigned char {
  none,        // no text: the arrow controls
  systemFont,  // the system's own (where it shows Japanese at 96 DPI)
  rarityList,  // the 16-pixel gothic
  resultBox,   // the 12-pixel gothic
};

struct ControlDesign {
  ControlKind kind;
  std::string_view text;  // CP932
  int number;
  int x, y, width, height;  // pixels of the client area at 96 DPI
  int arrowUpperBound;      // arrow controls only
  bool startsGroup;         // a new group for the arrow keys
  FontRole font;
};

// Every control in creation order, which is also the Tab order of the
// fields. The two lists' heights are those of the list dropped open.
std::span<const ControlDesign> formControls();

// The design's own pixel density.
inline constexpr int kDesignDpi = 96;

// The two gothic fonts: their face ("ＭＳ ゴシック"), and their cell heights
// at 96 DPI. (Texts are defined in the .cpp, which the builds that cannot
// compile literals to CP932 copy with CP932 escapes.)
std::string_view gothicFace();
inline constexpr int kRarityListFontHeight = 16;
inline constexpr int kResultBoxFontHeight = 12;

// Colours as 0xRRGGBB: the result lines, and the other labels and the frame
// captions, on the black window.
inline constexpr std::uint32_t kResultLineColour = 0xFFB4B4;
inline constexpr std::uint32_t kLabelColour = 0xFFFFFF;
constexpr bool isResultLine(int number) { return number >= 1005 && number <= 1011; }
// The text colour the form gives a label or a frame caption.
constexpr std::uint32_t captionColour(int number) { return isResultLine(number) ? kResultLineColour : kLabelColour; }

// The rarity shown at start: 戦士, the rarity list's own selection.
inline constexpr int kStartRarity = 2;

// The format of the selected character's base stats in label 1004: HP, two
// spaces, attack, a full-width space, defence, a full-width space, speed.
std::string_view baseStatsFormat();

// The longest texts read back from the fields: the battle field when a
// character is chosen, and every field when calculating or stepping.
inline constexpr int kBattleFieldReadChars = 199;
inline constexpr int kFieldReadChars = 99;

// The page's growth chart (web/shared/growth_chart.js), drawn in its own
// units with 13-unit texts. In one column it is drawn 312 units high (its
// gauge and four rows) and magnified so that its texts are the controls'
// 16 pixels: 384 pixels high.
inline constexpr int kChartTextUnits = 13;
inline constexpr int kColumnChartUnits = 312;
inline constexpr int kColumnTextPixels = 16;

// The HP field after one step of its arrows: two up or down by the sign of
// `delta` (0 leaves it), stopping at the ends of the 32-bit range.
std::int32_t steppedHp(std::int32_t hp, int delta);
