// The form as built in the real window: every control, the fonts, the
// colours, the lists, the arrows and the Tab order.

#include "expected_layout.h"
#include "ui_test_support.h"

#include <commctrl.h>

#include "roster/rarity.h"

#include <iterator>

namespace {

std::wstring classOf(HWND control) {
  wchar_t name[64] = {};
  GetClassNameW(control, name, 64);
  return name;
}

using FormLayout = MainWindowTest;

TEST_F(FormLayout, TheProgramCreatesEveryControlInOrderExactlyAsLaidOut) {
  // The requests that follow the main window's own.
  std::vector<CreationRequest> requests;
  for (const CreationRequest& request : creations()) {
    if (request.parent == window) requests.push_back(request);
  }
  ASSERT_EQ(requests.size(), std::size(kExpectedControls));
  for (std::size_t i = 0; i < requests.size(); ++i) {
    const CreationRequest& request = requests[i];
    const ExpectedControl& expected = kExpectedControls[i];
    SCOPED_TRACE(expected.number);
    EXPECT_EQ(request.number, expected.number);
    EXPECT_EQ(_wcsicmp(request.className.c_str(), expected.className), 0);
    EXPECT_EQ(request.style, expected.style);
    EXPECT_EQ(request.exStyle, expected.exStyle);
    EXPECT_EQ(request.x, expected.x);
    EXPECT_EQ(request.y, expected.y);
    EXPECT_EQ(request.width, expected.width);
    EXPECT_EQ(request.height, expected.height);
    EXPECT_EQ(request.instance, GetModuleHandleW(nullptr));
    if (expected.number != 4000 && expected.text) {
      EXPECT_EQ(request.text, expected.text);
    }
  }
}

TEST_F(FormLayout, TheLiveControlsStandInCreationOrderWithTheirClassNumberStyleAndPlace) {
  HWND child = GetWindow(window, GW_CHILD);
  for (const ExpectedControl& expected : kExpectedControls) {
    SCOPED_TRACE(expected.number);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetDlgCtrlID(child), expected.number);
    EXPECT_EQ(formControl(expected.number), child);
    EXPECT_EQ(_wcsicmp(classOf(child).c_str(), expected.className), 0);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(child, GWL_EXSTYLE)), expected.exStyle);
    const bool list = expected.number == control::kRarityList || expected.number == control::kNameList;
    const bool arrows = expected.number >= 3000 && expected.number < 4000;
    // A combo box hands WS_VSCROLL on to its drop-down list.
    const DWORD style = list ? expected.style & ~WS_VSCROLL : expected.style;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)), style);

    const RECT rect = rectInParent(child);
    EXPECT_EQ(rect.left, expected.x);
    EXPECT_EQ(rect.top, expected.y);
    // Wine gives every up-down control a width of its own.
    if (!(arrows && runningUnderWine())) {
      EXPECT_EQ(rect.right - rect.left, expected.width);
    }
    // Closed, a list is one line high; its given height is the dropped one.
    if (list) {
      EXPECT_LT(rect.bottom - rect.top, expected.height);
    } else {
      EXPECT_EQ(rect.bottom - rect.top, expected.height);
    }
    if (expected.text) {
      EXPECT_EQ(wideText(child), expected.text);
    }
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "no control beyond the 28";
}

TEST_F(FormLayout, TheListAndTheResultBoxHaveTheirGothicFontsAndTheRestTheSystemFont) {
  struct FontCase {
    int number;
    LONG height;
  };
  for (const FontCase c : {FontCase{4000, 16}, FontCase{7000, 12}}) {
    SCOPED_TRACE(c.number);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control(c.number), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW f = {};
    ASSERT_EQ(GetObjectW(font, sizeof f, &f), static_cast<int>(sizeof f));
    EXPECT_EQ(f.lfHeight, c.height);
    EXPECT_EQ(f.lfWidth, 0);
    EXPECT_EQ(f.lfEscapement, 0);
    EXPECT_EQ(f.lfOrientation, 0);
    EXPECT_EQ(f.lfWeight, 400);
    EXPECT_EQ(f.lfItalic | f.lfUnderline | f.lfStrikeOut, 0);
    EXPECT_EQ(f.lfCharSet, 128);
    EXPECT_EQ(f.lfOutPrecision, OUT_DEFAULT_PRECIS);
    EXPECT_EQ(f.lfClipPrecision, CLIP_DEFAULT_PRECIS);
    EXPECT_EQ(f.lfQuality, 2);
    EXPECT_EQ(f.lfPitchAndFamily, 2);
    EXPECT_STREQ(f.lfFaceName, L"ＭＳ ゴシック");
  }
  for (const int number : {900, 1001, 1004, 4001, 2000, 3001, 5000, 1005}) {
    EXPECT_EQ(SendMessageW(control(number), WM_GETFONT, 0, 0), 0) << number;
  }
}

