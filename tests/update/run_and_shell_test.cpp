// The general update run through the menu and the start-up check, against a loopback server,
// and the shell services it relies on: the waited start, the refusal texts and the help command.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/application.h"
#include "app_harness.h"
#include "core/md5.h"
#include "l10n/bilingual.h"
#include "offer_server.h"
#include "platform/files.h"
#include "platform/process.h"
#include "support/err_log.h"
#include "support/settings_file.h"
#include "ui/form.h"
#include "update/http_client.h"
#include "update/upd_progress.h"

using namespace kt;

namespace {
// Records every text the update window's overall label is given, as the GUI thread sets it:
// a hook on this thread's sent messages sees each WM_SETTEXT to the label.
class OverallLabels {
 public:
  OverallLabels() {
    instance_ = this;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, &OverallLabels::Hook, nullptr, GetCurrentThreadId());
  }
  ~OverallLabels() {
    UnhookWindowsHookEx(hook_);
    instance_ = nullptr;
  }
  std::vector<std::wstring> Texts() const {
    std::vector<std::wstring> shown;
    for (const auto& t : texts_)
      if (!t.empty() && t != L"..." && (shown.empty() || shown.back() != t)) shown.push_back(t);
    return shown;
  }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l) {
    auto* msg = reinterpret_cast<CWPSTRUCT*>(l);
    if (code == HC_ACTION && instance_ && msg->message == WM_SETTEXT && IsOverallLabel(msg->hwnd))
      instance_->texts_.push_back(reinterpret_cast<const wchar_t*>(msg->lParam));
    return CallNextHookEx(nullptr, code, w, l);
  }
  // The first label on the update window's panel.
  static bool IsOverallLabel(HWND h) {
    HWND root = GetAncestor(h, GA_ROOT);
    wchar_t cls[64] = {};
    GetClassNameW(root, cls, 64);
    if (std::wstring(cls) != L"Tfm_UPD_PROGRESS") return false;
    HWND panel = GetParent(h);
    return panel && GetWindow(panel, GW_CHILD) == h;
  }
  static inline OverallLabels* instance_ = nullptr;
  HHOOK hook_ = nullptr;
  std::vector<std::wstring> texts_;
};

std::string Plugin(const std::string& country) { return "GetCountry.text=" + country; }

struct RunFixture : testing::Test {
  AppHarness app;
  TempDir temp;
  OfferServer offer;
  void SetUp() override { SetEnvironmentVariableW(L"TMP", temp.Path().substr(0, temp.Path().size() - 1).c_str()); }
  void TearDown() override { SetEnvironmentVariableW(L"TMP", nullptr); }
  Tfm_MAIN_FORM& Start() {
    Tfm_MAIN_FORM& f = app.Start();
    f.IdHTTP1->BaseAddress = offer.BaseAddress();
    f.IdHTTP1->ReadTimeoutMs = 2000;
    return f;
  }
};

std::wstring W(const std::string& s) { return std::wstring(s.begin(), s.end()); }
}  // namespace

