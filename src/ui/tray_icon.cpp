// The tray icon; see tray_icon.h.
#include "ui/tray_icon.h"

#include <shellapi.h>

#include <cwchar>

#include "ui/menu.h"

namespace ui {

TrayIcon::~TrayIcon() { Remove(); }

void TrayIcon::Show(HWND window, HICON icon, const std::wstring& tip, MenuItem* menu) {
  menu_ = menu;
  data_ = {};
  data_.cbSize = sizeof(data_);
  data_.hWnd = window;
  data_.uID = 1;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kCallbackMessage;
  data_.hIcon = icon;
  wcsncpy(data_.szTip, tip.c_str(), sizeof(data_.szTip) / sizeof(wchar_t) - 1);
  added_ = Shell_NotifyIconW(NIM_ADD, &data_) != 0;
}

void TrayIcon::Readd() {
  if (data_.hWnd) added_ = Shell_NotifyIconW(NIM_ADD, &data_) != 0;
}

void TrayIcon::Remove() {
  if (added_) Shell_NotifyIconW(NIM_DELETE, &data_);
  added_ = false;
}

bool TrayIcon::HandleCallback(UINT msg, WPARAM, LPARAM l) {
  if (msg != kCallbackMessage) return false;
  UINT event = LOWORD(l);
  if (event == WM_RBUTTONUP || event == WM_CONTEXTMENU) PopUp();
  return true;
}

void TrayIcon::PopUp() {
  if (!menu_) return;
  POINT p;
  GetCursorPos(&p);
  menu_->TrackPopup(data_.hWnd, p);
}

}  // namespace ui