TEST_F(FormLayout, LabelsAndFramesAreLightOnBlackAndTheResultBoxKeepsItsColours) {
  HDC dc = GetDC(window);
  const auto black = reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
  constexpr COLORREF kWhite = 0xFFFFFF;
  constexpr COLORREF kLightRed = 0xB4B4FF;  // RGB(255, 180, 180)
  struct ColourCase {
    int number;
    LRESULT brush;
    COLORREF text;
    int backgroundMode;
  };
  const ColourCase cases[] = {
      {1001, black, kWhite, TRANSPARENT},      {1002, black, kWhite, TRANSPARENT},
      {1003, black, kWhite, TRANSPARENT},      {1004, black, kWhite, TRANSPARENT},
      {1005, black, kLightRed, TRANSPARENT},   {1006, black, kLightRed, TRANSPARENT},
      {1007, black, kLightRed, TRANSPARENT},   {1008, black, kLightRed, TRANSPARENT},
      {1009, black, kLightRed, TRANSPARENT},   {1010, black, kLightRed, TRANSPARENT},
      {1011, black, kLightRed, TRANSPARENT},   {900, black, kWhite, TRANSPARENT},
      {901, black, kWhite, TRANSPARENT},       {902, black, kWhite, TRANSPARENT},
      {7000, 0, 0x123456, OPAQUE},             {2000, 0, 0x123456, OPAQUE},
      {5000, 0, 0x123456, OPAQUE},
  };
  for (const ColourCase& c : cases) {
    SCOPED_TRACE(c.number);
    SetTextColor(dc, 0x123456);
    SetBkMode(dc, OPAQUE);
    const LRESULT brush =
        SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control(c.number)));
    EXPECT_EQ(brush, c.brush);
    EXPECT_EQ(GetTextColor(dc), c.text);
    EXPECT_EQ(GetBkMode(dc), c.backgroundMode);
  }
  ReleaseDC(window, dc);
}

TEST_F(FormLayout, TheRarityListHoldsTheSixRaritiesAndSelectsTheWarrior) {
  HWND list = control(control::kRarityList);
  ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), kRarityCount);
  const wchar_t* const names[] = {L"兵士", L"上兵", L"戦士", L"将軍", L"王者", L"皇帝"};
  for (int code = 0; code < kRarityCount; ++code) {
    EXPECT_EQ(comboBoxString(list, code), rarityName(code)) << code;
    wchar_t text[16] = {};
    SendMessageW(list, CB_GETLBTEXT, code, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, names[code]);
  }
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 2);
}

TEST_F(FormLayout, EachArrowControlIsTiedToTheFieldBeforeItWithItsRange) {
  struct ArrowCase {
    int number;
    int upper;
  };
  for (const ArrowCase c : {ArrowCase{3000, 40}, ArrowCase{3001, 1000}, ArrowCase{3002, 100},
                            ArrowCase{3003, 100}, ArrowCase{3004, 100}}) {
    SCOPED_TRACE(c.number);
    HWND arrows = control(c.number);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(arrows, UDM_GETBUDDY, 0, 0)), control(c.number - 1000));
    int lower = -1, upper = -1;
    SendMessageW(arrows, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, c.upper);
  }
}

TEST_F(FormLayout, TabMovesAmongTheFiveFieldsOnly) {
  for (int number = 2000; number <= 2004; ++number) {
    EXPECT_NE(GetFocus(), control(number)) << "no field has the focus at start";
  }
  for (const int expected : {2000, 2001, 2002, 2003, 2004, 2000, 2001}) {
    pressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), control(expected)) << expected;
  }
}

}  // namespace
