#include "ui/form_layout.h"

#include <commctrl.h>

#include <string_view>

#include "roster/rarity.h"
#include "ui/control_ids.h"
#include "ui/window_text.h"

FormControls g_formControls;

namespace {

constexpr DWORD kVisibleChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kFrame = kVisibleChild | BS_GROUPBOX;
constexpr DWORD kLabel = kVisibleChild;
constexpr DWORD kList = kVisibleChild | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kField = kVisibleChild | WS_BORDER | WS_TABSTOP | ES_NUMBER;
constexpr DWORD kArrows = kVisibleChild | UDS_SETBUDDYINT | UDS_ARROWKEYS;
// The HP arrows do not write their position into the field: the form steps
// the HP field by two itself.
constexpr DWORD kHpArrows = kVisibleChild | UDS_ARROWKEYS;
constexpr DWORD kPushButton = kVisibleChild | BS_PUSHBUTTON;
constexpr DWORD kResultBox = kVisibleChild | WS_BORDER | ES_MULTILINE | ES_READONLY | ES_NUMBER;

struct ControlLayout {
  std::string_view className;
  std::string_view text;  // CP932
  int number;
  int x, y, width, height;
  DWORD style;
  DWORD exStyle;
  int arrowUpperBound;  // arrow controls only
};

// In creation order, which is also the Tab order of the fields. The two
// lists' heights are those of the list dropped open.
constexpr ControlLayout kControls[] = {
    {"BUTTON", "キャラクター選択", control::kCharacterFrame, 5, 5, 650, 95, kFrame, 0, 0},
    {"STATIC", "レアリティ 　名前", control::kNameHeading, 20, 30, 200, 20, kLabel, 0, 0},
    {"COMBOBOX", "", control::kRarityList, 20, 60, 80, 150, kList, 0, 0},
    {"STATIC", "HP　攻　防　早", control::kBaseStatsHeading, 300, 30, 200, 20, kLabel, 0, 0},
    {"STATIC", "", control::kBaseStatsLabel, 300, 60, 200, 20, kLabel, 0, 0},
    {"COMBOBOX", "", control::kNameList, 120, 60, 160, 400, kList, 0, 0},
    {"BUTTON", "現ステータス入力", control::kStatusFrame, 5, 105, 650, 95, kFrame, 0, 0},
    {"STATIC", "戦歴  　HP　      攻撃  　防御　  素早", control::kFieldHeading, 20, 130, 350, 20, kLabel, 0, 0},
    {"EDIT", "0", control::kBattleField, 20, 160, 35, 24, kField | WS_GROUP, WS_EX_CLIENTEDGE, 0},
    {"msctls_updown32", "", control::kBattleArrows, 55, 160, 20, 24, kArrows, WS_EX_CLIENTEDGE, 40},
    {"EDIT", "0", control::kHpField, 80, 160, 45, 24, kField, WS_EX_CLIENTEDGE, 0},
    {"msctls_updown32", "", control::kHpArrows, 125, 160, 20, 24, kHpArrows, WS_EX_CLIENTEDGE, 1000},
    {"EDIT", "0", control::kAttackField, 150, 160, 35, 24, kField, WS_EX_CLIENTEDGE, 0},
    {"msctls_updown32", "", control::kAttackArrows, 185, 160, 20, 24, kArrows, WS_EX_CLIENTEDGE, 100},
    {"EDIT", "0", control::kDefenceField, 210, 160, 35, 24, kField, WS_EX_CLIENTEDGE, 0},
    {"msctls_updown32", "", control::kDefenceArrows, 245, 160, 20, 24, kArrows, WS_EX_CLIENTEDGE, 100},
    {"EDIT", "0", control::kSpeedField, 270, 160, 35, 24, kField, WS_EX_CLIENTEDGE, 0},
    {"msctls_updown32", "", control::kSpeedArrows, 305, 160, 20, 24, kArrows, WS_EX_CLIENTEDGE, 100},
    {"BUTTON", "計算実行", control::kCalculateButton, 350, 160, 80, 24, kPushButton, 0, 0},
    {"BUTTON", "結果表示", control::kResultFrame, 5, 205, 650, 305, kFrame | WS_GROUP, 0, 0},
    {"STATIC", "", control::kProgressLine, 20, 230, 350, 20, kLabel, 0, 0},
    {"STATIC", "", control::kCurrentHeadingLine, 20, 260, 550, 20, kLabel, 0, 0},
    {"STATIC", "", control::kGainsLine, 20, 280, 550, 20, kLabel, 0, 0},
    {"STATIC", "", control::kPredictionHeadingLine, 20, 310, 550, 20, kLabel, 0, 0},
    {"STATIC", "", control::kPredictedGainsLine, 20, 350, 620, 20, kLabel, 0, 0},
    {"STATIC", "", control::kThreeStatSumLine, 20, 370, 550, 20, kLabel, 0, 0},
    {"STATIC", "", control::kPredictedValuesLine, 20, 330, 550, 20, kLabel, 0, 0},
    {"EDIT", "", control::kResultBox, 20, 400, 600, 100, kResultBox, WS_EX_CLIENTEDGE, 0},
};

constexpr int kRarityListStart = 2;  // 戦士
constexpr COLORREF kResultLineColour = RGB(255, 180, 180);
constexpr COLORREF kLabelColour = RGB(255, 255, 255);
constexpr std::string_view kFontFace = "ＭＳ ゴシック";

HFONT g_rarityListFont = nullptr;
HFONT g_resultBoxFont = nullptr;

HFONT createFormFont(int height) {
  return createFont(height, FW_NORMAL, SHIFTJIS_CHARSET, PROOF_QUALITY, VARIABLE_PITCH, kFontFace);
}

// The table slot of a control number: its kind's table and the index in it.
HWND* handleSlot(int number) {
  struct Kind {
    int base;
    HWND* table;
    int slots;
  };
  FormControls& c = g_formControls;
  const Kind kinds[] = {{900, c.frames.data(), 10},  {1000, c.labels.data(), 30},
                        {2000, c.fields.data(), 30}, {3000, c.arrows.data(), 30},
                        {4000, c.lists.data(), 30},  {5000, c.buttons.data(), 30}};
  for (const Kind& kind : kinds) {
    if (number >= kind.base && number < kind.base + kind.slots) return kind.table + (number - kind.base);
  }
  return number == control::kResultBox ? &c.resultBox : nullptr;
}

void fillRarityList(HWND list) {
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(g_rarityListFont), TRUE);
  for (int code = 0; code < kRarityCount; ++code) addComboBoxString(list, rarityName(code));
  // The program's own selection: CB_SETCURSEL raises no CBN_SELCHANGE.
  SendMessageW(list, CB_SETCURSEL, kRarityListStart, 0);
}

