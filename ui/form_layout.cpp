#include "ui/form_layout.h"

#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

#include "form/form_design.h"
#include "roster/rarity.h"
#include "ui/display_scale.h"
#include "ui/window_text.h"

FormControls g_formControls;

namespace {

constexpr DWORD kVisibleChild = WS_CHILD | WS_VISIBLE;

// The window class, style and extended style of a control of each kind.
struct WindowsControl {
  std::string_view className;
  DWORD style;
  DWORD exStyle;
};

WindowsControl windowsControlOf(const ControlDesign& design) {
  const DWORD group = design.startsGroup ? WS_GROUP : 0;
  switch (design.kind) {
    case ControlKind::frame: return {"BUTTON", kVisibleChild | BS_GROUPBOX | group, 0};
    case ControlKind::label: return {"STATIC", kVisibleChild | group, 0};
    case ControlKind::list: return {"COMBOBOX", kVisibleChild | WS_VSCROLL | CBS_DROPDOWNLIST | group, 0};
    case ControlKind::field:
      return {"EDIT", kVisibleChild | WS_BORDER | WS_TABSTOP | ES_NUMBER | group, WS_EX_CLIENTEDGE};
    case ControlKind::arrows:
      return {"msctls_updown32", kVisibleChild | UDS_SETBUDDYINT | UDS_ARROWKEYS | group, WS_EX_CLIENTEDGE};
    case ControlKind::hpArrows:
      // They do not write their position into the field: the form steps the
      // HP field by two itself.
      return {"msctls_updown32", kVisibleChild | UDS_ARROWKEYS | group, WS_EX_CLIENTEDGE};
    case ControlKind::pushButton: return {"BUTTON", kVisibleChild | BS_PUSHBUTTON | group, 0};
    case ControlKind::resultBox:
      return {"EDIT", kVisibleChild | WS_BORDER | ES_MULTILINE | ES_READONLY | ES_NUMBER | group, WS_EX_CLIENTEDGE};
  }
  return {"STATIC", kVisibleChild, 0};
}

constexpr COLORREF colourRef(std::uint32_t rgb) { return RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF); }

// The form's gothic, then faces to fall back on, in order. A face that is
// not installed is answered by the font mapper with some Japanese font,
// and that can be a fallback font without Latin letters (under Wine, for
// one): the first face whose font draws every character of the sample is
// the one the form uses.
const std::string_view kGothicFaces[] = {gothicFace(),       "Yu Gothic UI", "Meiryo UI", "MS UI Gothic",
                                         "Noto Sans CJK JP", "IPAexGothic",  "IPAGothic", "VL Gothic"};
// Letters, digits and signs of the result lines, full- and half-width kana
// and the kanji of the form's own texts.
constexpr std::string_view kGlyphSample =
    "HP0123456789+-.,:()%#? ％＃　ーアヴｱｲ兵士上戦将軍王者皇帝キャラクター選択レアリティ名前攻防早現ステータス入力"
    "歴撃御素計算実行結果表示壁進捗率グラフ目盛値予想合計エラー数未満か限界以上です初期";

// The form's fonts for one DPI.
struct FormFonts {
  int dpi = 0;
  HFONT rarityList = nullptr;
  HFONT resultBox = nullptr;
  HFONT text = nullptr;  // for the system-font controls; none where the system font serves
};

FormFonts g_fonts;
int g_formDpi = kDesignDpi;

HFONT createGothicFont(int height, std::string_view face) {
  return createFont(height, FW_NORMAL, SHIFTJIS_CHARSET, PROOF_QUALITY, VARIABLE_PITCH, face);
}

bool drawsEverySampleCharacter(HDC dc, std::string_view face) {
  HFONT font = createGothicFont(16, face);
  HGDIOBJ previous = SelectObject(dc, font);
  const bool drawsAll = fontHasGlyphs(dc, kGlyphSample);
  SelectObject(dc, previous);
  DeleteObject(font);
  return drawsAll;
}

int CALLBACK addFaceName(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
  if (font->lfFaceName[0] != L'@') {  // not the vertical writing faces
    reinterpret_cast<std::vector<std::wstring>*>(faces)->push_back(font->lfFaceName);
  }
  return 1;
}

// The face of the form's fonts: the first of kGothicFaces that draws the
// sample, else the first installed Japanese face that does, else the
// form's gothic as the font mapper answers it. Chosen once.
std::string chooseGothicFace() {
  HDC screen = GetDC(nullptr);
  std::string chosen(kGothicFaces[0]);
  bool found = false;
  for (const std::string_view face : kGothicFaces) {
    if ((found = drawsEverySampleCharacter(screen, face))) {
      chosen = face;
      break;
    }
  }
  if (!found) {
    LOGFONTW japanese = {};
    japanese.lfCharSet = SHIFTJIS_CHARSET;
    std::vector<std::wstring> installed;
    EnumFontFamiliesExW(screen, &japanese, addFaceName, reinterpret_cast<LPARAM>(&installed), 0);
    for (const std::wstring& face : installed) {
      if (drawsEverySampleCharacter(screen, toCp932(face))) {
        chosen = toCp932(face);
        break;
      }
    }
  }
  ReleaseDC(nullptr, screen);
  return chosen;
}

HFONT createFormFont(int height) {
  static const std::string face = chooseGothicFace();
  return createGothicFont(height, face);
}

