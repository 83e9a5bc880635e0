#include "roster/platform_services.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr std::size_t kTraceBufferBytes = 1024;

void writeToStandardError(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
}

PlatformServices standardErrorServices() {
  return {
      [](std::string_view text, std::string_view caption) {
        writeToStandardError(caption);
        writeToStandardError(": ");
        writeToStandardError(text);
        writeToStandardError("\n");
      },
      writeToStandardError,
      [](char16_t character) { return std::string(1, character < 0x80 ? static_cast<char>(character) : '?'); },
  };
}

}  // namespace

PlatformServices& platformServices() {
  static PlatformServices services = standardErrorServices();
  return services;
}

void debugTrace(const char* format, ...) {
  char buffer[kTraceBufferBytes];
  va_list args;
  va_start(args, format);
  const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (written < 0) return;
  const auto length = static_cast<std::size_t>(written) < sizeof buffer ? static_cast<std::size_t>(written)
                                                                       : sizeof buffer - 1;
  if (platformServices().writeDebugTrace) platformServices().writeDebugTrace({buffer, length});
}
