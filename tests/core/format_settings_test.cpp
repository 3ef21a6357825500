// Log time stamps with forced and with regional formats.
#include <gtest/gtest.h>

#include "core/format_settings.h"

using namespace core;

namespace {
FormatSettings Forced() {
  FormatSettings fs;
  fs.DateSeparator = L'.';
  fs.TimeSeparator = L':';
  fs.ShortDateFormat = L"dd.mm.yyyy";
  fs.ShortTimeFormat = fs.LongTimeFormat = L"hh:mm:ss";
  return fs;
}
LocalDateTime At(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
  LocalDateTime t;
  t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s, t.millisecond = ms;
  return t;
}
}  // namespace

TEST(FormatSettings, ForcedStampIsDayMonthYearAnd24HourTime) {
  EXPECT_EQ(DateTimeStamp(At(2012, 10, 26, 9, 15, 2), Forced()), L"26.10.2012 09:15:02");
  EXPECT_EQ(DateTimeStamp(At(2026, 12, 9, 23, 5, 9), Forced()), L"09.12.2026 23:05:09");
  EXPECT_EQ(LogLine(At(2012, 10, 26, 9, 15, 2), Forced(), L"DLLName: x"), L"26.10.2012 09:15:02:DLLName: x\r\n");
}

TEST(FormatSettings, ExactlyMidnightWritesOnlyTheDate) {
  EXPECT_EQ(LogLine(At(2026, 1, 2, 0, 0, 0, 0), Forced(), L"m"), L"02.01.2026:m\r\n");
  EXPECT_EQ(DateTimeStamp(At(2026, 1, 2, 0, 0, 0, 1), Forced()), L"02.01.2026 00:00:00");
}

TEST(FormatSettings, RegionalPicturesFormatLikeTheLocale) {
  FormatSettings us;
  us.ShortDateFormat = FromWindowsDatePicture(L"M/d/yyyy");
  us.LongTimeFormat = FromWindowsTimePicture(L"h:mm:ss tt");
  EXPECT_EQ(DateTimeStamp(At(2012, 10, 6, 21, 5, 2), us), L"10/6/2012 9:05:02 PM");
  FormatSettings de;
  de.DateSeparator = L'.';
  de.ShortDateFormat = FromWindowsDatePicture(L"dd.MM.yyyy");
  de.LongTimeFormat = FromWindowsTimePicture(L"HH:mm:ss");
  EXPECT_EQ(DateTimeStamp(At(2012, 10, 6, 21, 5, 2), de), L"06.10.2012 21:05:02");
  FormatSettings quoted;
  quoted.ShortDateFormat = FromWindowsDatePicture(L"yyyy'-'MMM'-'dd");
  EXPECT_EQ(FormatDateTime(quoted.ShortDateFormat, At(2012, 3, 6, 0, 0, 0), quoted), L"2012-Mar-06");
}

TEST(FormatSettings, DateSeparatorPlaceholderUsesTheSetting) {
  FormatSettings fs = Forced();
  EXPECT_EQ(FormatDateTime(L"dd/mm/yy hh:nn", At(2026, 12, 9, 7, 3, 0), fs), L"09.12.26 07:03");
}