TEST_F(RunFixture, AGeneralRunUpdatesPluginsLanguageFilesAndMissingLibrariesInOrder) {
  TestPlugin orvalis = app.Plugin(L"Orvalis.dll", {Plugin("POLAND"), "GetPluginIfno.3.text=Old device"});
  app.Plugin(L"Saldrin.dll", {Plugin("POLAND")});
  WriteBytes(app.ExeDir() + L"libeay32.dll", "present library");
  CreateDirectoryW(app.DocDir().c_str(), nullptr);
  WriteBytes(app.DocDir() + L"LSUPP_DEF.txt", "x\r\nOld label\r\n");
  Tfm_MAIN_FORM& f = Start();
  app.ChooseCountry(L"POLAND");
  ASSERT_EQ(f.lbx_COUNTRY_BG.IndexOfText(L"ATLANTIS"), -1);

  std::string dll = ReadBytes(FixturePath(L"tp_full"));
  offer.Offer(1, "libeay32.dll", "9.0.0.0", "newer library");  // present: never compared
  offer.Offer(2, "GDS32.DLL", "1.0.0.0", "gds");              // missing: installed
  offer.Offer(3, "Orvalis.dll", "1.0.0.1", dll);              // a plugin without version: 1.0.0.0
  offer.Offer(4, "Saldrin.dll", "1.0.0.0", dll);              // same version: not newer
  offer.Offer(5, "Kelvasto.dll", "1.0.0.0", dll);             // not installed: compared by checksum
  offer.Offer(6, "LSUPP_DEF.txt", "1.0.0.0", "x\r\nNew label\r\n");
  WriteBytes(app.PluginDir() + L"Kelvasto.cfg", Plugin("ATLANTIS") + "\n");
  bool busyDuringRequests = true;
  offer.observe = [&](const HttpRequest&) { busyDuringRequests = busyDuringRequests && ui::BusyCursor(); };

  OverallLabels labels;
  f.mn_Kestrum_UPDATES.Click();
  EXPECT_FALSE(ui::BusyCursor());
  EXPECT_TRUE(busyDuringRequests) << "the hourglass shows during every transfer";

  std::vector<std::string> fetched;
  for (const auto& r : offer.Requests())
    if (r.target.rfind("/file.php?id=", 0) == 0) fetched.push_back(r.target.substr(13));
  EXPECT_EQ(fetched, (std::vector<std::string>{"2", "6", "3", "5"})) << "GDS32, LSUPP_DEF, Orvalis, Kelvasto";
  EXPECT_EQ(ReadBytes(app.ExeDir() + L"libeay32.dll"), "present library");
  EXPECT_EQ(ReadBytes(app.ExeDir() + L"GDS32.DLL"), "gds");
  EXPECT_EQ(ReadBytes(app.DocDir() + L"LSUPP_DEF.txt"), "x\r\nNew label\r\n");
  EXPECT_EQ(f.lb_Country.Caption(), L"New label") << "the current country's file is applied again";
  EXPECT_TRUE(Exists(app.PluginDir() + L"Kelvasto.dll"));
  EXPECT_FALSE(Exists(app.PluginDir() + L"OLD_Orvalis.dll"));
  EXPECT_FALSE(Exists(temp / L"Orvalis.dll")) << "the temp file is deleted";
  EXPECT_NE(f.lbx_COUNTRY_BG.IndexOfText(L"ATLANTIS"), -1) << "the country list is rebuilt";
  EXPECT_EQ(f.lbx_DEVICES_2.ItemIndex(), -1);
  EXPECT_EQ(fm_UPD_PROGRESS, nullptr);

  auto shown = labels.Texts();
  std::vector<std::wstring> expected = {
      L"Check for internet connection...", L"Get required information for files...", L"libeay32.dll", L"GDS32.DLL",
      L"ssleay32.dll", L"Lumbrest.dll", L"Check for new version of \"Brevan.exe\".",
      L"Check for new version of \"KestrumClient.exe\".", L"Check for new version of \"LSUPP_DEF.txt\".",
      L"Check for new version of \"LSUPP_BGR.txt\".", L"Orvalis.dll", L"Saldrin.dll",
      L"Check for new version of \"Kelvasto.dll\".", L"Finalisation ..."};
  EXPECT_EQ(shown, expected);
}

TEST_F(RunFixture, BulgariaInAnyLetterCaseChecksTenFilesOthersThree) {
  for (auto [country, count] : {std::pair{"Bulgaria", 10}, {"POLAND", 3}}) {
    SCOPED_TRACE(country);
    AppHarness local;
    local.Plugin(L"Any.dll", {Plugin(country)});
    Tfm_MAIN_FORM& f = local.Start();
    f.IdHTTP1->BaseAddress = offer.BaseAddress();
    local.ChooseCountry(W(country));
    Tfm_UPD_PROGRESS window(f.Handle());
    fm_UPD_PROGRESS = &window;
    window.TRGT_COUNTRY_NAME = f.lbx_COUNTRY_BG.Text();
    window.GET_UPD_LIST();
    EXPECT_EQ(window.UPDATE_VALUES.cUPD_VAL_COUNT, count);
    if (count == 10) {
      EXPECT_EQ(window.UPDATE_VALUES.UPD_FILENAME[3], local.ExeDir() + L"DOCUMENTATION\\KESTRUMC_BGUSRMANUAL.pdf");
      EXPECT_EQ(window.UPDATE_VALUES.PROGR_MESSAGE[9], L"Jannovir.dll");
      EXPECT_EQ(window.UPDATE_VALUES.PROGR_MESSAGE[5], L"Check for new version of \"Durnemar.dll\".");
    }
    fm_UPD_PROGRESS = nullptr;
  }
}

