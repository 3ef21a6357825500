// The main window: start-up work, layout, menu, exits, tray, timer and the settings it applies.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/application.h"
#include "app_harness.h"
#include "core/country_table.h"
#include "core/format_settings.h"
#include "l10n/bilingual.h"
#include "platform/process.h"
#include "support/err_log.h"
#include "support/settings_file.h"

using namespace kt;

namespace {
std::vector<std::wstring> MenuTexts(HMENU menu) {
  std::vector<std::wstring> texts;
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof(mi);
    wchar_t buf[256] = {};
    mi.fMask = MIIM_STRING | MIIM_FTYPE;
    mi.dwTypeData = buf;
    mi.cch = 255;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi);
    texts.push_back((mi.fType & MFT_SEPARATOR) ? L"-" : std::wstring(buf));
  }
  return texts;
}

LOGFONTW FontOf(HWND h) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
  return lf;
}
}  // namespace

TEST(MainWindow, FirstStartCreatesFoldersAndOneLogLine) {
  AppHarness app;
  app.Start();
  EXPECT_TRUE(Exists(app.DocsDataFolder()));
  EXPECT_TRUE(Exists(app.AppDataFolder()));
  EXPECT_TRUE(Exists(app.DocsDataFolder() + L"LOG_FOLDER"));
  EXPECT_TRUE(Exists(app.AppData() + L"\\Tarvik"));
  EXPECT_EQ(CONFIG_FOLDER_1, app.DocsDataFolder());
  EXPECT_EQ(CONFIG_FOLDER_2, app.AppDataFolder());
  EXPECT_EQ(EXE_FOLDER, app.ExeDir());
  auto lines = ReadLines(app.LogFile());
  ASSERT_EQ(lines.size(), 1u);
  // Written before the formats are forced: the user's regional format, then ":".
  EXPECT_NE(lines[0].find(":Log file creation"), std::string::npos);
  // Later lines carry the forced formats.
  WRITE_LOG(LOG_FOLDER_PATH, L"probe");
  lines = ReadLines(app.LogFile());
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_GE(lines[1].size(), 20u);
  EXPECT_EQ(lines[1][2], '.');
  EXPECT_EQ(lines[1][5], '.');
  EXPECT_EQ(lines[1][10], ' ');
  EXPECT_EQ(lines[1][13], ':');
  EXPECT_EQ(lines[1].substr(19), ":probe");
}

TEST(MainWindow, SecondStartWritesNothingToTheLog) {
  AppHarness app;
  app.Start();
  app.Stop();
  ResetProcessState();
  app.Start();
  EXPECT_EQ(ReadLines(app.LogFile()).size(), 1u);
}

TEST(MainWindow, DocumentsUnavailableMovesLogToApplicationData) {
  AppHarness app;
  app.Create();
  // A documents "folder" that is a file cannot hold the data folder.
  WriteBytes(app.Documents() + L"\\Kestrum Client", "not a folder");
  app.form().Show();
  EXPECT_FALSE(DOCS_DATA_FOLDER_OK);
  EXPECT_TRUE(APPDATA_DATA_FOLDER_OK);
  EXPECT_EQ(LOG_FOLDER_PATH, app.AppDataFolder() + L"LOG_FOLDER\\");
  EXPECT_TRUE(CONFIG_FOLDER_1.empty());
  EXPECT_EQ(CONFIG_FOLDER_2, app.AppDataFolder());
}

