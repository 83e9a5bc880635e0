#pragma once
// The platform services the core uses, behind a seam so that the core needs
// no platform header and tests can watch what it asks for.

#include <functional>
#include <string>
#include <string_view>

struct PlatformServices {
  // A message box with no owner window and a single OK button (CP932 text).
  std::function<void(std::string_view text, std::string_view caption)> showMessageBox;
  // Hands one piece of trace text to the platform's debugger output.
  std::function<void(std::string_view text)> writeDebugTrace;
  // One character of the BMP (not a surrogate) in CP932, as the window
  // system converts it: one or two bytes, or "?" where CP932 has no such
  // character, never a look-alike.
  std::function<std::string(char16_t character)> characterToCp932;
};

// The services in use. Until the program installs its own, the message box
// and the trace write to standard error, which is where a platform without
// a debugger output service sends the trace, and only ASCII characters have
// a CP932 form.
PlatformServices& platformServices();

// The debug trace: printf-style text, formatted into 1024 bytes (longer text
// is cut there) and handed to writeDebugTrace.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
void debugTrace(const char* format, ...);