TEST_F(RunFixture, AnUpdaterThatCannotBeReplacedStopsTheRunWithTheAdministratorAlert) {
  for (bool bulgarian : {false, true}) {
    SCOPED_TRACE(bulgarian);
    AppHarness local;
    local.Plugin(L"Orvalis.dll", {Plugin("BULGARIA")});
    WriteBytes(local.ExeDir() + L"Brevan.exe", "old updater");
    WriteBytes(local.ExeDir() + L"OLD_Brevan.exe", "leftover");
    Tfm_MAIN_FORM& f = local.Start();
    f.IdHTTP1->BaseAddress = offer.BaseAddress();
    local.ChooseCountry(bulgarian ? L"BULGARIA" : L"POLAND");
    offer.table.clear();
    offer.Offer(1, "Brevan.exe", "2.0.0.0", "new updater");
    offer.Offer(2, "Orvalis.dll", "9.0.0.0", "x");
    size_t before = offer.Requests().size();
    DialogWatcher watcher;
    f.mn_Kestrum_UPDATES.Click();
    auto seen = watcher.Dialogs();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, bulgarian ? L"\u0418\u043c\u0430 \u043d\u0430\u043b\u0438\u0447\u043d\u0438 \u043e\u0431\u043d"
                                        L"\u043e\u0432\u044f\u0432\u0430\u043d\u0438\u044f, \u0438\u0437\u0438\u0441"
                                        L"\u043a\u0432\u0430\u0449\u0438 \u0430\u0434\u043c\u0438\u043d\u0438\u0441"
                                        L"\u0442\u0440\u0430\u0442\u043e\u0440\u0441\u043a\u0438 \u043f\u0440\u0430"
                                        L"\u0432\u0430. \u041c\u043e\u043b\u044f \u0440\u0435\u0441\u0442\u0430\u0440"
                                        L"\u0442\u0438\u0440\u0430\u0439\u0442\u0435 \u043f\u0440\u043e\u0433\u0440"
                                        L"\u0430\u043c\u0430\u0442\u0430, \u043a\u0430\u0442\u043e \u0430\u0434\u043c"
                                        L"\u0438\u043d\u0438\u0441\u0442\u0440\u0430\u0442\u043e\u0440."
                                      : L"There are available updates who required admins rightts. Please restart the "
                                        L"program \"Kestrum\" as administrator.");
    EXPECT_EQ(seen[0].caption, L"Kestrum Client");
    EXPECT_EQ(ReadBytes(local.ExeDir() + L"Brevan.exe"), "old updater");
    // The run stopped: the plugins were not looked at.
    auto requests = offer.Requests();
    for (size_t i = before; i < requests.size(); ++i) EXPECT_NE(requests[i].target, "/file.php?id=2");
    EXPECT_TRUE(Exists(local.ExeDir() + L"OLD_Brevan.exe"));
  }
}

TEST_F(RunFixture, WithTheServerDownOrAnsweringGarbageNothingChanges) {
  TestPlugin p = app.Plugin(L"Orvalis.dll", {Plugin("POLAND")});
  std::string before = ReadBytes(p.dll);
  Tfm_MAIN_FORM& f = Start();
  for (int mode = 0; mode < 3; ++mode) {
    SCOPED_TRACE(mode);
    offer.override = [mode](const HttpRequest& r) -> HttpReply {
      if (mode == 0) return {503, ""};
      if (mode == 1) return {200, r.method == "GET" ? "token" : "<html>garbage that is not a table</html>" + std::string(200, '.')};
      return {200, "", {}, -1, 0, true};
    };
    DWORD start = GetTickCount();
    f.mn_Kestrum_UPDATES.Click();
    EXPECT_LT(GetTickCount() - start, 15000u);
    EXPECT_EQ(ReadBytes(p.dll), before);
    EXPECT_TRUE(f.Exists() && f.Visible());
  }
  f.IdHTTP1->BaseAddress = L"http://127.0.0.1:1/";  // nobody listens
  f.mn_Kestrum_UPDATES.Click();
  EXPECT_EQ(ReadBytes(p.dll), before);
}

TEST_F(RunFixture, TheStartUpCheckRunsOnceWhenTheSettingIsOn) {
  for (bool on : {true, false}) {
    SCOPED_TRACE(on);
    AppHarness local;
    std::string lines[22] = {"Country:", "", "Plugin name:", "", "COM Port:", "0", "Baudrate:", "7", "Port:", "",
                             "IP Address:", "", "Logical number:", "", "Last device:", "", "Communication type:", "-1",
                             "Check for Kestrum updates on start:", on ? "1" : "0", "Last device:", "-1"};
    std::string file;
    for (auto& l : lines) file += l + "\r\n";
    local.WriteSettings(file);
    local.Create();
    local.form().IdHTTP1->BaseAddress = offer.BaseAddress();
    size_t before = offer.Requests().size();
    local.form().Show();
    PumpUntil([&] { return !local.form().UPD_TIMER_.Enabled(); }, 5000);
    PumpFor(300);
    EXPECT_EQ(offer.Requests().size() > before, on);
    EXPECT_FALSE(local.form().UPD_TIMER_.Enabled());
  }
}

TEST_F(RunFixture, SwitchingTheStartUpCheckSavesAtOnce) {
  Tfm_MAIN_FORM& f = Start();
  f.mn_CheckUpdatesOnStart.Click();
  EXPECT_TRUE(f.CheckUpdatesOnStart);
  EXPECT_EQ(ReadLines(app.DocsDataFolder() + L"Config.txt").at(19), "1");
  f.mn_CheckUpdatesOnStart.Click();
  EXPECT_FALSE(f.CheckUpdatesOnStart);
  EXPECT_FALSE(f.mn_CheckUpdatesOnStart.Checked());
  EXPECT_EQ(ReadLines(app.DocsDataFolder() + L"Config.txt").at(19), "0");
}

