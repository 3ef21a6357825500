// The settings file across a restart, the language files and the language flag, the plugin
// information text and the About window.
#include <gtest/gtest.h>

#include "app_harness.h"
#include "l10n/bilingual.h"
#include "platform/process.h"
#include "plugins/description_form.h"
#include "support/settings_file.h"

using namespace kt;

namespace {
std::string SettingsFile(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}
const std::vector<std::string> kDevices = {"GetPluginIfno.3.text=Alpha\\r\\nBeta\\r\\nGamma"};
}  // namespace

TEST(Settings, ALaunchWritesTheFileThatTheNextStartRestores) {
  AppHarness app;
  app.Plugin(L"P.dll", {"GetTypeCommunication.type=7", kDevices[0]});
  Tfm_MAIN_FORM& f = app.Start();
  f.FILL_DEFAULT_COM_LIST();
  app.ChooseCountry(L"BULGARIA");
  app.ChooseDevice(L"Gamma");
  f.cbx_COMPORT.SetItemIndex(3);
  f.cbx_Baudrate.SetItemIndex(7);
  f.ed_Logical.SetText(L"1");
  f.mn_CheckUpdatesOnStart.Click();  // on, saved at once
  f.btn_StartPlugin.Click();
  EXPECT_EQ(ReadBytes(app.DocsDataFolder() + L"Config.txt"),
            SettingsFile({"Country:", "BULGARIA", "Plugin name:", "", "COM Port:", "3", "Baudrate:", "7", "Port:", "4999",
                          "IP Address:", "127.0.0.1", "Logical number:", "1", "Last device:", "Gamma",
                          "Communication type:", "0", "Check for Kestrum updates on start:", "1", "Last device:",
                          "2"}));
  app.Stop();
  ResetProcessState();
  Tfm_MAIN_FORM& g = app.Create();
  g.FILL_DEFAULT_COM_LIST();
  g.Show();
  EXPECT_EQ(g.lbx_COUNTRY_BG.Text(), L"BULGARIA");
  EXPECT_EQ(g.lbx_DEVICES_2.Item(g.lbx_DEVICES_2.ItemIndex()), L"Gamma");
  EXPECT_TRUE(g.CheckUpdatesOnStart);
  EXPECT_TRUE(g.mn_CheckUpdatesOnStart.Checked());
  EXPECT_EQ(g.PLGN_COMMTYPE, 7);
  EXPECT_TRUE(g.btn_StartPlugin.Enabled());
}

TEST(Settings, ARememberedDeviceThatIsGoneLeavesNoneSelectedAndStartDisabled) {
  AppHarness app;
  app.Plugin(L"P.dll", kDevices);
  app.WriteSettings(SettingsFile({"Country:", "bulgaria", "Plugin name:", "", "COM Port:", "0", "Baudrate:", "7",
                                  "Port:", "", "IP Address:", "", "Logical number:", "", "Last device:", "Vanished",
                                  "Communication type:", "0", "Check for Kestrum updates on start:", "0",
                                  "Last device:", "1"}));
  Tfm_MAIN_FORM& f = app.Start();
  EXPECT_EQ(f.lbx_COUNTRY_BG.Text(), L"BULGARIA");
  EXPECT_EQ(f.lbx_DEVICES_2.ItemIndex(), -1);
  EXPECT_FALSE(f.btn_StartPlugin.Enabled());
}

TEST(Settings, AShortFileRestoresTheCountryAndKeepsTheFirstDevice) {
  AppHarness app;
  app.Plugin(L"P.dll", kDevices);
  app.WriteSettings(SettingsFile({"Country:", "BULGARIA", "x", "", "x", "0"}));
  Tfm_MAIN_FORM& f = app.Start();
  EXPECT_EQ(f.lbx_COUNTRY_BG.Text(), L"BULGARIA");
  EXPECT_EQ(f.lbx_DEVICES_2.Item(f.lbx_DEVICES_2.ItemIndex()), L"Alpha");
}

