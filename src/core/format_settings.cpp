// Date and time formatting with the process-wide settings; see format_settings.h.
#include "core/format_settings.h"

#include <cwctype>

#include "core/text.h"

namespace core {

FormatSettings& ProcessFormatSettings() {
  static FormatSettings settings;
  return settings;
}

namespace {

std::wstring Pad(int v, int width) {
  std::wstring s = std::to_wstring(v);
  while (static_cast<int>(s.size()) < width) s.insert(s.begin(), L'0');
  return s;
}

bool StartsWithI(std::wstring_view s, size_t at, std::wstring_view token) {
  if (at + token.size() > s.size()) return false;
  for (size_t i = 0; i < token.size(); ++i)
    if (AsciiLower(s[at + i]) != token[i]) return false;
  return true;
}

bool HasAmPm(std::wstring_view f) {
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] == L'"' || f[i] == L'\'') {
      wchar_t q = f[i];
      for (++i; i < f.size() && f[i] != q; ++i) {
      }
      continue;
    }
    if (StartsWithI(f, i, L"am/pm") || StartsWithI(f, i, L"a/p") || StartsWithI(f, i, L"ampm")) return true;
  }
  return false;
}

size_t RunLength(std::wstring_view f, size_t i) {
  wchar_t c = AsciiLower(f[i]);
  size_t n = 0;
  while (i + n < f.size() && AsciiLower(f[i + n]) == c) ++n;
  return n;
}

}  // namespace

std::wstring FormatDateTime(std::wstring_view f, const LocalDateTime& t, const FormatSettings& fs) {
  std::wstring out;
  const bool twelveHour = HasAmPm(f);
  bool afterHour = false;  // an 'm' right after an hour token means minutes
  for (size_t i = 0; i < f.size();) {
    wchar_t c = f[i];
    wchar_t lc = AsciiLower(c);
    if (c == L'"' || c == L'\'') {
      size_t j = i + 1;
      while (j < f.size() && f[j] != c) out += f[j++];
      i = j < f.size() ? j + 1 : j;
      continue;
    }
    if (lc == L'a') {
      bool pm = t.hour >= 12;
      if (StartsWithI(f, i, L"am/pm")) {
        out += pm ? L"pm" : L"am";
        if (std::iswupper(f[i])) out = out.substr(0, out.size() - 2) + (pm ? L"PM" : L"AM");
        i += 5;
      } else if (StartsWithI(f, i, L"a/p")) {
        out += pm ? (std::iswupper(f[i]) ? L'P' : L'p') : (std::iswupper(f[i]) ? L'A' : L'a');
        i += 3;
      } else if (StartsWithI(f, i, L"ampm")) {
        out += pm ? fs.TimePMString : fs.TimeAMString;
        i += 4;
      } else {
        out += c;
        ++i;
      }
      continue;
    }
    size_t n = (lc == L'd' || lc == L'm' || lc == L'y' || lc == L'h' || lc == L'n' || lc == L's' || lc == L'z')
                   ? RunLength(f, i)
                   : 1;
    switch (lc) {
      case L'd':
        if (n == 1) out += std::to_wstring(t.day);
        else if (n == 2) out += Pad(t.day, 2);
        else if (n == 3) out += fs.ShortDayNames[t.dayOfWeek % 7];
        else out += fs.LongDayNames[t.dayOfWeek % 7];
        afterHour = false;
        break;
      case L'm':
        if (afterHour && n <= 2) {
          out += n == 1 ? std::to_wstring(t.minute) : Pad(t.minute, 2);
        } else if (n == 1) out += std::to_wstring(t.month);
        else if (n == 2) out += Pad(t.month, 2);
        else if (n == 3) out += fs.ShortMonthNames[(t.month + 11) % 12];
        else out += fs.LongMonthNames[(t.month + 11) % 12];
        afterHour = false;
        break;
      case L'y':
        out += n <= 2 ? Pad(t.year % 100, 2) : Pad(t.year, 4);
        afterHour = false;
        break;
      case L'h': {
        int h = t.hour;
        if (twelveHour) {
          h %= 12;
          if (h == 0) h = 12;
        }
        out += n == 1 ? std::to_wstring(h) : Pad(h, 2);
        afterHour = true;
        break;
      }
      case L'n':
        out += n == 1 ? std::to_wstring(t.minute) : Pad(t.minute, 2);
        afterHour = false;
        break;
      case L's':
        out += n == 1 ? std::to_wstring(t.second) : Pad(t.second, 2);
        afterHour = false;
        break;
      case L'z':
        out += n < 3 ? std::to_wstring(t.millisecond) : Pad(t.millisecond, 3);
        afterHour = false;
        break;
      case L'/': out += fs.DateSeparator; break;
      case L':': out += fs.TimeSeparator; break;
      default: out += c; break;
    }
    i += n;
  }
  return out;
}

std::wstring DateTimeStamp(const LocalDateTime& t, const FormatSettings& fs) {
  std::wstring s = FormatDateTime(fs.ShortDateFormat, t, fs);
  if (t.hour || t.minute || t.second || t.millisecond) s += L' ' + FormatDateTime(fs.LongTimeFormat, t, fs);
  return s;
}

std::wstring LogLine(const LocalDateTime& t, const FormatSettings& fs, std::wstring_view message) {
  return DateTimeStamp(t, fs) + L":" + std::wstring(message) + L"\r\n";
}

namespace {
// Copies quoted parts unchanged ('...' in a locale picture) and maps the letters with `map`.
template <typename Map>
std::wstring ConvertPicture(std::wstring_view p, Map map) {
  std::wstring out;
  for (size_t i = 0; i < p.size(); ++i) {
    if (p[i] == L'\'') {
      out += L'"';
      for (++i; i < p.size() && p[i] != L'\''; ++i) out += p[i];
      out += L'"';
      continue;
    }
    map(p, i, out);
  }
  return out;
}
}  // namespace

std::wstring FromWindowsDatePicture(std::wstring_view picture) {
  return ConvertPicture(picture, [](std::wstring_view p, size_t& i, std::wstring& out) {
    wchar_t c = p[i];
    if (c == L'M') out += L'm';
    else if (c == L'd' || c == L'y') out += c;
    else if (c == L'g') {
    }  // era: not shown
    else if (std::iswalpha(c)) {
      out += L'"';
      out += c;
      out += L'"';
    } else out += c;
  });
}

std::wstring FromWindowsTimePicture(std::wstring_view picture) {
  return ConvertPicture(picture, [](std::wstring_view p, size_t& i, std::wstring& out) {
    wchar_t c = p[i];
    if (c == L'H' || c == L'h') out += L'h';
    else if (c == L'm') out += L'n';
    else if (c == L's') out += L's';
    else if (c == L't') {
      size_t n = 1;
      while (i + n < p.size() && p[i + n] == L't') ++n;
      out += n == 1 ? L"a/p" : L"ampm";
      i += n - 1;
    } else if (std::iswalpha(c)) {
      out += L'"';
      out += c;
      out += L'"';
    } else out += c;
  });
}

}  // namespace core
