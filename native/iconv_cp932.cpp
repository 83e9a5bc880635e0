#include "native/iconv_cp932.h"

#include <iconv.h>

#include <string_view>

#include "roster/cp932_text.h"
#include "roster/platform_services.h"

namespace {

// One conversion between two encodings; a failed conversion gives "".
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (handle_ != invalid()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::string operator()(std::string_view input) const {
    if (handle_ == invalid()) return {};
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // a fresh state for each text
    std::string in(input);
    char output[16];
    char* inAt = in.data();
    std::size_t inLeft = in.size();
    char* outAt = output;
    std::size_t outLeft = sizeof output;
    if (iconv(handle_, &inAt, &inLeft, &outAt, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) return {};
    return std::string(output, static_cast<std::size_t>(outAt - output));
  }

 private:
  static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
  iconv_t handle_;
};

}  // namespace

std::string iconvCharacterToCp932(char16_t character) {
  if (const auto byte = windowsOnlyCp932Byte(character)) return std::string(1, static_cast<char>(*byte));
  static const Converter toCp932("CP932", "UTF-16LE");
  static const Converter fromCp932("UTF-16LE", "CP932");
  const char utf16[2] = {static_cast<char>(character & 0xFF), static_cast<char>(character >> 8)};
  const std::string_view unit(utf16, 2);
  const std::string cp932 = toCp932(unit);
  if (cp932.empty() || fromCp932(cp932) != unit) return "?";
  return cp932;
}

void installIconvCharacterConversion() { platformServices().characterToCp932 = iconvCharacterToCp932; }