TEST(MainWindow, LayoutCaptionFontsAndMinimumSize) {
  AppHarness app;
  Tfm_MAIN_FORM& f = app.Start();
  EXPECT_EQ(f.Caption(), L"\"Kestrum - Client\"");
  RECT rc;
  GetClientRect(f.Handle(), &rc);
  EXPECT_EQ(rc.right, ui::Scale(629));
  EXPECT_EQ(rc.bottom, ui::Scale(362));
  MINMAXINFO mm{};
  SendMessageW(f.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mm));
  EXPECT_EQ(mm.ptMinTrackSize.x, ui::Scale(600));
  EXPECT_EQ(mm.ptMinTrackSize.y, ui::Scale(420));
  LOGFONTW lf = FontOf(f.lb_COMMTYPE.Handle());
  EXPECT_STREQ(lf.lfFaceName, L"Times New Roman");
  EXPECT_EQ(lf.lfHeight, -ui::Scale(16));
  EXPECT_EQ(lf.lfCharSet, RUSSIAN_CHARSET);
  EXPECT_EQ(FontOf(f.lbx_COUNTRY_BG.Handle()).lfHeight, -ui::Scale(13));
  EXPECT_TRUE(FontOf(f.btn_StartPlugin.Handle()).lfItalic);
  RECT b;
  GetWindowRect(f.btn_StartPlugin.Handle(), &b);
  EXPECT_EQ(b.right - b.left, ui::Scale(290));
  EXPECT_EQ(b.bottom - b.top, ui::Scale(40));
  GetWindowRect(f.pnl_RIGHT.Handle(), &b);
  EXPECT_EQ(b.right - b.left, ui::Scale(306));
  // Resizing keeps the right panel's width and lets the country list and device list follow.
  RECT before, after;
  GetWindowRect(f.lbx_COUNTRY_BG.Handle(), &before);
  SetWindowPos(f.Handle(), nullptr, 0, 0, 900, 600, SWP_NOMOVE | SWP_NOZORDER);
  GetWindowRect(f.lbx_COUNTRY_BG.Handle(), &after);
  EXPECT_GT(after.right - after.left, before.right - before.left);
  GetWindowRect(f.pnl_RIGHT.Handle(), &b);
  EXPECT_EQ(b.right - b.left, ui::Scale(306));
  EXPECT_TRUE(GetWindowLongW(f.lbx_DEVICES_2.Handle(), GWL_STYLE) & LBS_SORT);
  EXPECT_FALSE(GetWindowLongW(f.lbx_DEVICES_2.Handle(), GWL_STYLE) & LBS_MULTIPLESEL);
  EXPECT_TRUE(GetWindowLongW(f.lbx_COUNTRY_BG.Handle(), GWL_STYLE) & CBS_DROPDOWNLIST);
}

TEST(MainWindow, MenuShowsOnlyTheVisibleItems) {
  AppHarness app;
  Tfm_MAIN_FORM& f = app.Start();
  HMENU bar = GetMenu(f.Handle());
  EXPECT_EQ(MenuTexts(bar), (std::vector<std::wstring>{L"Commands", L"Help"}));
  EXPECT_EQ(MenuTexts(GetSubMenu(bar, 0)), (std::vector<std::wstring>{L"Check for...", L"-", L"Exit"}));
  EXPECT_EQ(MenuTexts(GetSubMenu(GetSubMenu(bar, 0), 0)),
            (std::vector<std::wstring>{L"Kestrum...", L"-", L"Check for updates on start"}));
  EXPECT_EQ(MenuTexts(GetSubMenu(bar, 1)), (std::vector<std::wstring>{L"About..."}));
  EXPECT_FALSE(f.mn_StartPlugin.Visible());
  EXPECT_FALSE(f.mn_HELP2.Visible());
  EXPECT_FALSE(f.mn_ADDITIONAL.Visible());
  EXPECT_FALSE(f.mn_CheckUpdatesOnStart.Checked());
}

