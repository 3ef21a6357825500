// A notification-area icon with a context menu. Clicks on the icon itself do nothing; the right
// button (or the context-menu key) opens the menu.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace ui {

class MenuItem;

class TrayIcon {
 public:
  TrayIcon() = default;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon();

  // `window` receives the icon's callback message; it must pass it to HandleCallback.
  void Show(HWND window, HICON icon, const std::wstring& tip, MenuItem* menu);
  void Remove();
  bool Visible() const { return added_; }
  bool HandleCallback(UINT msg, WPARAM w, LPARAM l);
  // Called when the shell restarts and the icon must be added again.
  void Readd();

  static constexpr UINT kCallbackMessage = WM_APP + 1;

 private:
  void PopUp();
  NOTIFYICONDATAW data_{};
  MenuItem* menu_ = nullptr;
  bool added_ = false;
};

}  // namespace ui
