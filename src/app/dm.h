// The data module: the tray icon with its menu, the settings-change notification and the
// special-folder look-up. It lives from start-up to the end of the run.
#pragma once

#include <string>

#include "ui/form.h"
#include "ui/menu.h"
#include "ui/tray_icon.h"

// The user's special folders; tests may stand other folders in for them.
class TJvComputerInfoEx {
 public:
  std::wstring AppData() const;    // CSIDL_APPDATA, no trailing backslash
  std::wstring Personal() const;   // CSIDL_PERSONAL, no trailing backslash
  void Override(const std::wstring& appData, const std::wstring& personal);

 private:
  bool overridden_ = false;
  std::wstring appData_, personal_;
};

class Tdm_ : public ui::Form {
 public:
  Tdm_();
  ~Tdm_() override;

  ui::TrayIcon TrayIcon1;
  ui::MenuItem pomn_TRAY, Showmainform1, N1, Exit2;
  TJvComputerInfoEx JvCIE_;

  void Showmainform1Click();
  void Exit2Click();
  void AppEvents_SettingChange();

 protected:
  bool OnMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  UINT taskbarCreated_ = 0;
  HICON trayIcon_ = nullptr;
};

inline Tdm_* dm_ = nullptr;