TEST(MainWindow, PanelControlsAtCreation) {
  AppHarness app;
  Tfm_MAIN_FORM& f = app.Start();
  EXPECT_EQ(f.rg_COMMTYPE.Items(), (std::vector<std::wstring>{L"RS232", L"TCP/IP"}));
  EXPECT_EQ(f.rg_COMMTYPE.ItemIndex(), -1);
  EXPECT_EQ(f.cbx_Baudrate.ItemIndex(), 7);
  EXPECT_EQ(f.cbx_Baudrate.Text(), L"115200");
  EXPECT_EQ(f.cbx_FlowControl.Items(), (std::vector<std::wstring>{L"None", L"Xon/Xoff", L"RTS/CTS", L"DTR/DSR"}));
  EXPECT_EQ(f.cbx_FlowControl.ItemIndex(), 0);
  EXPECT_EQ(f.cbx_COMPORT.ItemIndex(), -1) << "nothing selected until settings or a type select a port";
  ASSERT_GT(f.cbx_COMPORT.Count(), 0);
  for (const auto& item : f.cbx_COMPORT.Items()) EXPECT_EQ(item.rfind(L"COM ", 0), 0u);
  EXPECT_EQ(f.btn_StartPlugin.Caption(), L"Start");
  EXPECT_EQ(f.btn_Exit.Caption(), L"Exit");
  EXPECT_EQ(f.lb_Country.Caption(), L"Please choose country:");
  EXPECT_EQ(f.lb_FlowControl.Caption(), L"Flow control:");
  for (ui::Control* c : std::initializer_list<ui::Control*>{&f.rg_COMMTYPE, &f.cbx_COMPORT, &f.ed_IPADR, &f.ed_Logical,
                                                            &f.cbx_FlowControl})
    EXPECT_TRUE(c->Enabled());
}

