#include "ui/message_box.h"

#include <string>

#include "roster/platform_services.h"
#include "ui/window_text.h"

MessageBoxHandler& messageBoxHandler() {
  static MessageBoxHandler handler = showMessageBoxNow;
  return handler;
}

int showMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type) {
  return messageBoxHandler()(owner, text, caption, type);
}

void installWindowsPlatformServices() {
  PlatformServices& services = platformServices();
  services.showMessageBox = [](std::string_view text, std::string_view caption) {
    showMessageBox(nullptr, text, caption, MB_OK);
  };
  // The trace is CP932 bytes already, as OutputDebugStringA takes them.
  services.writeDebugTrace = [](std::string_view text) { OutputDebugStringA(std::string(text).c_str()); };
  // Names from a UTF-8 or UTF-16 data file become CP932 as the window's text does.
  services.characterToCp932 = characterToCp932;
}
