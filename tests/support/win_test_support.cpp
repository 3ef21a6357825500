// Test helpers for Wine; see win_test_support.h.
#include "win_test_support.h"

#include <cstdio>

#include <commctrl.h>
#include <objbase.h>

#include "app/application.h"
#include "core/format_settings.h"
#include "platform/files.h"
#include "platform/regional.h"

namespace kt {

namespace {
std::function<void(const std::string&)>& ProbeSlot() {
  static std::function<void(const std::string&)> slot;
  return slot;
}
}  // namespace

void SetUpProcessLikeTheLauncher() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  OleInitialize(nullptr);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  platform::LoadRegionalFormats(core::ProcessFormatSettings());
  Application().Title = L"Kestrum Client";
}

TempDir::TempDir() {
  static int counter = 0;
  // The temp folder as the process started: tests may point TMP elsewhere meanwhile.
  static const std::wstring temp = [] {
    wchar_t buf[MAX_PATH];
    GetTempPathW(MAX_PATH, buf);
    return std::wstring(buf);
  }();
  for (int attempt = 0;; ++attempt) {
    if (attempt > 1000) throw std::runtime_error("cannot create a temp folder");
    path_ = std::wstring(temp) + L"kt" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter) +
            L"_" + std::to_wstring(GetTickCount()) + L"\\";
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

TempDir::~TempDir() { RemoveTree(path_); }

void RemoveTree(const std::wstring& path) {
  std::wstring base = path;
  if (!base.empty() && base.back() != L'\\') base += L'\\';
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((base + L"*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = base + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(base.c_str());
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return;
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

std::string ReadBytes(const std::wstring& path) {
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return {};
  std::string s;
  char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  fclose(f);
  return s;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> ReadLines(const std::wstring& path) {
  std::vector<std::string> lines;
  std::string s = ReadBytes(path);
  size_t start = 0;
  while (start < s.size()) {
    size_t end = s.find('\n', start);
    std::string line = s.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

std::string Narrow(const std::wstring& s) {
  int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string Hex(const std::string& bytes) {
  static const char d[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += d[c >> 4];
    out += d[c & 15];
  }
  return out;
}

std::wstring FixturePath(const std::wstring& variant) { return std::wstring(KC_FIXTURES_DIR) + L"\\" + variant + L".dll"; }

std::wstring FixtureExe(const std::wstring& name) { return std::wstring(KC_FIXTURES_DIR) + L"\\" + name + L".exe"; }

std::wstring TestPlugin::CfgPath() const { return dll.substr(0, dll.size() - 4) + L".cfg"; }
std::wstring TestPlugin::CallsPath() const { return dll.substr(0, dll.size() - 4) + L".calls"; }
std::vector<std::string> TestPlugin::Calls() const { return ReadLines(CallsPath()); }
void TestPlugin::ClearCalls() const { DeleteFileW(CallsPath().c_str()); }
void TestPlugin::Configure(const std::vector<std::string>& lines) const {
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  WriteBytes(CfgPath(), text);
}

TestPlugin InstallPlugin(const std::wstring& folder, const std::wstring& name, const std::vector<std::string>& cfg,
                         const std::wstring& variant) {
  platform::ForceDirectories(folder);
  std::wstring dir = folder;
  if (dir.back() != L'\\') dir += L'\\';
  TestPlugin p{dir + name};
  CopyFileW(FixturePath(variant).c_str(), p.dll.c_str(), FALSE);
  p.Configure(cfg);
  return p;
}

void SetProbe(std::function<void(const std::string&)> probe) { ProbeSlot() = std::move(probe); }

DialogWatcher::DialogWatcher(int answer) : answer_(answer), thread_([this] { Run(); }) {}

DialogWatcher::~DialogWatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<DialogWatcher::Seen> DialogWatcher::Dialogs() {
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_;
}

namespace {
struct Search {
  DWORD pid;
  const wchar_t* cls;
  std::vector<HWND> found;
};
BOOL CALLBACK CollectByClass(HWND hwnd, LPARAM l) {
  auto* s = reinterpret_cast<Search*>(l);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[128] = {};
  GetClassNameW(hwnd, cls, 128);
  if (pid == s->pid && std::wstring(cls) == s->cls && IsWindowVisible(hwnd)) s->found.push_back(hwnd);
  return TRUE;
}
// This process's visible top-level windows of the class.
std::vector<HWND> VisibleWindows(const wchar_t* cls) {
  Search s{GetCurrentProcessId(), cls, {}};
  EnumWindows(CollectByClass, reinterpret_cast<LPARAM>(&s));
  return s.found;
}
std::wstring TextOf(HWND h) {
  wchar_t buf[4096] = {};
  GetWindowTextW(h, buf, 4096);
  return buf;
}
}  // namespace

void DialogWatcher::Run() {
  std::vector<HWND> handled;
  while (!stop_) {
    for (HWND d : VisibleWindows(L"#32770")) {
      bool known = false;
      for (HWND h : handled) known |= (h == d);
      if (known) continue;
      handled.push_back(d);
      Seen seen{};
      seen.caption = TextOf(d);
      seen.text = TextOf(GetDlgItem(d, 0xFFFF));
      seen.owner = GetWindow(d, GW_OWNER);
      seen.hasYes = GetDlgItem(d, IDYES) != nullptr;
      seen.hasNo = GetDlgItem(d, IDNO) != nullptr;
      seen.hasOk = GetDlgItem(d, IDOK) != nullptr;
      seen.defaultButton = 0;
      for (int id : {IDOK, IDYES, IDNO, IDCANCEL})
        if (HWND b = GetDlgItem(d, id); b && (GetWindowLongW(b, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON)
          seen.defaultButton = id;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(seen);
      }
      int answer = answer_;
      if (answer == IDOK && !seen.hasOk) answer = seen.hasNo ? IDNO : IDCANCEL;
      PostMessageW(d, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, answer)));
    }
    Sleep(20);
  }
}

namespace {
BOOL CALLBACK CollectChild(HWND hwnd, LPARAM l) {
  auto* v = reinterpret_cast<std::vector<std::wstring>*>(l);
  wchar_t buf[4096] = {};
  GetWindowTextW(hwnd, buf, 4096);
  v->push_back(buf);
  return TRUE;
}
}  // namespace

WindowWatcher::WindowWatcher(std::wstring className, std::function<void(HWND)> action)
    : className_(std::move(className)), action_(std::move(action)), thread_([this] {
        while (!stop_) {
          std::vector<HWND> found = VisibleWindows(className_.c_str());
          if (!found.empty()) {
            Sleep(50);  // let the window finish showing
            action_(found.front());
            seen_ = true;
            return;
          }
          Sleep(20);
        }
      }) {}

WindowWatcher::~WindowWatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<std::wstring> ChildTexts(HWND parent) {
  std::vector<std::wstring> texts;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

void PumpFor(int milliseconds) {
  DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  MSG msg;
  while (static_cast<int>(end - GetTickCount()) > 0) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

bool PumpUntil(const std::function<bool()>& condition, int milliseconds) {
  DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  MSG msg;
  while (!condition()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

}  // namespace kt

// The test plugin calls this from inside ShowPlugin, when the host executable exports it.
extern "C" __declspec(dllexport) void __cdecl KcTestProbe(const char* event) {
  if (auto& probe = kt::ProbeSlot()) probe(event);
}
