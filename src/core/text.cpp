// Text rules shared by every layer; see text.h.
#include "core/text.h"

#include <limits>

namespace core {

namespace {
bool IsTrimmed(wchar_t c) { return static_cast<uint32_t>(c) <= 0x20; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsPathDelimiter(wchar_t c) { return c == L'\\' || c == L'/' || c == L':'; }
}  // namespace

std::wstring Trim(std::wstring_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsTrimmed(s[b])) ++b;
  while (e > b && IsTrimmed(s[e - 1])) --e;
  return std::wstring(s.substr(b, e - b));
}

bool IsBlank(std::wstring_view s) {
  for (wchar_t c : s)
    if (!IsTrimmed(c)) return false;
  return true;
}

wchar_t AsciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }
wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }

std::wstring AsciiLowerText(std::wstring_view s) {
  std::wstring r(s);
  for (auto& c : r) c = AsciiLower(c);
  return r;
}

std::string AsciiLowerText(std::string_view s) {
  std::string r(s);
  for (auto& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return r;
}

bool AsciiEqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

int32_t StringToCaseSelect(std::wstring_view selector, const std::vector<std::wstring>& list) {
  for (size_t i = 0; i < list.size(); ++i)
    if (AsciiEqualsIgnoreCase(selector, list[i])) return static_cast<int32_t>(i);
  return -1;
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  size_t start = 0, i = 0;
  while (i < text.size()) {
    wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

namespace {
// Shared by both readings: blanks, sign, digits. Returns the value and the index after the digits.
struct IntScan {
  bool inRange = true;
  bool anyDigit = false;
  int64_t value = 0;
  size_t end = 0;
};

IntScan ScanInteger(std::wstring_view s) {
  IntScan r;
  size_t i = 0;
  while (i < s.size() && s[i] == L' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) negative = s[i++] == L'-';
  int64_t v = 0;
  while (i < s.size() && IsDigit(s[i])) {
    r.anyDigit = true;
    if (r.inRange) v = v * 10 + (s[i] - L'0');
    if (v > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1) r.inRange = false;
    ++i;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int32_t>::max() || v < std::numeric_limits<int32_t>::min()) r.inRange = false;
  r.value = v;
  r.end = i;
  return r;
}
}  // namespace

std::optional<int32_t> ParseDecimal(std::wstring_view s) {
  IntScan r = ScanInteger(s);
  if (!r.anyDigit || !r.inRange || r.end != s.size()) return std::nullopt;
  return static_cast<int32_t>(r.value);
}

bool IsWholeDecimal(std::wstring_view s) { return ParseDecimal(s).has_value(); }

std::optional<int32_t> ReadLeadingInteger(std::wstring_view s) {
  IntScan r = ScanInteger(s);
  if (!r.inRange) return std::nullopt;
  return static_cast<int32_t>(r.anyDigit ? r.value : 0);
}

std::wstring ToDecimal(int64_t v) { return std::to_wstring(v); }

bool Contains(std::wstring_view haystack, std::wstring_view needle) {
  return haystack.find(needle) != std::wstring_view::npos;
}

std::wstring ReplaceAll(std::wstring_view s, std::wstring_view from, std::wstring_view to) {
  if (from.empty()) return std::wstring(s);
  std::wstring r;
  size_t pos = 0;
  for (;;) {
    size_t hit = s.find(from, pos);
    if (hit == std::wstring_view::npos) break;
    r.append(s.substr(pos, hit - pos)).append(to);
    pos = hit + from.size();
  }
  r.append(s.substr(pos));
  return r;
}

std::wstring ExtractFileName(std::wstring_view path) {
  size_t i = path.size();
  while (i > 0 && !IsPathDelimiter(path[i - 1])) --i;
  return std::wstring(path.substr(i));
}

std::wstring ExtractFileDir(std::wstring_view path) {
  size_t i = path.size();
  while (i > 0 && !IsPathDelimiter(path[i - 1])) --i;
  // "C:\a.exe" keeps the root's backslash.
  if (i > 0 && path[i - 1] != L':' && !(i >= 2 && path[i - 2] == L':')) --i;
  return std::wstring(path.substr(0, i));
}

std::wstring ExtractFileExt(std::wstring_view path) {
  for (size_t i = path.size(); i > 0; --i) {
    wchar_t c = path[i - 1];
    if (c == L'.') return std::wstring(path.substr(i - 1));
    if (IsPathDelimiter(c)) break;
  }
  return {};
}

std::wstring ChangeFileExt(std::wstring_view path, std::wstring_view ext) {
  std::wstring current = ExtractFileExt(path);
  return std::wstring(path.substr(0, path.size() - current.size())) + std::wstring(ext);
}

std::wstring IncludeTrailingBackslash(std::wstring_view path) {
  std::wstring r(path);
  if (r.empty() || r.back() != L'\\') r += L'\\';
  return r;
}

}  // namespace core