TEST(Settings, AUtf8FileWithAMarkIsReadAndWrittenBackWithIt) {
  AppHarness app;
  app.Plugin(L"P.dll", {"GetCountry.text=\\xC1\\xDA\\xCB", kDevices[0]});  // "БЪЛ"
  app.WriteSettings("\xEF\xBB\xBF" + SettingsFile({"Country:", "\xD0\x91\xD0\xAA\xD0\x9B"}));
  Tfm_MAIN_FORM& f = app.Start();
  EXPECT_EQ(f.lbx_COUNTRY_BG.Text(), L"\u0411\u042a\u041b");
  f.btn_StartPlugin.Click();
  std::string saved = ReadBytes(app.DocsDataFolder() + L"Config.txt");
  EXPECT_EQ(saved.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(saved.substr(3, 18), "Country:\r\n\xD0\x91\xD0\xAA\xD0\x9B\r\n");
}

TEST(Language, TheCountrysFileSetsTheCaptions) {
  AppHarness app;
  std::vector<std::string> lines(64);
  for (size_t i = 0; i < lines.size(); ++i) lines[i] = "line " + std::to_string(i + 1);
  std::string file;
  for (const auto& l : lines) file += l + "\r\n";
  CreateDirectoryW(app.DocDir().c_str(), nullptr);
  WriteBytes(app.DocDir() + L"LSUPP_JPY.txt", file);
  WriteBytes(app.DocDir() + L"LSUPP_DEF.txt", "x\r\nDefault label\r\n");
  Tfm_MAIN_FORM& f = app.Start();
  app.ChooseCountry(L"JAPAN");
  EXPECT_EQ(f.lb_Country.Caption(), L"line 2");
  EXPECT_EQ(f.lb_COMMTYPE.Caption(), L"line 12");
  EXPECT_EQ(f.lb_Logical.Caption(), L"line 22");
  EXPECT_EQ(f.btn_StartPlugin.Caption(), L"line 26");
  EXPECT_EQ(f.btn_Exit.Caption(), L"line 34");
  EXPECT_EQ(f.btn_StartPlugin.Hint(), L"line 36");
  EXPECT_EQ(f.mn_HELP1.Caption(), L"line 38");
  EXPECT_EQ(f.mn_HELP2.Caption(), L"line 40") << "a hidden item keeps its caption";
  EXPECT_EQ(f.mn_Kestrum_UPDATES.Caption(), L"line 48");
  EXPECT_EQ(f.mn_CheckUpdatesOnStart.Caption(), L"line 64");
  EXPECT_EQ(f.lb_FlowControl.Caption(), L"Flow control:");
  EXPECT_EQ(f.Exit1.Caption(), L"Exit");
  wchar_t text[64] = {};
  GetMenuStringW(GetMenu(f.Handle()), 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"line 56");
  app.ChooseCountry(L"SPAIN");
  EXPECT_EQ(f.lb_Country.Caption(), L"Default label");
  EXPECT_EQ(f.lb_COMMTYPE.Caption(), L"line 12") << "captions stay until another file overwrites them";
}

TEST(Language, Utf8CyrillicCaptionAndTheExactBulgariaFlag) {
  AppHarness app;
  CreateDirectoryW(app.DocDir().c_str(), nullptr);
  std::string file = "\xEF\xBB\xBF";
  for (int i = 1; i < 26; ++i) file += "-\r\n";
  file += "\xD0\xA1\xD1\x82\xD0\xB0\xD1\x80\xD1\x82\r\n";  // line 26
  WriteBytes(app.DocDir() + L"LSUPP_BGR.txt", file);
  app.Plugin(L"Cap.dll", {"GetCountry.text=Bulgaria"});
  Tfm_MAIN_FORM& f = app.Start();
  EXPECT_FALSE(LANG_IS_BG) << "English before any country";
  app.ChooseCountry(L"Bulgaria");
  EXPECT_EQ(f.btn_StartPlugin.Caption(), L"\u0421\u0442\u0430\u0440\u0442");
  EXPECT_FALSE(LANG_IS_BG) << "the flag compares letter case";
}

TEST(PluginInformation, TheTextLineByLineAndItsWindow) {
  AppHarness app;
  app.Plugin(L"Info.dll", {"AreYouMine.text=v2.1", "GetPluginIfno.0.text=Ann Author", "GetPluginIfno.1.text=Does things",
                           "GetPluginIfno.2.text=ann@example.com", kDevices[0]});
  Tfm_MAIN_FORM& f = app.Start();
  app.ChooseCountry(L"BULGARIA");
  EXPECT_EQ(PLUGIN_INFO_TEXT,
            L" \r\nFile name:\r\nInfo.dll\r\n\r\nVersion:\r\nv2.1\r\n\r\nAutor:\r\nAnn Author\r\n\r\n"
            L"Contacts:\r\nann@example.com\r\n\r\n\r\nDescription:\r\nDoes things\r\n");
  std::wstring shown;
  {
    WindowWatcher watcher(L"Tfm_DESCRIPTION", [&](HWND w) {
      for (const auto& t : ChildTexts(w)) shown += t;
      PostMessageW(w, WM_CLOSE, 0, 0);
    });
    f.mn_ADDITIONALClick();
  }
  EXPECT_EQ(shown, PLUGIN_INFO_TEXT);
}

TEST(PluginInformation, EarlyEndsAndPluginErrors) {
  {
    AppHarness app;
    app.Plugin(L"NoInfo.dll", {}, L"tp_no_GetPluginIfno");
    // Listed through a second plugin's devices? No: without the export a plugin lists nothing.
    app.Plugin(L"Lister.dll", {kDevices[0]});
    app.Start();
    PLUGIN_INFO_TEXT.clear();
    app.ChooseCountry(L"BULGARIA");
    EXPECT_NE(PLUGIN_INFO_TEXT.find(L"Autor:"), std::wstring::npos);
  }
  {
    AppHarness app;
    app.Plugin(L"Fails.dll", {"GetPluginIfno.2.rc=9", kDevices[0]});
    Tfm_MAIN_FORM& f = app.Start();
    app.ChooseCountry(L"BULGARIA");
    EXPECT_EQ(PLUGIN_INFO_TEXT, L" \r\nFile name:\r\nFails.dll\r\n\r\nVersion:\r\n1.0.0\r\n\r\nAutor:\r\nTest author\r\n\r\n");
    EXPECT_EQ(f.DLLHandle, nullptr);
    std::string log = ReadBytes(app.LogFile());
    EXPECT_NE(log.find(":Tfm_MAIN_FORM.lbx_COUNTRYChange :Error code: 9"), std::string::npos) << log;
    EXPECT_FALSE(LANG_IS_BG && f.lbx_COUNTRY_BG.Text() != L"BULGARIA");
    EXPECT_TRUE(LANG_IS_BG) << "set in every case by the country change";
  }
}

TEST(About, ShowsTheExecutablesVersionAndBuild) {
  AppHarness app;
  Tfm_MAIN_FORM& f = app.Start();
  struct Case {
    std::wstring exe;
    std::wstring version, build;
  } cases[] = {
      {KC_BUILD_DIR L"\\src\\KestrumClient.exe", L"Program version: 1.0.0", L"Build number: 49"},
      {app.ExeDir() + L"KestrumClient.exe", L"Program version: ", L"Build number: "},  // no file, no resource
  };
  for (const auto& c : cases) {
    platform::OverrideExecutablePath(c.exe);
    std::vector<std::wstring> texts;
    std::wstring caption;
    {
      WindowWatcher watcher(L"TfmAbout", [&](HWND w) {
        texts = ChildTexts(w);
        wchar_t buf[64] = {};
        GetWindowTextW(w, buf, 64);
        caption = buf;
        PostMessageW(w, WM_COMMAND, IDOK, 0);
      });
      f.mn_ABOUT.Click();
      EXPECT_TRUE(watcher.Seen());
    }
    EXPECT_EQ(caption, L"About...");
    EXPECT_NE(std::find(texts.begin(), texts.end(), c.version), texts.end()) << Narrow(c.version);
    EXPECT_NE(std::find(texts.begin(), texts.end(), c.build), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), L"Kestrum - Clients"), texts.end());
  }
}
