// Parameter strings per communication type, byte layout and preparations.
#include <gtest/gtest.h>

#include "core/launch_params.h"

using namespace core;

namespace {
PanelModel Panel(int com, int baud, const wchar_t* ip, const wchar_t* port, const wchar_t* logical, int ct = 0, int flow = 0) {
  PanelModel p = PanelModel::Initial();
  p.comPort.index = com;
  p.baudrate.index = baud;
  p.ipAdr.text = ip;
  p.ipPort.text = port;
  p.logical.text = logical;
  p.commType.index = ct;
  p.flowControl.index = flow;
  return p;
}
std::wstring Build(int type, PanelModel p, const wchar_t* country = L"BULGARIA", int dev = 5) {
  auto s = BuildLaunchString(type, p, country, dev);
  return s ? s->text : L"<none>";
}
}  // namespace

TEST(LaunchParams, ExamplesOfTheContract) {
  EXPECT_EQ(Build(1, Panel(2, 7, L"", L"", L"")), L"3,115200,");
  EXPECT_EQ(Build(2, Panel(0, 7, L"127.0.0.1", L"4999", L"")), L"4999,127.0.0.1,");
  EXPECT_EQ(Build(8, Panel(0, 7, L"127.0.0.1", L"4999", L"2", 1), L"X", 5), L"1,127.0.0.1,4999,2,5,");
  EXPECT_EQ(Build(9, Panel(0, 3, L"", L"", L""), L"X", 0), L"1,9600,0,0,");
  EXPECT_EQ(Build(12, Panel(3, 7, L"", L"", L""), L"POLAND", 3), L"4,115200,3,POLAND,");
}

TEST(LaunchParams, EveryTypeHasItsLayoutAndCodePage) {
  PanelModel base = Panel(1, 3, L" 10.0.0.9 ", L" 9100 ", L" 4", 0, 2);
  struct Case {
    int type;
    const wchar_t* text;
    uint32_t cp;
  } cases[] = {
      {0, L"", 1251},
      {1, L"2,9600,", 1251},
      {2, L"9100,10.0.0.9,", 1251},
      {3, L"2,", 1251},
      {4, L"9100,10.0.0.9,5,4,", 1251},
      {5, L"5,", 1251},
      {6, L"2,9600,5,", 1251},
      {7, L"2,9600,5,", 1251},
      {8, L"0,2,9600,4,5,", 1251},
      {9, L"2,9600,5,0,", 1251},
      {10, L"2,9600,5,BULGARIA,2,", 1252},
      {11, L"2,9600,4,5,", 1251},
      {12, L"2,9600,5,BULGARIA,", 1252},
  };
  for (const auto& c : cases) {
    PanelModel p = base;
    auto s = BuildLaunchString(c.type, p, L"BULGARIA", 5);
    ASSERT_TRUE(s) << c.type;
    EXPECT_EQ(s->text, c.text) << c.type;
    EXPECT_EQ(s->codePage, c.cp) << c.type;
  }
  for (int type : {-1, 13, 1000}) {
    PanelModel p = base;
    EXPECT_FALSE(BuildLaunchString(type, p, L"BULGARIA", 5)) << type;
  }
}

TEST(LaunchParams, EmptySelectionsAndFields) {
  EXPECT_EQ(Build(2, Panel(0, 7, L"", L"", L"")), L",,");
  EXPECT_EQ(Build(1, Panel(-1, -1, L"", L"", L"")), L"-1,,");
  EXPECT_EQ(Build(5, Panel(0, 0, L"", L"", L""), L"X", -1), L"-1,");
  EXPECT_EQ(Build(10, Panel(0, 7, L"", L"", L"", 0, -1), L"SPAIN", 0), L"1,115200,0,SPAIN,-1,");
}

TEST(LaunchParams, ComNumberReading) {
  struct Case {
    const wchar_t* text;
    int32_t number;
  } cases[] = {{L"COM 3", 3}, {L"COM12", 12}, {L"COM 10", 10}, {L"", -1}, {L"  ", -1},
               {L"7", 7}, {L"xCOM 4y", 4}, {L"COM", 0}, {L"COM 99999999999", -1}};
  for (const auto& c : cases) EXPECT_EQ(ComNumberOf(c.text), c.number) << testing::PrintToString(std::wstring(c.text));
}

TEST(LaunchParams, Type8DefaultsInTheirOrder) {
  // No port selected: COM is read before its default, so -1 is sent while the list shows port 1.
  PanelModel p = Panel(-1, -1, L"", L"", L"abc", -1);
  auto s = BuildLaunchString(8, p, L"X", 2);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->text, L"0,-1,115200,1,2,");
  EXPECT_EQ(p.comPort.index, 0);
  EXPECT_EQ(p.baudrate.index, 7);
  EXPECT_EQ(p.commType.index, 0);
  EXPECT_EQ(p.logical.text, L"1");
  EXPECT_EQ(p.ipAdr.text, L"127.0.0.1");
  EXPECT_EQ(p.ipPort.text, L"4999");
}

TEST(LaunchParams, Type11AlwaysSelectsRS232AndDefaults) {
  PanelModel p = Panel(-1, -1, L"", L"", L"x", 1);
  auto s = BuildLaunchString(11, p, L"X", 0);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->text, L"-1,115200,1,0,");
  EXPECT_EQ(p.commType.index, 0);
  EXPECT_EQ(p.comPort.index, 0);
}

TEST(LaunchParams, LogicalDefaultBeforeTypes4And8And11Only) {
  for (int type : {4, 8, 11}) {
    PanelModel p = Panel(0, 7, L"1.2.3.4", L"1", L"abc");
    BuildLaunchString(type, p, L"X", 0);
    EXPECT_EQ(p.logical.text, L"1") << type;
  }
  PanelModel p = Panel(0, 7, L"1.2.3.4", L"1", L"abc");
  BuildLaunchString(7, p, L"X", 0);
  EXPECT_EQ(p.logical.text, L"abc");
}
