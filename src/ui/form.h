// Top-level windows: a Form owns its window, routes child notifications, menu commands and
// timer ticks to callbacks, and keeps exceptions from crossing the window procedure. Modal
// showing runs a local message loop with the owner disabled, as dialogs do.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "ui/controls.h"

namespace ui {

struct FormArgs {
  std::wstring caption;
  int clientWidth = 400, clientHeight = 300;  // 96-DPI pixels
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = WS_EX_CONTROLPARENT;
  HWND owner = nullptr;
  COLORREF background = GetSysColor(COLOR_BTNFACE);
  HMENU menu = nullptr;
  HICON icon = nullptr;
  const wchar_t* className = L"KestrumForm";
};

class Timer;

class Form {
 public:
  Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form();

  HWND Handle() const { return hwnd_; }
  bool Exists() const { return hwnd_ != nullptr; }
  void Show();
  void Hide();
  bool Visible() const;
  void Close();  // asks OnCloseQuery, then closes
  void BringToFront();
  void Repaint();     // paints now
  void Invalidate();  // paints with the next messages; several in a row cost one painting
  void SetCaption(const std::wstring& text);
  std::wstring Caption() const;
  void CenterOnScreen();

  // Shows the form modally over `owner` and returns its modal result when it closes.
  int ShowModal(HWND owner);
  bool IsModal() const { return modal_; }
  void SetModalResult(int result) { modalResult_ = result; }

  void RouteCommand(HWND control, std::function<void(WORD code)> handler);
  UINT AddMenuCommand(std::function<void()> handler);  // returns the command id
  UINT AddTimer(Timer* timer);

  // The form whose handle this is, if it is one of ours.
  static Form* FromHandle(HWND hwnd);

 protected:
  void CreateForm(const FormArgs& args);
  void DestroyForm();

  virtual void OnShow() {}
  virtual bool OnCloseQuery() { return true; }
  virtual void OnClose() {}    // the window is about to be destroyed (non-modal)
  virtual void OnResize(int /*clientWidth*/, int /*clientHeight*/) {}
  virtual void OnDestroyed() {}
  virtual bool OnMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result);

  struct MinSize {
    int width = 0, height = 0;  // 96-DPI pixels, whole window
  } minSize_;

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
  LRESULT Proc(UINT msg, WPARAM w, LPARAM l);

  HWND hwnd_ = nullptr;
  HBRUSH background_ = nullptr;
  bool modal_ = false;
  int modalResult_ = 0;
  bool shownOnce_ = false;
  std::map<HWND, std::function<void(WORD)>> commands_;
  std::map<UINT, std::function<void()>> menuCommands_;
  std::map<UINT, Timer*> timers_;
  UINT nextId_ = 1000;
};

// A timer of a form; ticks arrive on the GUI thread.
class Timer {
 public:
  void Attach(Form& form, UINT intervalMs);
  void SetEnabled(bool on);
  bool Enabled() const { return enabled_; }
  UINT Interval() const { return interval_; }
  std::function<void()> OnTimer;
  void Fire();  // called by the form

 private:
  Form* form_ = nullptr;
  UINT id_ = 0;
  UINT interval_ = 0;
  bool enabled_ = false;
};

// The screen's pointer for every window of the program: the hourglass while `busy`.
void SetBusyCursor(bool busy);
bool BusyCursor();

// What a handler does with an exception that reaches the window procedure: log it and tell
// the user, as an unhandled error would be reported. Set by the application.
using UnhandledErrorSink = void (*)(const std::wstring& message);
void SetUnhandledErrorSink(UnhandledErrorSink sink);
void ReportUnhandled(const std::exception& e);

}  // namespace ui
