// The form in any locale and at any display scale. These tests also run in
// Wine prefixes of other locales and DPIs (tests/CMakeLists.txt); each takes
// what it expects from the system it finds, and the first checks that the
// system is the one the run was set up for.

#include <cstdlib>
#include <map>

#include "expected_layout.h"
#include "ui/display_scale.h"
#include "ui_test_support.h"
#include "worked_examples.h"

namespace {

class LocaleAndScale : public MainWindowTest {
 protected:
  void fillRoster(CharacterRoster& roster) override {
    // Kana, kanji, half-width kana, a long vowel mark and full-width signs.
    const WorkedExampleFixture& plain = kWorkedExamples[0];  // first of rarity 2, so chosen at start
    roster.add(plain.rarity, "アレス", {plain.base[0], plain.base[1], plain.base[2], plain.base[3]});
    roster.add(2, "ヴァルター・ｶｲﾝ～", {80, 30, 26, 22});
    roster.add(2, "皇帝竜＃１", {90, 28, 24, 32});
  }

  int dpi() const { return formDpi(); }
  int scaled(int designPixels) const { return scaleToDpi(designPixels, dpi()); }
  // Where the system font serves as it is: a Japanese system at 96 DPI.
  bool systemFontServes() const { return GetACP() == 932 && dpi() == kDesignDpi; }

  // Every place and size of the 96-DPI design, scaled to `atDpi`.
  void expectLayoutAt(int atDpi) {
    for (const ExpectedControl& expected : kExpectedControls) {
      SCOPED_TRACE(expected.number);
      const RECT rect = rectInParent(control(expected.number));
      EXPECT_EQ(rect.left, scaleToDpi(expected.x, atDpi));
      EXPECT_EQ(rect.top, scaleToDpi(expected.y, atDpi));
      const bool arrows = expected.number >= 3000 && expected.number < 4000;
      if (!(arrows && runningUnderWine())) {  // Wine sizes up-down controls its own way
        EXPECT_EQ(rect.right - rect.left, scaleToDpi(expected.width, atDpi));
      }
      const bool list = expected.number == control::kRarityList || expected.number == control::kNameList;
      if (list) {  // closed, one line high; the given height is the dropped one
        EXPECT_LT(rect.bottom - rect.top, scaleToDpi(expected.height, atDpi));
      } else {
        EXPECT_EQ(rect.bottom - rect.top, scaleToDpi(expected.height, atDpi));
      }
    }
  }

  static HFONT fontOf(HWND child) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  }

  static TEXTMETRICW metricsOf(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return metrics;
  }

  // The characters of `text` that `font` has no glyph for.
  static std::wstring missingGlyphs(HFONT font, const std::wstring& text) {
    if (text.empty()) return {};
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    std::wstring missing;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (glyphs[i] == 0xFFFF) missing += text[i];
    }
    return missing;
  }

  static std::wstring listItem(HWND list, int index) {
    std::wstring item(static_cast<std::size_t>(SendMessageW(list, CB_GETLBTEXTLEN, index, 0)) + 1, L'\0');
    item.resize(static_cast<std::size_t>(SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()))));
    return item;
  }

  void calculateWorkedExample() {
    for (int field = 0; field < 5; ++field) {
      type(control::kBattleField + field, std::to_string(kWorkedExamples[0].typed[static_cast<std::size_t>(field)]));
    }
    clickCentre(control::kCalculateButton);
  }
};

TEST_F(LocaleAndScale, RunsInTheLocaleAndAtTheScaleItWasSetUpFor) {
  if (const char* expectedDpi = std::getenv("WINE_DPI")) {
    EXPECT_EQ(systemDpi(), std::atoi(expectedDpi));
    EXPECT_EQ(dpi(), std::atoi(expectedDpi));
  }
  if (const char* locale = std::getenv("WINE_LOCALE")) {
    const std::map<std::string, UINT> codePages = {
        {"ja_JP.UTF-8", 932}, {"en_US.UTF-8", 1252}, {"ru_RU.UTF-8", 1251}};
    ASSERT_TRUE(codePages.contains(locale)) << locale;
    EXPECT_EQ(GetACP(), codePages.at(locale));
  }
  if (runningUnderWine() && GetACP() != 932) {
    // What the form must not draw with: the stock font here has no Japanese.
    EXPECT_EQ(missingGlyphs(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)), L"戦士"), L"戦士");
  }
}

TEST_F(LocaleAndScale, TheWindowAndEveryControlStandAtTheirPlacesScaledToTheDpi) {
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, scaled(30));
  EXPECT_EQ(rect.top, scaled(30));
  EXPECT_EQ(rect.right - rect.left, scaled(700));
  EXPECT_EQ(rect.bottom - rect.top, scaled(600));
  expectLayoutAt(dpi());
}

