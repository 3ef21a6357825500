// The two conversion calls between UTF-16 and 8-bit code pages, with exact lengths: the first
// call measures, the second converts. Callers choose the flags.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

// Characters the code page lacks become its default character; no "best fit" look-alikes.
inline constexpr DWORD kAnsiConversionFlags = WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR |
                                              WC_NO_BEST_FIT_CHARS;

// Converts up to the first NUL. Throws platform::Exception when the platform refuses.
std::string WideToCodePage(std::wstring_view text, UINT codePage, DWORD flags);
std::wstring CodePageToWide(std::string_view bytes, UINT codePage, DWORD flags);

}  // namespace platform
