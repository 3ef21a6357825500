// Regional settings from the user's locale; see regional.h.
#include "platform/regional.h"

#include <windows.h>

namespace platform {

namespace {
std::wstring Info(LCTYPE type) {
  wchar_t buf[128] = {};
  int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 128);
  return n > 1 ? std::wstring(buf, static_cast<size_t>(n - 1)) : std::wstring();
}
}  // namespace

void LoadRegionalFormats(core::FormatSettings& fs) {
  if (auto s = Info(LOCALE_SDATE); !s.empty()) fs.DateSeparator = s[0];
  if (auto s = Info(LOCALE_STIME); !s.empty()) fs.TimeSeparator = s[0];
  if (auto s = Info(LOCALE_SDECIMAL); !s.empty()) fs.DecimalSeparator = s[0];
  if (auto s = Info(LOCALE_SSHORTDATE); !s.empty()) fs.ShortDateFormat = core::FromWindowsDatePicture(s);
  if (auto s = Info(LOCALE_STIMEFORMAT); !s.empty()) {
    fs.LongTimeFormat = core::FromWindowsTimePicture(s);
    fs.ShortTimeFormat = fs.LongTimeFormat;
  }
  if (auto s = Info(LOCALE_S1159); !s.empty()) fs.TimeAMString = s;
  if (auto s = Info(LOCALE_S2359); !s.empty()) fs.TimePMString = s;
  for (int i = 0; i < 12; ++i) {
    if (auto s = Info(LOCALE_SABBREVMONTHNAME1 + i); !s.empty()) fs.ShortMonthNames[i] = s;
    if (auto s = Info(LOCALE_SMONTHNAME1 + i); !s.empty()) fs.LongMonthNames[i] = s;
  }
  // The locale counts Monday first; the formatter counts Sunday first.
  for (int i = 0; i < 7; ++i) {
    int sundayFirst = (i + 1) % 7;
    if (auto s = Info(LOCALE_SABBREVDAYNAME1 + i); !s.empty()) fs.ShortDayNames[sundayFirst] = s;
    if (auto s = Info(LOCALE_SDAYNAME1 + i); !s.empty()) fs.LongDayNames[sundayFirst] = s;
  }
}

}  // namespace platform