TEST_F(LocaleAndScale, FontsAreScaledAndEveryTextFitsItsControl) {
  LOGFONTW font = {};
  GetObjectW(rarityListFont(), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, scaled(16));
  GetObjectW(resultBoxFont(), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, scaled(12));

  // The system font's cell height at the system's DPI, scaled to the window's.
  const LONG systemHeight = metricsOf(static_cast<HFONT>(GetStockObject(SYSTEM_FONT))).tmHeight;
  for (const ExpectedControl& expected : kExpectedControls) {
    SCOPED_TRACE(expected.number);
    HWND child = control(expected.number);
    const auto own = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    const bool text = !(expected.number >= 3000 && expected.number < 4000);
    if (expected.number == control::kRarityList || expected.number == control::kResultBox || !text) {
      // Their own fonts, checked above; the arrows draw no text.
    } else if (systemFontServes()) {
      EXPECT_EQ(own, nullptr) << "the system font, as in every Japanese system at 96 DPI";
    } else {
      ASSERT_EQ(own, formTextFont());
      ASSERT_TRUE(GetObjectW(own, sizeof font, &font));
      EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
      EXPECT_NEAR(font.lfHeight, MulDiv(systemHeight, dpi(), systemDpi()), 1);
    }
    const std::wstring className = expected.className;
    if (className == L"Edit" || className == L"Static") {
      RECT client;
      GetClientRect(child, &client);
      EXPECT_LE(metricsOf(fontOf(child)).tmHeight, client.bottom) << "the text is not cut";
    }
  }
}

TEST_F(LocaleAndScale, EveryCharacterOfEveryTextHasAGlyphAfterACalculation) {
  calculateWorkedExample();
  ASSERT_EQ(text(control::kProgressLine), kWorkedExamples[0].lines[0]);
  ASSERT_EQ(text(control::kThreeStatSumLine), kWorkedExamples[0].lines[6]);

  int checked = 0;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int number = GetDlgCtrlID(child);
    SCOPED_TRACE(number);
    std::vector<std::wstring> texts;
    if (number == control::kRarityList || number == control::kNameList) {
      const auto items = static_cast<int>(SendMessageW(child, CB_GETCOUNT, 0, 0));
      for (int index = 0; index < items; ++index) texts.push_back(listItem(child, index));
    } else {
      // The result box's lines, without their line ends.
      std::wstring all = wideText(child);
      for (std::size_t end; (end = all.find(L"\r\n")) != std::wstring::npos; all.erase(0, end + 2)) {
        texts.push_back(all.substr(0, end));
      }
      texts.push_back(all);
    }
    for (const std::wstring& shown : texts) {
      EXPECT_EQ(missingGlyphs(fontOf(child), shown), L"") << toCp932(shown);
      checked += shown.empty() ? 0 : 1;
    }
  }
  EXPECT_GE(checked, 6 + 3 + 7 + 7) << "rarities, names, result lines, and the box's lines at least";
}

TEST_F(LocaleAndScale, WmDpiChangedLaysTheFormOutAgainForTheNewDpi) {
  const int before = dpi();
  const int after = before == kDesignDpi ? 144 : kDesignDpi;
  const HFONT oldRarityFont = rarityListFont();
  RECT window96;
  GetWindowRect(window, &window96);
  const RECT suggested = {window96.left + 10, window96.top + 20, window96.left + 10 + scaleToDpi(700, after),
                          window96.top + 20 + scaleToDpi(600, after)};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(after, after), reinterpret_cast<LPARAM>(&suggested));
  pump();

  EXPECT_EQ(dpi(), after);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_TRUE(EqualRect(&rect, &suggested)) << "the window takes the suggested rectangle";
  expectLayoutAt(after);
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(control::kRarityList), WM_GETFONT, 0, 0)), sizeof font,
             &font);
  EXPECT_EQ(font.lfHeight, scaleToDpi(16, after));
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(control::kResultBox), WM_GETFONT, 0, 0)), sizeof font,
             &font);
  EXPECT_EQ(font.lfHeight, scaleToDpi(12, after));
  EXPECT_EQ(GetObjectType(oldRarityFont), 0u) << "the old DPI's fonts are deleted";
  const bool ownTextFont = !(GetACP() == 932 && after == kDesignDpi);
  EXPECT_EQ(SendMessageW(control(control::kNameList), WM_GETFONT, 0, 0) != 0, ownTextFont);

  // The form still works at its new size.
  calculateWorkedExample();
  EXPECT_EQ(text(control::kPredictedGainsLine),
            " HP+60.0(+60.0％)  攻+15.0(+75.0％)  防+6.0(+30.0％)  早+3.0(+15.0％)");
}

}  // namespace
