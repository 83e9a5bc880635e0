// Waits until the growth check tool's main window is up and answers
// messages (its message loop has started), for the run and screenshot
// scripts. Prints where the window's client area starts on the screen and
// the window's DPI, as "x y dpi". Exits 1, saying so, when the time runs out.
// Usage: wait_for_window [seconds, 60 by default]

#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
  do {
    HWND window = FindWindowW(L"HP", nullptr);
    DWORD_PTR answer = 0;
    if (window && IsWindowVisible(window) &&
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer)) {
      POINT origin = {0, 0};
      ClientToScreen(window, &origin);
      HDC dc = GetDC(window);
      std::printf("%ld %ld %d\n", origin.x, origin.y, GetDeviceCaps(dc, LOGPIXELSY));
      ReleaseDC(window, dc);
      return 0;
    }
    Sleep(200);
  } while (GetTickCount64() < deadline);
  std::fprintf(stderr, "The growth check tool's window did not come up and answer within %d seconds.\n", seconds);
  return 1;
}
