// The settings file lines: layout and restore rules.
#include <gtest/gtest.h>

#include "core/settings_lines.h"
#include "core/text.h"

using namespace core;

TEST(SettingsLines, ExampleFileLineByLine) {
  SettingsValues v;
  v.country = L"BULGARIA";
  v.comPort = 3;
  v.baudrate = 7;
  v.ipPort = L"4999";
  v.ipAdr = L"127.0.0.1";
  v.logical = L"1";
  v.deviceText = L"Device C";
  v.commType = 0;
  v.checkUpdatesOnStart = true;
  v.devicePosition = 2;
  EXPECT_EQ(BuildSettingsText(v),
            L"Country:\r\nBULGARIA\r\nPlugin name:\r\n\r\nCOM Port:\r\n3\r\nBaudrate:\r\n7\r\nPort:\r\n4999\r\n"
            L"IP Address:\r\n127.0.0.1\r\nLogical number:\r\n1\r\nLast device:\r\nDevice C\r\n"
            L"Communication type:\r\n0\r\nCheck for Kestrum updates on start:\r\n1\r\nLast device:\r\n2\r\n");
}

TEST(SettingsLines, NothingSelectedWritesMinusOneAndEmptyLines) {
  auto lines = SplitLines(BuildSettingsText(SettingsValues{}));
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines[1], L"");
  EXPECT_EQ(lines[3], L"");
  EXPECT_EQ(lines[5], L"-1");
  EXPECT_EQ(lines[7], L"-1");
  EXPECT_EQ(lines[15], L"");
  EXPECT_EQ(lines[17], L"-1");
  EXPECT_EQ(lines[19], L"0");
  EXPECT_EQ(lines[21], L"-1");
  SettingsRestore r = ReadSettingsLines(lines);
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.comPort, -1);
  EXPECT_EQ(r.deviceName, L"");
}

TEST(SettingsLines, RoundTrip) {
  SettingsValues v;
  v.country = L"POLAND";
  v.comPort = 1;
  v.baudrate = 4;
  v.ipPort = L" 80 ";
  v.ipAdr = L"10.0.0.1";
  v.logical = L"abc";
  v.deviceText = L"  Printer X ";
  v.commType = 1;
  v.devicePosition = 0;
  SettingsRestore r = ReadSettingsLines(SplitLines(BuildSettingsText(v)));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.country, L"POLAND");
  EXPECT_EQ(r.comPort, 1);
  EXPECT_EQ(r.baudrate, 4);
  EXPECT_EQ(r.ipPort, L" 80 ");
  EXPECT_EQ(r.ipAdr, L"10.0.0.1");
  EXPECT_EQ(r.logical, L"abc");
  EXPECT_EQ(r.commType, 1);
  EXPECT_EQ(r.checkUpdatesOnStart, false);
  EXPECT_EQ(r.devicePosition, 0);
  EXPECT_EQ(r.deviceName, L"Printer X");
}

TEST(SettingsLines, BadNumberStopsThatAndEveryLaterValue) {
  SettingsValues v;
  v.country = L"BULGARIA";
  v.checkUpdatesOnStart = true;
  auto lines = SplitLines(BuildSettingsText(v));
  lines[5] = L"COM 3";
  SettingsRestore r = ReadSettingsLines(lines);
  EXPECT_FALSE(r.completed);
  EXPECT_FALSE(r.comPort || r.baudrate || r.ipPort || r.ipAdr || r.logical || r.commType);
  EXPECT_FALSE(r.checkUpdatesOnStart || r.devicePosition || r.country || r.deviceName);

  lines = SplitLines(BuildSettingsText(v));
  lines[17] = L"1 ";
  r = ReadSettingsLines(lines);
  EXPECT_TRUE(r.comPort && r.baudrate && r.ipPort && r.ipAdr && r.logical);
  EXPECT_FALSE(r.commType || r.checkUpdatesOnStart || r.country);
}

TEST(SettingsLines, ShortFilesRestoreWhatTheyHold) {
  EXPECT_FALSE(ReadSettingsLines({}).completed);
  SettingsRestore one = ReadSettingsLines({L"Country:"});
  EXPECT_TRUE(one.completed);
  EXPECT_FALSE(one.country);
  SettingsRestore two = ReadSettingsLines({L"Key changed", L"bulgaria"});
  EXPECT_EQ(two.country, L"bulgaria");
  EXPECT_FALSE(two.deviceName);
  std::vector<std::wstring> fifteen(15, L"7");
  EXPECT_FALSE(ReadSettingsLines(fifteen).deviceName);
  std::vector<std::wstring> sixteen(16, L"7");
  EXPECT_EQ(ReadSettingsLines(sixteen).deviceName, L"7");
  SettingsRestore flag = ReadSettingsLines(std::vector<std::wstring>(20, L"1 "));
  EXPECT_FALSE(flag.completed);  // line 6 "1 " is not a number
}

TEST(SettingsLines, UpdateFlagIsOnOnlyForExactlyOne) {
  for (auto [text, on] : {std::pair{L"1", true}, {L"0", false}, {L" 1", false}, {L"true", false}}) {
    std::vector<std::wstring> lines(20, L"0");
    lines[19] = text;
    EXPECT_EQ(ReadSettingsLines(lines).checkUpdatesOnStart, on) << testing::PrintToString(std::wstring(text));
  }
}
