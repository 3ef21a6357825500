// The Start action with real plugins: the bytes ShowPlugin receives, the window and tray while
// the plugin runs, the settings written first, and every way a launch can fail.
#include <gtest/gtest.h>

#include "app/application.h"
#include "app_harness.h"
#include "platform/process.h"
#include "support/err_log.h"

using namespace kt;

namespace {
// The data= part of the last ShowPlugin call, decoded from hex; nullopt when not called.
std::optional<std::string> LastShowPlugin(const TestPlugin& p) {
  std::optional<std::string> last;
  for (const auto& c : p.Calls()) {
    if (c.rfind("ShowPlugin ", 0) != 0) continue;
    std::string hex = c.substr(c.find("data=") + 5), bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    last = bytes;
  }
  return last;
}

struct Launch {
  AppHarness app;
  TestPlugin plugin;
  // `countryBytes`: the country as the plugin writes it (1251), when not plain ASCII.
  explicit Launch(std::vector<std::string> cfg, const std::wstring& country = L"BULGARIA",
                  const std::wstring& variant = L"tp_full", const std::string& countryBytes = "") {
    cfg.push_back("GetCountry.text=" + (countryBytes.empty() ? Narrow(country) : countryBytes));
    cfg.push_back("GetPluginIfno.3.text=Dev 0\\r\\nDev 1\\r\\nDev 2\\r\\nDev 3");
    plugin = app.Plugin(L"P.dll", cfg, variant);
    app.Start();
    app.ChooseCountry(country);
  }
  Tfm_MAIN_FORM& f() { return app.form(); }
};
}  // namespace

TEST(Launch, ParameterStringsOfTheContractExamples) {
  struct Case {
    int type;
    std::function<void(Tfm_MAIN_FORM&)> panel;
    std::wstring device, country;
    std::string bytes;
  } cases[] = {
      {1, [](Tfm_MAIN_FORM& f) { f.FILL_DEFAULT_COM_LIST(); f.cbx_COMPORT.SetItemIndex(2); f.cbx_Baudrate.SetItemIndex(7); },
       L"Dev 0", L"BULGARIA", "3,115200,"},
      {2, [](Tfm_MAIN_FORM& f) { f.ed_IPADR.SetText(L"127.0.0.1"); f.ed_IPPORT.SetText(L"4999"); },
       L"Dev 0", L"BULGARIA", "4999,127.0.0.1,"},
      {8, [](Tfm_MAIN_FORM& f) { f.rg_COMMTYPE.Choose(1); f.ed_Logical.SetText(L"2"); },
       L"Dev 3", L"BULGARIA", "1,127.0.0.1,4999,2,3,"},
      {9, [](Tfm_MAIN_FORM& f) { f.FILL_DEFAULT_COM_LIST(); f.cbx_COMPORT.SetItemIndex(0); f.cbx_Baudrate.SetItemIndex(3); },
       L"Dev 0", L"BULGARIA", "1,9600,0,0,"},
      {12, [](Tfm_MAIN_FORM& f) { f.FILL_DEFAULT_COM_LIST(); f.cbx_COMPORT.SetItemIndex(3); },
       L"Dev 3", L"POLAND", "4,115200,3,POLAND,"},
      {0, [](Tfm_MAIN_FORM&) {}, L"Dev 1", L"BULGARIA", ""},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.type);
    Launch l({"GetTypeCommunication.type=" + std::to_string(c.type)}, c.country);
    ASSERT_TRUE(l.app.ChooseDevice(c.device));
    c.panel(l.f());
    l.plugin.ClearCalls();
    l.f().btn_StartPlugin.Click();
    auto sent = LastShowPlugin(l.plugin);
    ASSERT_TRUE(sent);
    EXPECT_EQ(Hex(*sent), Hex(c.bytes)) << *sent;
    EXPECT_EQ(l.f().PLGN_ERR, 0);
    EXPECT_EQ(l.f().DLLHandle, nullptr);
  }
}

TEST(Launch, Types10And12Use1252WithQuestionMarksForMissingCharacters) {
  for (auto [type, tail] : {std::pair{10, std::string(",0,")}, {12, std::string(",")}}) {
    // The country as a plugin reports it, in 1251: "БЪЛГАРИЯ X" — absent from 1252.
    Launch l({"GetTypeCommunication.type=" + std::to_string(type)}, L"\u0411\u042a\u041b X", L"tp_full",
             "\\xC1\\xDA\\xCB X");
    ASSERT_EQ(l.f().lbx_COUNTRY_BG.Text(), L"\u0411\u042a\u041b X");
    l.f().btn_StartPlugin.Click();
    auto sent = LastShowPlugin(l.plugin);
    ASSERT_TRUE(sent);
    EXPECT_EQ(*sent, "1,115200,0,??? X" + tail) << type;  // the selection defaulted the port to "COM 1"
  }
}

