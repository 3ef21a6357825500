// Text rules shared by every layer: trimming, ASCII-only case folding, line splitting and the
// decimal-number readings that the settings, panel and launch rules depend on. No <windows.h>.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// Removes leading and trailing blanks and control characters (everything up to U+0020).
std::wstring Trim(std::wstring_view s);
bool IsBlank(std::wstring_view s);

wchar_t AsciiLower(wchar_t c);
wchar_t AsciiUpper(wchar_t c);
std::wstring AsciiLowerText(std::wstring_view s);
std::string AsciiLowerText(std::string_view s);
// Whole-text comparison that folds only the letters A-Z/a-z; every other character by its code.
bool AsciiEqualsIgnoreCase(std::wstring_view a, std::wstring_view b);

// Position of the first entry equal to the selector (ASCII case ignored), -1 when none.
int32_t StringToCaseSelect(std::wstring_view selector, const std::vector<std::wstring>& list);

// A CR, an LF or a CR LF ends a line; a break at the very end adds no empty line.
std::vector<std::wstring> SplitLines(std::wstring_view text);

// A whole decimal integer in 32-bit range: leading blanks allowed, optional sign, digits to the end.
std::optional<int32_t> ParseDecimal(std::wstring_view s);
bool IsWholeDecimal(std::wstring_view s);

// Reads like a lenient "Val": leading blanks skipped, optional sign, then the digits up to the first
// other character (0 when there are none). nullopt when the value leaves the 32-bit range.
std::optional<int32_t> ReadLeadingInteger(std::wstring_view s);

std::wstring ToDecimal(int64_t v);

bool Contains(std::wstring_view haystack, std::wstring_view needle);
std::wstring ReplaceAll(std::wstring_view s, std::wstring_view from, std::wstring_view to);

// Path pieces with Windows separators ('\\', '/' and the drive colon).
std::wstring ExtractFileName(std::wstring_view path);
std::wstring ExtractFileDir(std::wstring_view path);   // without the trailing separator
std::wstring ExtractFileExt(std::wstring_view path);   // with the dot, empty when none
std::wstring ChangeFileExt(std::wstring_view path, std::wstring_view ext);
std::wstring IncludeTrailingBackslash(std::wstring_view path);

}  // namespace core
