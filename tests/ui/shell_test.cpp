// The application shell: the class, the title, the menu, the exit command
// and the close box, on the real main window.

#include <vector>

#include "resources/resource_ids.h"
#include "ui_test_support.h"

namespace {

using Shell = MainWindowTest;

TEST_F(Shell, TheWindowHasItsClassTitleStyleAndPlace) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  EXPECT_STREQ(name, L"HP");
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  EXPECT_STREQ(title, L"ノルヴァ 成長確認ツール");
  EXPECT_EQ(windowText(window, 100), "ノルヴァ 成長確認ツール");

  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & WS_OVERLAPPEDWINDOW,
            static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 30);
  EXPECT_EQ(rect.top, 30);
  EXPECT_EQ(rect.right - rect.left, 700);
  EXPECT_EQ(rect.bottom - rect.top, 600);

  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"HP", &windowClass));
  EXPECT_EQ(windowClass.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
  EXPECT_EQ(windowClass.hbrBackground, GetStockObject(BLACK_BRUSH));
  EXPECT_EQ(windowClass.cbClsExtra, 0);
  EXPECT_EQ(windowClass.cbWndExtra, 0);
  EXPECT_EQ(windowClass.lpszMenuName, MAKEINTRESOURCEW(IDR_MAIN_MENU));
}

TEST_F(Shell, TheClassMenuHasOneFileMenuWithTheExitCommand) {
  HMENU bar = GetMenu(window);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 1);
  wchar_t text[64] = {};
  GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"ファイル");
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(GetMenuItemCount(file), 1);
  EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(IDM_EXIT));
  GetMenuStringW(file, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"アプリケーションの終了");
}

TEST_F(Shell, TheManifestAsksToRunAsTheInvokerWithoutUiAccess) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_NE(found, nullptr);
  const auto* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
  const std::string manifest(bytes, SizeofResource(nullptr, found));
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
  // Drawn sharp at every scale: per-monitor awareness, with the older form
  // for systems before Windows 10 1607.
  EXPECT_NE(manifest.find(">PerMonitorV2</dpiAwareness>"), std::string::npos);
  EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
}

TEST_F(Shell, ExitAsksAndNoKeepsEverything) {
  type(control::kHpField, "123");
  boxAnswer = IDNO;
  postAndPump(window, WM_COMMAND, IDM_EXIT, 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].owner, window);
  EXPECT_EQ(boxes[0].text, "終了しますか？");
  EXPECT_EQ(boxes[0].caption, "確認");
  EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(pump()) << "no quit message";
  EXPECT_EQ(text(control::kHpField), "123");
}

TEST_F(Shell, ExitWithYesEndsTheLoopWithCodeZero) {
  boxAnswer = IDYES;
  PostMessageW(window, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_EQ(runMessageLoop(window), 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(Shell, TheCloseBoxEndsTheProgramWithoutAsking) {
  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(runMessageLoop(window), 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(Shell, EnterAndEscapeInAFieldStartNothing) {
  type(control::kBattleField, "5");
  SetFocus(control(control::kBattleField));
  for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    pressKey(key);
    postAndPump(GetFocus(), WM_CHAR, key, 1);
  }
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(text(control::kProgressLine), "") << "the calculation did not run";
  EXPECT_EQ(text(control::kBattleField), "5");
}

TEST_F(Shell, EscapeInTheResultBoxDoesNotCloseTheTool) {
  SetFocus(control(control::kResultBox));
  pressKey(VK_ESCAPE);
  postAndPump(control(control::kResultBox), WM_CHAR, VK_ESCAPE, 1);
  EXPECT_TRUE(pump());
  EXPECT_TRUE(IsWindow(window));
}

}  // namespace
