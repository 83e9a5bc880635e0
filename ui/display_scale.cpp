#include "ui/display_scale.h"

namespace {

// The per-window DPI functions exist from Windows 10 1607 on; older systems
// have one DPI for the whole screen.
template <typename Function>
Function user32Function(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int screenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int systemDpi() {
  static const auto getDpiForSystem = user32Function<UINT(WINAPI*)()>("GetDpiForSystem");
  const UINT dpi = getDpiForSystem ? getDpiForSystem() : 0;
  return dpi > 0 ? static_cast<int>(dpi) : screenDpi();
}

int windowDpi(HWND window) {
  static const auto getDpiForWindow = user32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : systemDpi();
}
