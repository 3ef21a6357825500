// Code-page conversion for plugin texts; see dstr_parser.h.
#include "support/dstr_parser.h"

#include <cstring>

#include "platform/codepage.h"
#include "platform/errors.h"

namespace DStrParser {

namespace {
// The length query fails for a code page that does not exist: the result is then empty.
bool CodePageUsable(UINT codePage) { return IsValidCodePage(codePage) != 0; }

template <typename Fn>
auto Wrapped(const wchar_t* name, Fn fn) {
  try {
    return fn();
  } catch (const std::exception& e) {
    throw platform::Exception(std::wstring(L"Exception in \"") + name + L"\" metod : " + platform::MessageOf(e));
  }
}
}  // namespace

std::string WideStringToAnsiString(const std::wstring& text, UINT codePage) {
  return Wrapped(L"DStrParser.WideStringToAnsiString", [&]() -> std::string {
    if (text.empty() || !CodePageUsable(codePage)) return {};
    return platform::WideToCodePage(text, codePage, platform::kAnsiConversionFlags);
  });
}

std::wstring AnsiStringToWideString(const std::string& text, UINT codePage) {
  return Wrapped(L"DStrParser.AnsiStringToWideString", [&]() -> std::wstring {
    if (text.empty() || !CodePageUsable(codePage)) return {};
    return platform::CodePageToWide(text, codePage, MB_PRECOMPOSED);
  });
}

std::wstring AnsiBufferToString(const char* bytes, int32_t count, UINT codePage) {
  try {
    if (count <= 0 || !bytes) return {};
    return AnsiStringToWideString(std::string(bytes, static_cast<size_t>(count)), codePage);
  } catch (...) {
    return {};
  }
}

}  // namespace DStrParser