TEST(MainWindow, WithoutPluginsTheCountryListHoldsTheFixedNamesSorted) {
  AppHarness app;
  Tfm_MAIN_FORM& f = app.Start();
  std::vector<std::wstring> expected(core::kDefaultCountries.begin(), core::kDefaultCountries.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(f.lbx_COUNTRY_BG.Items(), expected);
  EXPECT_EQ(f.lbx_COUNTRY_BG.ItemIndex(), -1);
  EXPECT_EQ(f.lbx_DEVICES_2.Count(), 0);
  EXPECT_TRUE(f.btn_StartPlugin.Enabled());
}

TEST(MainWindow, EveryExitCommandSetsToExitAndCloses) {
  struct Case {
    const char* name;
    std::function<void(AppHarness&)> exit;
    bool toExit;
  } cases[] = {
      {"btn_Exit", [](AppHarness& a) { a.form().btn_Exit.Click(); }, true},
      {"Exit1", [](AppHarness& a) { a.form().Exit1.Click(); }, true},
      {"tray Exit2", [](AppHarness& a) { a.dm().Exit2.Click(); }, true},
      {"close box", [](AppHarness& a) { SendMessageW(a.form().Handle(), WM_CLOSE, 0, 0); }, false},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    AppHarness app;
    app.Start();
    c.exit(app);
    EXPECT_FALSE(app.form().Exists());
    EXPECT_EQ(app.form().ToExit, c.toExit);
    EXPECT_EQ(app.form().DLL_LIST->Count(), 0);
    EXPECT_TRUE(platform::IsTerminating());
    app.Stop();
  }
}

TEST(MainWindow, TrayIconIsShownAndShowBringsTheWindowBack) {
  AppHarness app;
  Tfm_MAIN_FORM& f = app.Start();
  EXPECT_TRUE(app.dm().TrayIcon1.Visible());
  EXPECT_EQ(app.dm().pomn_TRAY.Children().size(), 3u);
  EXPECT_EQ(app.dm().Showmainform1.Caption(), L"Show");
  EXPECT_TRUE(app.dm().N1.IsSeparator());
  EXPECT_EQ(app.dm().Exit2.Caption(), L"Exit");
  f.Hide();
  EXPECT_FALSE(f.Visible());
  // A click on the icon itself does nothing.
  SendMessageW(app.dm().Handle(), ui::TrayIcon::kCallbackMessage, 1, WM_LBUTTONDBLCLK);
  EXPECT_FALSE(f.Visible());
  app.dm().Showmainform1.Click();
  EXPECT_TRUE(f.Visible());
}

TEST(MainWindow, OnlyTheFirstShowDoesTheStartUpWork) {
  AppHarness app;
  Tfm_MAIN_FORM& f = app.Start();
  app.Plugin(L"Late.dll", {"GetCountry.text=LATELAND"});
  f.Hide();
  app.dm().Showmainform1.Click();
  EXPECT_EQ(f.lbx_COUNTRY_BG.IndexOfText(L"LATELAND"), -1);
  EXPECT_FALSE(f.FIRST_TIME);
}

TEST(MainWindow, UpdateTimerStartsAfterTheFirstShowAndFiresOnce) {
  AppHarness app;
  Tfm_MAIN_FORM& f = app.Create();
  EXPECT_FALSE(f.UPD_TIMER_.Enabled());
  EXPECT_EQ(f.UPD_TIMER_.Interval(), 100u);
  f.Show();
  EXPECT_TRUE(f.UPD_TIMER_.Enabled());
  EXPECT_TRUE(PumpUntil([&] { return !f.UPD_TIMER_.Enabled(); }, 3000));
}

TEST(MainWindow, SettingsChangeKeepsTheForcedFormats) {
  AppHarness app;
  app.Start();
  core::ProcessFormatSettings().ShortDateFormat = L"yyyy-mm-dd";
  SendMessageW(app.dm().Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  EXPECT_EQ(core::ProcessFormatSettings().ShortDateFormat, L"dd.mm.yyyy");
  EXPECT_EQ(core::ProcessFormatSettings().LongTimeFormat, L"hh:mm:ss");
  EXPECT_EQ(core::ProcessFormatSettings().DateSeparator, L'.');
}

TEST(MainWindow, ApplyConfigRestoresFieldsByPosition) {
  AppHarness app;
  Tfm_MAIN_FORM& f = app.Start();
  f.FILL_DEFAULT_COM_LIST();  // "COM 1" to "COM 28", whatever this machine has
  CONFIG_LINES = std::make_unique<std::vector<std::wstring>>(std::vector<std::wstring>{
      L"Country:", L"poland", L"Plugin name:", L"", L"COM Port:", L"2", L"Baudrate:", L"3", L"Port:", L"9100",
      L"IP Address:", L"10.0.0.5", L"Logical number:", L"7", L"Last device:", L"", L"Communication type:", L"1",
      L"Check for Kestrum updates on start:", L"1", L"Last device:", L"-1"});
  f.APPLY_CONFIG();
  EXPECT_EQ(f.cbx_COMPORT.ItemIndex(), 2);
  EXPECT_EQ(f.cbx_Baudrate.ItemIndex(), 3);
  EXPECT_EQ(f.ed_IPPORT.Text(), L"9100");
  EXPECT_EQ(f.ed_IPADR.Text(), L"10.0.0.5");
  EXPECT_EQ(f.ed_Logical.Text(), L"7");
  EXPECT_EQ(f.rg_COMMTYPE.ItemIndex(), 1);
  EXPECT_TRUE(f.CheckUpdatesOnStart);
  EXPECT_TRUE(f.mn_CheckUpdatesOnStart.Checked());
  EXPECT_EQ(f.lbx_COUNTRY_BG.Text(), L"POLAND");
  EXPECT_FALSE(f.btn_StartPlugin.Enabled()) << "a country but no device";
}

TEST(MainWindow, ApplyConfigStopsAtTheFirstBadNumber) {
  AppHarness app;
  Tfm_MAIN_FORM& f = app.Start();
  f.cbx_Baudrate.SetItemIndex(1);
  CONFIG_LINES = std::make_unique<std::vector<std::wstring>>(std::vector<std::wstring>{
      L"Country:", L"POLAND", L"x", L"", L"x", L"COM 3", L"x", L"5", L"x", L"9100", L"x", L"1.1.1.1", L"x", L"7", L"x",
      L"", L"x", L"1", L"x", L"1", L"x", L"0"});
  f.APPLY_CONFIG();
  EXPECT_EQ(f.cbx_Baudrate.ItemIndex(), 1);
  EXPECT_EQ(f.ed_IPPORT.Text(), L"");
  EXPECT_FALSE(f.CheckUpdatesOnStart);
  EXPECT_EQ(f.lbx_COUNTRY_BG.ItemIndex(), -1);
  EXPECT_TRUE(f.btn_StartPlugin.Enabled() == f.CAN_START());
}