// The system font's cell height at 96 DPI, measured: the font is made for
// the system's DPI.
int systemFontDesignHeight() {
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, GetStockObject(SYSTEM_FONT));
  TEXTMETRICW metrics = {};
  GetTextMetricsW(screen, &metrics);
  const int screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return screenDpi > 0 ? MulDiv(metrics.tmHeight, kDesignDpi, screenDpi) : metrics.tmHeight;
}

// Whether the controls can keep the system font at `dpi`. It is decided by
// the ANSI code page: code page 932 is what gives a Windows system font
// with Japanese glyphs, and every other code page's system font has none
// (boxes under a Western or Cyrillic locale). And the system font is made
// for one DPI only, so at any other DPI it would not scale with the form.
bool systemFontServes(int dpi) { return dpi == kDesignDpi && GetACP() == 932; }

FormFonts createFormFonts(int dpi) {
  FormFonts fonts;
  fonts.dpi = dpi;
  fonts.rarityList = createFormFont(scaleToDpi(kRarityListFontHeight, dpi));
  fonts.resultBox = createFormFont(scaleToDpi(kResultBoxFontHeight, dpi));
  // The same gothic face and Shift_JIS character set, which the font mapper
  // answers with an installed Japanese font in every locale.
  if (!systemFontServes(dpi)) fonts.text = createFormFont(scaleToDpi(systemFontDesignHeight(), dpi));
  return fonts;
}

void deleteFormFonts(const FormFonts& fonts) {
  for (HFONT font : {fonts.rarityList, fonts.resultBox, fonts.text}) {
    if (font) DeleteObject(font);
  }
}

// Makes the fonts for `dpi` current; returns the ones they replace, for the
// caller to delete once no control uses them (none when nothing changed).
FormFonts useFontsFor(int dpi) {
  if (g_fonts.dpi == dpi) return {};
  const FormFonts replaced = g_fonts;
  g_fonts = createFormFonts(dpi);
  return replaced;
}

HFONT fontFor(FontRole role) {
  switch (role) {
    case FontRole::rarityList: return g_fonts.rarityList;
    case FontRole::resultBox: return g_fonts.resultBox;
    case FontRole::systemFont: return g_fonts.text;
    case FontRole::none: break;
  }
  return nullptr;
}

void setFont(HWND control, HFONT font, bool redraw) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
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
  setFont(list, g_fonts.rarityList, true);
  for (int code = 0; code < kRarityCount; ++code) addComboBoxString(list, rarityName(code));
  // The program's own selection: CB_SETCURSEL raises no CBN_SELCHANGE.
  SendMessageW(list, CB_SETCURSEL, kStartRarity, 0);
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

HFONT rarityListFont() { return g_fonts.rarityList; }
HFONT resultBoxFont() { return g_fonts.resultBox; }
HFONT formTextFont() { return g_fonts.text; }
int formDpi() { return g_formDpi; }

void buildForm(HWND window, HINSTANCE instance) {
  InitCommonControls();
  // Made once for the window's DPI; they change only when the DPI does.
  g_formDpi = windowDpi(window);
  const FormFonts replaced = useFontsFor(g_formDpi);

  const auto scaled = [dpi = g_formDpi](int designPixels) { return scaleToDpi(designPixels, dpi); };
  HWND previous = nullptr;
  for (const ControlDesign& layout : formControls()) {
    const WindowsControl windowsControl = windowsControlOf(layout);
    HWND handle = createWindow(windowsControl.exStyle, windowsControl.className, layout.text, windowsControl.style,
                               scaled(layout.x),
                               scaled(layout.y), scaled(layout.width), scaled(layout.height), window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.number)), instance);
    if (HWND* slot = handleSlot(layout.number)) *slot = handle;
    if (layout.number == control::kRarityList) fillRarityList(handle);
    if (layout.font == FontRole::systemFont && g_fonts.text) setFont(handle, g_fonts.text, true);
    if (layout.arrowUpperBound > 0) tieArrowsToField(handle, previous, layout.arrowUpperBound);
    previous = handle;
  }
  setFont(g_formControls.resultBox, g_fonts.resultBox, true);
  deleteFormFonts(replaced);  // an earlier window's, made for another DPI
}

void scaleForm(HWND window, int dpi) {
  g_formDpi = dpi;
  const FormFonts replaced = useFontsFor(dpi);
  for (const ControlDesign& layout : formControls()) {
    HWND handle = formControl(layout.number);
    if (handle == nullptr) continue;
    // The font first: a list's closed height follows it.
    if (layout.font != FontRole::none) setFont(handle, fontFor(layout.font), false);
    MoveWindow(handle, scaleToDpi(layout.x, dpi), scaleToDpi(layout.y, dpi), scaleToDpi(layout.width, dpi),
               scaleToDpi(layout.height, dpi), FALSE);
  }
  deleteFormFonts(replaced);
  InvalidateRect(window, nullptr, TRUE);
}

LRESULT colourStaticControl(HDC dc, HWND control) {
  if (control == nullptr) return 0;
  const auto& labels = g_formControls.labels;
  for (std::size_t slot = 0; slot < labels.size(); ++slot) {
    if (labels[slot] == control) {
      return lightTextOnBlack(dc, colourRef(captionColour(control::kLabelBase + static_cast<int>(slot))));
    }
  }
  for (HWND frame : g_formControls.frames) {
    if (frame == control) return lightTextOnBlack(dc, colourRef(captionColour(control::kCharacterFrame)));
  }
  return 0;
}