TEST(Launch, TheWindowIsHiddenAndTheTrayLockedWhileThePluginRuns) {
  Launch l({"GetTypeCommunication.type=1"});
  bool called = false, showEnabled = true, exitEnabled = true, visible = true;
  SetProbe([&](const std::string&) {
    called = true;
    showEnabled = l.app.dm().Showmainform1.Enabled();
    exitEnabled = l.app.dm().Exit2.Enabled();
    visible = l.f().Visible();
  });
  l.f().btn_StartPlugin.Click();
  SetProbe(nullptr);
  ASSERT_TRUE(called);
  EXPECT_FALSE(showEnabled);
  EXPECT_FALSE(exitEnabled);
  EXPECT_FALSE(visible);
  EXPECT_TRUE(l.f().Visible());
  EXPECT_TRUE(l.app.dm().Showmainform1.Enabled());
  EXPECT_TRUE(l.app.dm().Exit2.Enabled());
  auto calls = l.plugin.Calls();
  EXPECT_NE(calls.back().find("host_visible=0"), std::string::npos);
}

TEST(Launch, SettingsAreSavedBeforeTheDefaultsAreFilledIn) {
  Launch l({"GetTypeCommunication.type=8"});
  l.f().ed_Logical.SetText(L"abc");
  l.f().btn_StartPlugin.Click();
  EXPECT_EQ(l.f().ed_Logical.Text(), L"1") << "the field shows the default afterwards";
  auto lines = ReadLines(l.app.DocsDataFolder() + L"Config.txt");
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines[13], "abc");
  EXPECT_EQ(ReadBytes(l.app.DocsDataFolder() + L"Config.txt"), ReadBytes(l.app.AppDataFolder() + L"Config.txt"));
}

TEST(Launch, AMissingPluginFileWritesTheSettingsAndDoesNothingElse) {
  Launch l({"GetTypeCommunication.type=1"});
  DeleteFileW(l.plugin.dll.c_str());
  l.f().btn_StartPlugin.Click();
  EXPECT_TRUE(Exists(l.app.DocsDataFolder() + L"Config.txt"));
  EXPECT_TRUE(l.f().Visible());
  EXPECT_FALSE(LastShowPlugin(l.plugin));
}

TEST(Launch, NothingHappensWithoutACountryOrDevice) {
  AppHarness app;
  Tfm_MAIN_FORM& f = app.Start();
  f.btn_StartPlugin.Click();
  EXPECT_FALSE(Exists(app.DocsDataFolder() + L"Config.txt"));
  EXPECT_TRUE(f.Visible());
}

TEST(Launch, FailuresEndSilentlyAndReleaseTheLibrary) {
  struct Case {
    const char* name;
    std::vector<std::string> cfg;
    std::wstring variant;
    bool showCalled;
    int plgnErr;  // 0: as the catalog left it (ShowPlugin not reached)
  } cases[] = {
      {"type query fails", {"GetTypeCommunication.rc=7"}, L"tp_full", false, 0},
      {"type outside 0..12", {"GetTypeCommunication.type=13"}, L"tp_full", false, 0},
      {"ShowPlugin fails", {"GetTypeCommunication.type=5", "ShowPlugin.rc=42"}, L"tp_full", true, 42},
      {"ShowPlugin missing", {"GetTypeCommunication.type=5"}, L"tp_no_ShowPlugin", false, 0},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    Launch l(c.cfg, L"BULGARIA", c.variant);
    kt::DialogWatcher watcher;
    l.f().btn_StartPlugin.Click();
    EXPECT_EQ(LastShowPlugin(l.plugin).has_value(), c.showCalled);
    EXPECT_EQ(l.f().PLGN_ERR, c.plgnErr);
    EXPECT_EQ(l.f().DLLHandle, nullptr) << "released by the launch that loaded it";
    EXPECT_TRUE(l.f().Visible());
    EXPECT_TRUE(watcher.Dialogs().empty()) << "no message";
  }
}

TEST(Launch, ATooLongParameterStringIsRefusedWithAWarning) {
  Launch l({"GetTypeCommunication.type=2"});
  l.f().ed_IPADR.SetText(std::wstring(3000, L'9'));
  kt::DialogWatcher watcher;
  l.f().btn_StartPlugin.Click();
  EXPECT_FALSE(LastShowPlugin(l.plugin));
  auto seen = watcher.Dialogs();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_NE(seen[0].text.find(L"2048"), std::wstring::npos);
  EXPECT_NE(ReadBytes(l.app.LogFile()).find("more than the 2048-byte buffer"), std::string::npos);
  EXPECT_TRUE(l.f().Visible());
}

TEST(Launch, ExitRequestedWhileThePluginRunsEndsTheProgram) {
  Launch l({"GetTypeCommunication.type=1"});
  SetProbe([&](const std::string&) { l.f().ToExit = true; });
  l.f().btn_StartPlugin.Click();
  SetProbe(nullptr);
  EXPECT_TRUE(platform::IsTerminating());
  EXPECT_FALSE(l.f().Visible());
}

TEST(Launch, DoubleClickAndTheMenuCommandStartToo) {
  Launch l({"GetTypeCommunication.type=5"});
  l.app.ChooseDevice(L"Dev 2");
  l.plugin.ClearCalls();
  l.f().lbx_DEVICES_2DblClick();
  EXPECT_EQ(LastShowPlugin(l.plugin), "2,");
  l.plugin.ClearCalls();
  l.f().mn_Plugin.Click();
  EXPECT_EQ(LastShowPlugin(l.plugin), "2,");
}
