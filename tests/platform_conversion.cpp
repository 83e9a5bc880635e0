// The core's tests run with the platform's own character conversion, as
// the program does: the window boundary's on Windows, iconv elsewhere.

#include "roster/platform_services.h"

#if defined(_WIN32)
#include "ui/window_text.h"
#else
#include "native/iconv_cp932.h"
#endif

namespace {

const bool kConversionInstalled = [] {
#if defined(_WIN32)
  platformServices().characterToCp932 = characterToCp932;
#else
  platformServices().characterToCp932 = iconvCharacterToCp932;
#endif
  return true;
}();

}  // namespace
