// The communication panel driven by a real plugin's type, and the serial-port list.
#include <gtest/gtest.h>

#include "app_harness.h"

using namespace kt;

namespace {
struct Panel {
  AppHarness app;
  TestPlugin plugin;
  explicit Panel(const std::string& type, const std::wstring& variant = L"tp_full") {
    plugin = app.Plugin(L"P.dll", {"GetTypeCommunication.type=" + type, "GetPluginIfno.3.text=D1\\r\\nD2"}, variant);
    app.Start();
  }
  Tfm_MAIN_FORM& f() { return app.form(); }
};
}  // namespace

TEST(Panel, ChoosingADeviceAppliesItsTypesRow) {
  {
    Panel p("2");
    p.f().ed_IPADR.SetText(L"10.1.1.1");
    p.app.ChooseCountry(L"BULGARIA");
    EXPECT_EQ(p.f().PLGN_COMMTYPE, 2);
    EXPECT_EQ(p.f().ed_IPADR.Text(), L"");
    EXPECT_TRUE(p.f().ed_IPADR.Enabled());
    EXPECT_FALSE(p.f().cbx_COMPORT.Enabled());
    EXPECT_EQ(p.f().rg_COMMTYPE.ItemIndex(), 1);
    EXPECT_FALSE(p.f().rg_COMMTYPE.Enabled());
    EXPECT_TRUE(p.f().btn_StartPlugin.Enabled());
  }
  {
    Panel p("8");
    p.app.ChooseCountry(L"BULGARIA");
    EXPECT_TRUE(p.f().rg_COMMTYPE.Enabled());
    EXPECT_EQ(p.f().cbx_COMPORT.ItemIndex(), 0);
    EXPECT_EQ(p.f().ed_IPADR.Text(), L"127.0.0.1");
    p.f().ed_IPADR.SetText(L"10.0.0.7");
    p.f().rg_COMMTYPE.Choose(1);  // the user switches to TCP/IP
    EXPECT_EQ(p.f().ed_IPADR.Text(), L"127.0.0.1");
    EXPECT_TRUE(p.f().ed_IPADR.Enabled());
    EXPECT_FALSE(p.f().cbx_Baudrate.Enabled());
  }
  {
    Panel p("9");
    p.app.ChooseCountry(L"BULGARIA");
    EXPECT_TRUE(p.f().cbx_FlowControl.Enabled());
    EXPECT_TRUE(p.f().lb_FlowControl.Enabled());
    EXPECT_FALSE(p.f().ed_Logical.Enabled());
  }
}

TEST(Panel, TypeQueryFailuresAreLoggedAndLeaveTheFields) {
  Panel p("3", L"tp_no_GetTypeCommunication");
  p.f().ed_IPADR.SetText(L"10.1.1.1");
  p.f().PLGN_COMMTYPE = 6;
  p.app.ChooseCountry(L"BULGARIA");
  // The catalog does not take a plugin without the export at all: nothing is listed.
  EXPECT_EQ(p.f().lbx_DEVICES_2.Count(), 0);
  // A plugin that loses the export after it was listed:
  Panel q("3");
  q.app.ChooseCountry(L"BULGARIA");
  q.f().ed_IPADR.SetText(L"10.1.1.1");
  q.f().rg_COMMTYPE.SetEnabled(true);
  int before = q.f().PLGN_COMMTYPE;
  CopyFileW(FixturePath(L"tp_no_GetTypeCommunication").c_str(), q.plugin.dll.c_str(), FALSE);
  q.app.ChooseDevice(L"D2");
  EXPECT_EQ(q.f().PLGN_COMMTYPE, before);
  EXPECT_EQ(q.f().ed_IPADR.Text(), L"10.1.1.1");
  EXPECT_FALSE(q.f().rg_COMMTYPE.Enabled());
  EXPECT_EQ(q.f().DLLHandle, nullptr);
  EXPECT_NE(ReadBytes(q.app.LogFile()).find(": :Error code: -999"), std::string::npos);
}

TEST(Panel, AMissingPluginFileGivesTypeMinusOne) {
  Panel p("2");
  p.app.ChooseCountry(L"BULGARIA");
  p.f().ed_IPADR.SetText(L"10.1.1.1");
  DeleteFileW(p.plugin.dll.c_str());
  p.app.ChooseDevice(L"D2");
  EXPECT_EQ(p.f().PLGN_COMMTYPE, -1);
  EXPECT_EQ(p.f().ed_IPADR.Text(), L"10.1.1.1");
  EXPECT_TRUE(p.f().btn_StartPlugin.Enabled());
}

TEST(Panel, NoSelectionChangesNothingNotEvenTheStartButton) {
  Panel p("2");
  p.app.ChooseCountry(L"BULGARIA");
  p.f().lbx_DEVICES_2.SetItemIndex(-1);
  p.f().btn_StartPlugin.SetEnabled(true);
  p.f().rg_COMMTYPE.SetEnabled(true);
  EXPECT_FALSE(p.f().SET_COMM_PANEL());
  EXPECT_TRUE(p.f().btn_StartPlugin.Enabled());
  EXPECT_TRUE(p.f().rg_COMMTYPE.Enabled());
}

TEST(Panel, SerialPortListIsOrderedByNumber) {
  AppHarness app;
  Tfm_MAIN_FORM& f = app.Start();
  std::vector<std::wstring> list;
  f.FillCommList(list);
  int last = 0;
  for (const auto& port : list) {
    ASSERT_EQ(port.rfind(L"COM ", 0), 0u);
    int n = std::stoi(port.substr(4));
    EXPECT_GT(n, last);
    last = n;
  }
  f.FILL_DEFAULT_COM_LIST();
  EXPECT_EQ(f.cbx_COMPORT.Count(), 28);
  EXPECT_EQ(f.cbx_COMPORT.Item(27), L"COM 28");
  std::vector<std::wstring> names;
  f.GET_DOS_DEVICE_NAMES(names);
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_FALSE(names.empty());
}
