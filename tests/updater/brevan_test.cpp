// Brevan.exe itself, run as a child process over real files in a throw-away folder: replacement in
// both modes, blanks given as "+", busy targets, rejected parameter texts, the stand-in launcher
// started again, the log line and the warning box in either language.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "updater_params.h"
#include "win_test_support.h"

namespace {

const std::wstring kBrevan = KC_BUILD_DIR L"\\updater\\Brevan.exe";
const std::wstring kLog = KC_BUILD_DIR L"\\updater\\Brevan_log.txt";
const std::wstring kLauncherV1 = KC_BUILD_DIR L"\\tests\\updater\\kc_fake_launcher_v1.exe";
const std::wstring kLauncherV2 = KC_BUILD_DIR L"\\tests\\updater\\kc_fake_launcher_v2.exe";
constexpr DWORD kRunLimitMs = 60000;  // far above any bounded wait used here

int Code(brevan::ExitCode c) {
  return static_cast<int>(c);
}

std::wstring Plus(std::wstring path) {
  for (auto& c : path)
    if (c == L' ') c = L'+';
  return path;
}

std::wstring Fields(const std::vector<std::wstring>& fields) {
  std::wstring text;
  for (size_t i = 0; i < fields.size(); ++i) text += (i ? L"\t" : L"") + fields[i];
  return text;
}

// The parameter text of mode "0" as the launcher builds it.
std::wstring Mode0(const std::wstring& download, const std::wstring& target,
                   const std::wstring& wait = L"1500", const std::wstring& language = L"EN_CASE") {
  return Fields({L"0", download, Plus(target), wait, language});
}

std::wstring ShortPath(const std::wstring& path) {
  wchar_t buf[MAX_PATH * 4];
  DWORD n = GetShortPathNameW(path.c_str(), buf, MAX_PATH * 4);
  return n ? std::wstring(buf, n) : path;
}

// A child process; one still running at the end of a test is ended, so no test leaves one behind.
class Child {
 public:
  Child(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                       &pi)) {
      CloseHandle(pi.hThread);
      process_ = pi.hProcess;
      pid_ = pi.dwProcessId;
    }
  }
  ~Child() {
    if (process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 99);
    if (process_) CloseHandle(process_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD Pid() const { return pid_; }
  bool Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
  // The exit code once ended within the limit.
  std::optional<int> Wait(DWORD limitMs = kRunLimitMs) const {
    if (!process_ || WaitForSingleObject(process_, limitMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<int>(code);
  }

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

bool WaitFor(const std::function<bool()>& condition, DWORD limitMs = 20000) {
  for (DWORD waited = 0;; waited += 50) {
    if (condition()) return true;
    if (waited >= limitMs) return false;
    Sleep(50);
  }
}

class Brevan : public testing::Test {
 protected:
  void SetUp() override { SetEnvironmentVariableW(L"KESTRUM_UPDATER_SILENT", L"1"); }

  // The downloaded file as the launcher names it: the short form of a path in a temp folder.
  std::wstring Download(const std::string& bytes, const std::wstring& name = L"plugin_update.dll") {
    CreateDirectoryW((dir_ / L"Temp Folder").c_str(), nullptr);
    std::wstring path = dir_ / (L"Temp Folder\\" + name);
    kt::WriteBytes(path, bytes);
    return ShortPath(path);
  }
  std::wstring Folder(const std::wstring& relative) {
    std::wstring path = dir_.Path();
    size_t start = 0;
    while (start < relative.size()) {
      size_t slash = relative.find(L'\\', start);
      path +=
          relative.substr(start, slash == std::wstring::npos ? std::wstring::npos : slash - start) + L"\\";
      CreateDirectoryW(path.c_str(), nullptr);
      if (slash == std::wstring::npos) break;
      start = slash + 1;
    }
    return path;
  }
  static int Run(const std::wstring& parameters) {
    Child brevan(kBrevan, parameters);
    EXPECT_TRUE(brevan.Started());
    return brevan.Wait().value_or(-1);
  }

  kt::TempDir dir_;
};

TEST_F(Brevan, Mode0ReplacesTheFileAndLeavesNoAsideCopy) {
  std::wstring target = Folder(L"Kestrum") + L"plugin.dll";
  kt::WriteBytes(target, "old version");
  std::wstring download = Download("new version, longer than the old");
  EXPECT_EQ(Run(Mode0(download, target)), 0);
  EXPECT_EQ(kt::ReadBytes(target), "new version, longer than the old");
  EXPECT_FALSE(kt::Exists(target + L".brevan-old"));
  EXPECT_TRUE(kt::Exists(download)) << "the launcher deletes the download itself";
}

TEST_F(Brevan, Mode0ClearsAStaleAsideCopyAndAReadOnlyTarget) {
  std::wstring target = Folder(L"Kestrum") + L"plugin.dll";
  kt::WriteBytes(target, "old");
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
  kt::WriteBytes(target + L".brevan-old", "left from an earlier run");
  EXPECT_EQ(Run(Mode0(Download("new"), target)), 0);
  EXPECT_EQ(kt::ReadBytes(target), "new");
  EXPECT_FALSE(kt::Exists(target + L".brevan-old"));
}

TEST_F(Brevan, Mode0CreatesAMissingTarget) {
  std::wstring target = Folder(L"Kestrum") + L"new_plugin.dll";
  EXPECT_EQ(Run(Mode0(Download("fresh"), target)), 0);
  EXPECT_EQ(kt::ReadBytes(target), "fresh");
}

TEST_F(Brevan, TargetWithBlanksArrivesWithPlus) {
  std::wstring target = Folder(L"Program Files (x86)\\Kestrum Client") + L"fiscal plugin.dll";
  kt::WriteBytes(target, "old");
  std::wstring text = Mode0(Download("new"), target);
  ASSERT_EQ(text.find(L' '), std::wstring::npos);
  EXPECT_EQ(Run(text), 0);
  EXPECT_EQ(kt::ReadBytes(target), "new");
  EXPECT_FALSE(kt::Exists(dir_ / L"Program+Files+(x86)"));
}

TEST_F(Brevan, PlusOfARealFolderNameIsKept) {
  std::wstring target = Folder(L"plugins+extra") + L"a.dll";
  EXPECT_EQ(Run(Mode0(Download("new"), target)), 0);
  EXPECT_EQ(kt::ReadBytes(target), "new");
  EXPECT_FALSE(kt::Exists(dir_ / L"plugins extra"));
}

TEST_F(Brevan, MissingDownloadFailsAndLeavesTheTargetAlone) {
  std::wstring target = Folder(L"Kestrum") + L"plugin.dll";
  kt::WriteBytes(target, "old");
  EXPECT_EQ(Run(Mode0(dir_ / L"NOSUCH~1.DLL", target)), Code(brevan::ExitCode::kDownloadMissing));
  EXPECT_EQ(kt::ReadBytes(target), "old");
  EXPECT_FALSE(kt::Exists(target + L".brevan-old"));
}

TEST_F(Brevan, MissingTargetFolderFailsAsCopy) {
  std::wstring target = dir_ / L"No Such Folder\\plugin.dll";
  EXPECT_EQ(Run(Mode0(Download("new"), target)), Code(brevan::ExitCode::kCopyFailed));
  EXPECT_FALSE(kt::Exists(target));
}

// Holds the file open with no sharing, the way a program using it would.
class Holder {
 public:
  explicit Holder(const std::wstring& path)
      : h_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr)) {}
  ~Holder() { Release(); }
  bool Held() const { return h_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (Held()) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_;
};

TEST_F(Brevan, WaitsWhileTheTargetIsInUse) {
  std::wstring target = Folder(L"Kestrum") + L"plugin.dll";
  kt::WriteBytes(target, "old");
  Holder holder(target);
  ASSERT_TRUE(holder.Held());
  Child brevan(kBrevan, Mode0(Download("new"), target, L"1500"));  // retries for 15 s
  ASSERT_TRUE(brevan.Started());
  Sleep(500);
  EXPECT_TRUE(brevan.Running()) << "gave up while the file was in use";
  holder.Release();
  EXPECT_EQ(brevan.Wait(), 0);
  EXPECT_EQ(kt::ReadBytes(target), "new");
  EXPECT_FALSE(kt::Exists(target + L".brevan-old"));
}

TEST_F(Brevan, GivesUpWhenTheTargetStaysInUse) {
  std::wstring target = Folder(L"Kestrum") + L"plugin.dll";
  kt::WriteBytes(target, "old");
  Holder holder(target);
  ASSERT_TRUE(holder.Held());
  EXPECT_EQ(Run(Mode0(Download("new"), target, L"100")), Code(brevan::ExitCode::kTargetBusy));  // about 1 s
  holder.Release();
  EXPECT_EQ(kt::ReadBytes(target), "old");
  EXPECT_FALSE(kt::Exists(target + L".brevan-old"));
}

// A parameter text built from the download and the target.
struct Form {
  const char* name;
  std::wstring (*build)(const std::wstring& download, const std::wstring& target);
};

class BrevanAcceptedForm : public Brevan, public testing::WithParamInterface<Form> {};

TEST_P(BrevanAcceptedForm, ReplacesTheFile) {
  std::wstring target = Folder(L"Kestrum Client") + L"plugin.dll";
  kt::WriteBytes(target, "old");
  EXPECT_EQ(Run(GetParam().build(Download("new"), target)), 0);
  EXPECT_EQ(kt::ReadBytes(target), "new");
}

INSTANTIATE_TEST_SUITE_P(Brevan, BrevanAcceptedForm,
                         testing::Values(Form{"Bulgarian",
                                              [](const std::wstring& d, const std::wstring& t) {
                                                return Mode0(d, t, L"1500", L"BG_CASE");
                                              }},
                                         Form{"WrappedInQuotes",
                                              [](const std::wstring& d, const std::wstring& t) {
                                                return L"\"" + Mode0(d, t) + L"\"";
                                              }},
                                         Form{"NoLanguage",
                                              [](const std::wstring& d, const std::wstring& t) {
                                                return Fields({L"0", d, Plus(t), L"1500"});
                                              }}),
                         [](const auto& info) { return std::string(info.param.name); });

class BrevanRejectedForm : public Brevan, public testing::WithParamInterface<Form> {};

TEST_P(BrevanRejectedForm, ExitsWithTwoAndTouchesNothing) {
  std::wstring target = Folder(L"Kestrum") + L"plugin.dll";
  kt::WriteBytes(target, "old");
  EXPECT_EQ(Run(GetParam().build(Download("new"), target)), Code(brevan::ExitCode::kBadParameters));
  EXPECT_EQ(kt::ReadBytes(target), "old");
}

INSTANTIATE_TEST_SUITE_P(
    Brevan, BrevanRejectedForm,
    testing::Values(Form{"Nothing", [](const std::wstring&, const std::wstring&) { return std::wstring(); }},
                    Form{"ThreeFields",
                         [](const std::wstring& d, const std::wstring& t) {
                           return Fields({L"0", d, Plus(t)});
                         }},
                    Form{"SixFields", [](const std::wstring& d,
                                         const std::wstring& t) { return Mode0(d, t) + L"\tEN_CASE"; }},
                    Form{"ModeSeven",
                         [](const std::wstring& d, const std::wstring& t) {
                           return Fields({L"7", d, Plus(t), L"1500", L"EN_CASE"});
                         }},
                    Form{"WaitNotNumber",
                         [](const std::wstring& d, const std::wstring& t) { return Mode0(d, t, L"soon"); }}),
    [](const auto& info) { return std::string(info.param.name); });

// Mode "1" with the stand-in launcher at the target: its marks.txt tells who ran when.
class BrevanLauncher : public Brevan {
 protected:
  void SetUp() override {
    Brevan::SetUp();
    folder_ = Folder(L"Kestrum Client");
    target_ = folder_ + L"KestrumClient.exe";
    ASSERT_TRUE(CopyFileW(kLauncherV1.c_str(), target_.c_str(), FALSE));
    v1_ = kt::ReadBytes(kLauncherV1);
    v2_ = kt::ReadBytes(kLauncherV2);
    ASSERT_NE(v1_, v2_);
  }
  std::vector<std::string> Marks() const { return kt::ReadLines(folder_ + L"marks.txt"); }
  bool Marked(const std::string& line) const {
    auto marks = Marks();
    return std::find(marks.begin(), marks.end(), line) != marks.end();
  }
  std::wstring Mode1(const std::wstring& download, const std::wstring& wait = L"3000") const {
    return Fields({L"1", download, Plus(target_), wait, L"EN_CASE"});
  }

  std::wstring folder_, target_;
  std::string v1_, v2_;
};

TEST_F(BrevanLauncher, ReplacesTheLauncherAfterItEndedAndStartsTheNewOne) {
  Child launcher(target_, L"1500");  // stays running for 1.5 s
  ASSERT_TRUE(launcher.Started());
  ASSERT_TRUE(WaitFor([&] { return Marked("v1 start"); }));
  std::wstring download = Download(v2_, L"KestrumClient.new.exe");

  EXPECT_EQ(Run(Mode1(download)), 0);
  ASSERT_TRUE(WaitFor([&] { return Marked("v2 end"); })) << "the new launcher was not started";
  EXPECT_EQ(Marks(), (std::vector<std::string>{"v1 start", "v1 end", "v2 start", "v2 end"}));
  EXPECT_EQ(kt::ReadBytes(target_), v2_);
  EXPECT_FALSE(kt::Exists(download)) << "the download is removed once in place";
  EXPECT_FALSE(kt::Exists(target_ + L".brevan-old"));
}

TEST_F(BrevanLauncher, MissingDownloadStartsThePreviousLauncherAgain) {
  EXPECT_EQ(Run(Mode1(dir_ / L"NOSUCH~1.EXE")), Code(brevan::ExitCode::kDownloadMissing));
  ASSERT_TRUE(WaitFor([&] { return Marked("v1 end"); })) << "the previous launcher was not started";
  EXPECT_EQ(Marks(), (std::vector<std::string>{"v1 start", "v1 end"}));
  EXPECT_EQ(kt::ReadBytes(target_), v1_);
}

TEST_F(BrevanLauncher, GivesUpWhenTheLauncherDoesNotEnd) {
  Child launcher(target_, L"30000");
  ASSERT_TRUE(launcher.Started());
  ASSERT_TRUE(WaitFor([&] { return Marked("v1 start"); }));
  std::wstring download = Download(v2_, L"KestrumClient.new.exe");

  EXPECT_EQ(Run(Mode1(download, L"100")), Code(brevan::ExitCode::kTargetBusy));  // waits about 2 s
  EXPECT_TRUE(launcher.Running());
  EXPECT_EQ(kt::ReadBytes(target_), v1_);
  EXPECT_TRUE(kt::Exists(download)) << "kept for another try";
  EXPECT_EQ(Marks(), std::vector<std::string>{"v1 start"}) << "a second launcher was started";
}

TEST_F(Brevan, AppendsOneLogLinePerRun) {
  std::wstring target = Folder(L"Kestrum") + L"плъгин.dll";
  EXPECT_EQ(Run(Mode0(Download("new"), target)), 0);
  std::string expected = "  mode=0  target=" + kt::Narrow(target) + "  result=0 ok";
  auto lines = kt::ReadLines(kLog);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [&](const std::string& l) { return l.find(expected) != std::string::npos; }),
            1);
}

// The warning box of a process: its caption and the texts in it.
struct Box {
  HWND hwnd = nullptr;
  std::wstring caption, text;
};

std::wstring WindowText(HWND hwnd) {
  wchar_t buf[2048];
  int n = GetWindowTextW(hwnd, buf, 2048);
  return std::wstring(buf, n > 0 ? n : 0);
}

struct BoxSearch {
  DWORD pid;
  Box box;
};

BOOL CALLBACK FindBoxWindow(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<BoxSearch*>(lp);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  wchar_t cls[64];
  if (owner != search->pid || !GetClassNameW(hwnd, cls, 64) || std::wstring(cls) != L"#32770") return TRUE;
  search->box.hwnd = hwnd;
  return FALSE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM lp) {
  wchar_t cls[64];
  if (GetClassNameW(child, cls, 64) && _wcsicmp(cls, L"Static") == 0)
    reinterpret_cast<Box*>(lp)->text += WindowText(child);
  return TRUE;
}

std::optional<Box> FindBox(DWORD pid) {
  BoxSearch search{pid, {}};
  EnumWindows(FindBoxWindow, reinterpret_cast<LPARAM>(&search));
  if (!search.box.hwnd) return std::nullopt;
  search.box.caption = WindowText(search.box.hwnd);
  EnumChildWindows(search.box.hwnd, CollectStaticText, reinterpret_cast<LPARAM>(&search.box));
  return search.box;
}

struct BoxCase {
  const char* name;
  const wchar_t* language;
  const wchar_t* caption;
  const wchar_t* textStart;
};

class BrevanWarning : public Brevan, public testing::WithParamInterface<BoxCase> {};

TEST_P(BrevanWarning, TellsTheUserInTheirLanguage) {
  SetEnvironmentVariableW(L"KESTRUM_UPDATER_SILENT", nullptr);
  std::wstring target = Folder(L"Kestrum") + L"plugin.dll";
  Child brevan(kBrevan, Mode0(dir_ / L"NOSUCH~1.DLL", target, L"1500", GetParam().language));
  ASSERT_TRUE(brevan.Started());
  std::optional<Box> box;
  ASSERT_TRUE(WaitFor([&] { return (box = FindBox(brevan.Pid())).has_value() && !box->text.empty(); }))
      << "no warning box";
  EXPECT_EQ(box->caption, GetParam().caption);
  EXPECT_EQ(box->text.rfind(GetParam().textStart, 0), 0u) << kt::Narrow(box->text);
  EXPECT_NE(box->text.find(target), std::wstring::npos);
  PostMessageW(box->hwnd, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(brevan.Wait(), Code(brevan::ExitCode::kDownloadMissing));
}

INSTANTIATE_TEST_SUITE_P(
    Brevan, BrevanWarning,
    testing::Values(BoxCase{"Bulgarian", L"BG_CASE", L"Kestrum Client - обновяване", L"Файлът не е обновен:"},
                    BoxCase{"English", L"EN_CASE", L"Kestrum Client - update", L"The file was not updated:"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
