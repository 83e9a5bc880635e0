#pragma once
// The real main window under test: created, shown and driven with real
// messages through the program's own message handling.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "roster/character_roster.h"
#include "form/control_ids.h"
#include "ui/form.h"
#include "ui/form_layout.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/window_text.h"

// One message box the program asked for.
struct BoxRequest {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};

// One window creation as the program asked for it (seen by a CBT hook).
struct CreationRequest {
  std::wstring className;
  std::wstring text;
  int number;
  int x, y, width, height;
  DWORD style;
  DWORD exStyle;
  HWND parent;
  HINSTANCE instance;
};

// True under Wine, whose controls size a few things their own way.
inline bool runningUnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// A control's whole text, as the window system holds it.
inline std::wstring wideText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
  return text;
}

// A control's rectangle in its parent's client coordinates.
inline RECT rectInParent(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class MainWindowTest : public ::testing::Test {
 protected:
  // Test characters before the window lists them; the default is a small roster.
  virtual void fillRoster(CharacterRoster& roster) {
    roster.add(2, "アレス", {100, 20, 20, 20});
    roster.add(2, "カイン", {80, 30, 26, 22});
    roster.add(1, "セリス", {100, 20, 20, 20});
    roster.add(0, "ボルド", {40, 12, 14, 10});
  }

  void SetUp() override {
    messageBoxHandler() = [this](HWND owner, std::string_view text, std::string_view caption, UINT type) {
      boxes.push_back({owner, std::string(text), std::string(caption), type});
      return boxAnswer;
    };
    formRoster().clear();
    fillRoster(formRoster());
    static const bool registered = registerMainWindowClass(GetModuleHandleW(nullptr));
    ASSERT_TRUE(registered);
    creations().clear();
    HHOOK hook = SetWindowsHookExW(WH_CBT, recordCreation, nullptr, GetCurrentThreadId());
    window = createMainWindow(GetModuleHandleW(nullptr));
    UnhookWindowsHookEx(hook);
    ASSERT_NE(window, nullptr);
    g_mainWindow = window;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    showStartRarity();
    pump();
  }

  void TearDown() override {
    if (IsWindow(window)) DestroyWindow(window);
    pump();  // takes the quit message that the destruction posts
    g_mainWindow = nullptr;
    messageBoxHandler() = showMessageBoxNow;
  }

  // Handles every queued message the way the program's loop does; returns
  // false when the quit message came (its code in quitCode).
  bool pump(int rounds = 3) {
    for (int round = 0; round < rounds; ++round) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
          quitCode = static_cast<int>(message.wParam);
          return false;
        }
        processQueuedMessage(message, window);
      }
      Sleep(5);
    }
    return true;
  }

  // A key press as the loop receives it, sent to whatever has the focus.
  void pressKey(WPARAM key) {
    HWND target = GetFocus() ? GetFocus() : window;
    postAndPump(target, WM_KEYDOWN, key, 1);
    postAndPump(target, WM_KEYUP, key, 0xC0000001);
  }

  void postAndPump(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageW(target, message, wParam, lParam);
    pump();
  }

  // A left click at a point of a control's client area, as the mouse sends it.
  void click(HWND target, int x, int y) {
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageW(target, WM_MOUSEMOVE, 0, at);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(target, WM_LBUTTONUP, 0, at);
    pump();
  }
  void clickCentre(int number) {
    RECT r;
    GetClientRect(control(number), &r);
    click(control(number), r.right / 2, r.bottom / 2);
  }
  // The upper or lower arrow of an arrow control.
  void clickArrow(int number, bool up) {
    RECT r;
    GetClientRect(control(number), &r);
    click(control(number), r.right / 2, up ? r.bottom / 4 : r.bottom * 3 / 4);
  }
  // Moves a list's selection with the keyboard, as a user does.
  void pressInList(int number, WPARAM key) {
    SetFocus(control(number));
    pressKey(key);
  }

  HWND control(int number) const { return GetDlgItem(window, number); }
  std::string text(int number) const { return windowText(control(number), 1000); }
  void type(int number, std::string_view value) { setWindowText(control(number), value); }

  static std::vector<CreationRequest>& creations() {
    static std::vector<CreationRequest> requests;
    return requests;
  }

  static LRESULT CALLBACK recordCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
      const CREATESTRUCTW& c = *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
      const bool atom = reinterpret_cast<ULONG_PTR>(c.lpszClass) <= 0xFFFF;
      creations().push_back({atom ? L"" : c.lpszClass, c.lpszName ? c.lpszName : L"",
                             static_cast<int>(reinterpret_cast<INT_PTR>(c.hMenu)), c.x, c.y, c.cx, c.cy,
                             static_cast<DWORD>(c.style), c.dwExStyle, c.hwndParent, c.hInstance});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  HWND window = nullptr;
  std::vector<BoxRequest> boxes;
  int boxAnswer = IDOK;
  int quitCode = -1;
};
