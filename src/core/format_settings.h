// Process-wide date, time and number format settings, and the formatter that turns a local time
// into text with them. The log's time stamps read these settings, which start-up forces to
// "dd.mm.yyyy" / "hh:mm:ss" so that logs look the same on every machine.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace core {

struct FormatSettings {
  wchar_t DateSeparator = L'/';
  wchar_t TimeSeparator = L':';
  wchar_t DecimalSeparator = L'.';
  std::wstring ShortDateFormat = L"m/d/yyyy";
  std::wstring ShortTimeFormat = L"h:nn";
  std::wstring LongTimeFormat = L"h:nn:ss";
  std::wstring TimeAMString = L"AM";
  std::wstring TimePMString = L"PM";
  std::array<std::wstring, 12> ShortMonthNames{L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                               L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
  std::array<std::wstring, 12> LongMonthNames{L"January", L"February", L"March", L"April",
                                              L"May", L"June", L"July", L"August",
                                              L"September", L"October", L"November", L"December"};
  std::array<std::wstring, 7> ShortDayNames{L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
  std::array<std::wstring, 7> LongDayNames{L"Sunday", L"Monday", L"Tuesday", L"Wednesday",
                                           L"Thursday", L"Friday", L"Saturday"};
};

// The one set of settings of the process. GUI thread only.
FormatSettings& ProcessFormatSettings();

struct LocalDateTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  int dayOfWeek = 0;  // 0 = Sunday
};

// Format tokens (letter case ignored): d dd ddd dddd, m mm mmm mmmm (minutes right after an hour
// token), yy yyyy, h hh, n nn, s ss, z zzz, am/pm a/p ampm, '/' date and ':' time separator,
// quoted literals. An hour is on the 24-hour clock unless an am/pm token is present.
std::wstring FormatDateTime(std::wstring_view format, const LocalDateTime& t, const FormatSettings& fs);

// Short date, a blank and the long time; only the date at exactly 00:00:00.000.
std::wstring DateTimeStamp(const LocalDateTime& t, const FormatSettings& fs);

// One log line: stamp, ":", message, CR LF.
std::wstring LogLine(const LocalDateTime& t, const FormatSettings& fs, std::wstring_view message);

// Windows locale pictures ("M/d/yyyy", "H:mm:ss", "h:mm:ss tt") in the notation above.
std::wstring FromWindowsDatePicture(std::wstring_view picture);
std::wstring FromWindowsTimePicture(std::wstring_view picture);

}  // namespace core