namespace {
struct ShellFixture : testing::Test {
  AppHarness app;
  TempDir temp;
  std::wstring record = temp / L"record.txt";
  void SetUp() override {
    app.Start();
    SetEnvironmentVariableW(L"KC_RECORDER_LOG", record.c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"KC_RECORDER_LOG", nullptr);
    SetEnvironmentVariableW(L"KC_RECORDER_SLEEP", nullptr);
  }
};
}  // namespace

TEST_F(ShellFixture, ARefusalIsToldInTheLanguageOfTheFlag) {
  for (bool bg : {false, true}) {
    LANG_IS_BG = bg;
    DialogWatcher watcher;
    EXPECT_FALSE(app.form().MyShellExecute(app.form().Handle(), L"open", temp / L"missing.pdf", L"", L"", 1, false));
    auto seen = watcher.Dialogs();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, bg ? L"\u0424\u0430\u0439\u043b\u044a\u0442, \u043a\u043e\u0439\u0442\u043e \u0441\u0435 "
                                 L"\u043e\u043f\u0438\u0442\u0432\u0430\u0442\u0435 \u0434\u0430 \u0441\u0442\u0430"
                                 L"\u0440\u0442\u0438\u0440\u0430\u0442\u0435 - \u043b\u0438\u043f\u0441\u0432\u0430."
                               : L"The specified file was not found.");
    EXPECT_EQ(seen[0].caption, L"Kestrum Client");
    EXPECT_EQ(seen[0].owner, app.form().Handle());
  }
}

TEST_F(ShellFixture, WaitingReturnsOnlyAfterTheProgramHasEnded) {
  SetEnvironmentVariableW(L"KC_RECORDER_SLEEP", L"800");
  DialogWatcher watcher;
  DWORD start = GetTickCount();
  EXPECT_TRUE(app.form().MyShellExecute(app.form().Handle(), L"runas", FixtureExe(L"kc_recorder"),
                                        L"0\tA\tB", L"", 1, true));
  EXPECT_GE(GetTickCount() - start, 700u);
  EXPECT_EQ(ReadLines(record), (std::vector<std::string>{"0\tA\tB"}));
  EXPECT_TRUE(watcher.Dialogs().empty());
  SetEnvironmentVariableW(L"KC_RECORDER_SLEEP", nullptr);
  EXPECT_TRUE(app.form().MyShellExecute(app.form().Handle(), L"open", FixtureExe(L"kc_recorder"),
                                        L"x", L"", 1, false));
  PumpUntil([&] { return ReadLines(record).size() == 2; }, 5000);
  EXPECT_EQ(ReadLines(record).size(), 2u);
}

TEST_F(ShellFixture, HelpOpensTheManualOfTheCurrentLanguage) {
  // Let the test prefix open PDF files with the recorder.
  HKEY key;
  std::wstring command = L"\"" + FixtureExe(L"kc_recorder") +
                         L"\" \"%1\"";
  RegCreateKeyW(HKEY_CLASSES_ROOT, L".pdf", &key);
  RegSetValueW(key, nullptr, REG_SZ, L"KcTestPdf", 9 * sizeof(wchar_t));
  RegCloseKey(key);
  RegCreateKeyW(HKEY_CLASSES_ROOT, L"KcTestPdf\\shell\\open\\command", &key);
  RegSetValueW(key, nullptr, REG_SZ, command.c_str(), static_cast<DWORD>(command.size() * sizeof(wchar_t)));
  RegCloseKey(key);
  CreateDirectoryW(app.DocDir().c_str(), nullptr);
  WriteBytes(app.DocDir() + L"KESTRUMC_BGUSRMANUAL.pdf", "%PDF bg");
  WriteBytes(app.DocDir() + L"KESTRUMC_ENUSRMANUAL.pdf", "%PDF en");
  for (bool bg : {true, false}) {
    DeleteFileW(record.c_str());
    LANG_IS_BG = bg;
    app.form().mn_HELP2Click();
    PumpUntil([&] { return !ReadLines(record).empty(); }, 5000);
    auto lines = ReadLines(record);
    ASSERT_EQ(lines.size(), 1u);
    std::wstring manual = app.DocDir() + (bg ? L"KESTRUMC_BGUSRMANUAL.pdf" : L"KESTRUMC_ENUSRMANUAL.pdf");
    EXPECT_NE(lines[0].find(Narrow(platform::ShortPathName(manual)).substr(3)), std::string::npos) << lines[0];
  }
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L"KcTestPdf");
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L".pdf");
}
