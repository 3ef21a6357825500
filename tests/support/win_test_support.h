// Helpers for the tests that run under Wine: throw-away folders, installed copies of the test
// plugin, the main window in a folder of its own, and a watcher that answers message boxes.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kt {

// The process set up as the launcher's program body does (common controls, OLE, regional
// formats, the application title), for test and benchmark programs.
void SetUpProcessLikeTheLauncher();

// A fresh folder under the temp folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::wstring& Path() const { return path_; }  // with a trailing backslash
  std::wstring operator/(const std::wstring& name) const { return path_ + name; }

 private:
  std::wstring path_;
};

void RemoveTree(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);  // empty when missing
bool Exists(const std::wstring& path);
std::vector<std::string> ReadLines(const std::wstring& path);  // split at LF, CR removed
std::string Narrow(const std::wstring& s);                      // ASCII/UTF-8 for messages
std::string Hex(const std::string& bytes);

// The built fixture DLLs ("tp_full", "tp_no_ShowPlugin", ...).
std::wstring FixturePath(const std::wstring& variant);
std::wstring FixtureExe(const std::wstring& name);  // a fixture program ("kc_recorder")

// A copy of the test plugin at folder\name with its configuration lines beside it.
struct TestPlugin {
  std::wstring dll;
  std::wstring CfgPath() const;
  std::wstring CallsPath() const;
  std::vector<std::string> Calls() const;
  void Configure(const std::vector<std::string>& lines) const;
  void ClearCalls() const;
};
TestPlugin InstallPlugin(const std::wstring& folder, const std::wstring& name, const std::vector<std::string>& cfg,
                         const std::wstring& variant = L"tp_full");

// What the test plugin's ShowPlugin reports to the host executable, when set.
void SetProbe(std::function<void(const std::string&)> probe);

// Answers the message boxes and dialogs of this process from another thread: records their
// caption and text and presses the given button.
class DialogWatcher {
 public:
  struct Seen {
    std::wstring caption, text;
    HWND owner;
    bool hasYes, hasNo, hasOk;
    int defaultButton;
  };
  explicit DialogWatcher(int answer = IDOK);
  ~DialogWatcher();
  std::vector<Seen> Dialogs();

 private:
  void Run();
  int answer_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<Seen> seen_;
  std::thread thread_;
};

// Waits on another thread for a visible top-level window of this process with the class name,
// then runs the action on it once (from that thread: read texts, post commands).
class WindowWatcher {
 public:
  WindowWatcher(std::wstring className, std::function<void(HWND)> action);
  ~WindowWatcher();
  bool Seen() const { return seen_; }

 private:
  std::wstring className_;
  std::function<void(HWND)> action_;
  std::atomic<bool> stop_{false}, seen_{false};
  std::thread thread_;
};

// The texts of a window's direct children, in creation order.
std::vector<std::wstring> ChildTexts(HWND parent);

// Runs the message queue for a while (timers fire, posted messages arrive).
void PumpFor(int milliseconds);
// Pumps until the condition holds or the time is up; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, int milliseconds);

}  // namespace kt