void tieArrowsToField(HWND arrows, HWND field, int upperBound) {
  SendMessageW(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(field), 0);
  SendMessageW(arrows, UDM_SETRANGE, 0, MAKELPARAM(upperBound, 0));
}

// Text in `colour` on a transparent background, over the black brush.
LRESULT lightTextOnBlack(HDC dc, COLORREF colour) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
}

}  // namespace

HWND formControl(int number) {
  HWND* slot = handleSlot(number);
  return slot ? *slot : nullptr;
}

HFONT rarityListFont() { return g_rarityListFont; }
HFONT resultBoxFont() { return g_resultBoxFont; }

void buildForm(HWND window, HINSTANCE instance) {
  InitCommonControls();
  // Created once for the process and never deleted.
  if (!g_rarityListFont) g_rarityListFont = createFormFont(16);
  if (!g_resultBoxFont) g_resultBoxFont = createFormFont(12);

  HWND previous = nullptr;
  for (const ControlLayout& layout : kControls) {
    HWND handle = createWindow(layout.exStyle, layout.className, layout.text, layout.style, layout.x, layout.y,
                               layout.width, layout.height, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.number)), instance);
    if (HWND* slot = handleSlot(layout.number)) *slot = handle;
    if (layout.number == control::kRarityList) fillRarityList(handle);
    if (layout.arrowUpperBound > 0) tieArrowsToField(handle, previous, layout.arrowUpperBound);
    previous = handle;
  }
  SendMessageW(g_formControls.resultBox, WM_SETFONT, reinterpret_cast<WPARAM>(g_resultBoxFont), TRUE);
}

LRESULT colourStaticControl(HDC dc, HWND control) {
  if (control == nullptr) return 0;
  const auto& labels = g_formControls.labels;
  for (std::size_t slot = 0; slot < labels.size(); ++slot) {
    if (labels[slot] == control) {
      const bool resultLine = slot >= 5 && slot <= 11;
      return lightTextOnBlack(dc, resultLine ? kResultLineColour : kLabelColour);
    }
  }
  for (HWND frame : g_formControls.frames) {
    if (frame == control) return lightTextOnBlack(dc, kLabelColour);
  }
  return 0;
}
