// The data module; see dm.h.
#include "app/dm.h"

#include <shlobj.h>

#include "app/application.h"
#include "app/main_form.h"
#include "platform/regional.h"
#include "platform/shell_folders.h"
#include "support/text_services.h"

std::wstring TJvComputerInfoEx::AppData() const {
  return overridden_ ? appData_ : platform::SpecialFolder(CSIDL_APPDATA);
}

std::wstring TJvComputerInfoEx::Personal() const {
  return overridden_ ? personal_ : platform::SpecialFolder(CSIDL_PERSONAL);
}

void TJvComputerInfoEx::Override(const std::wstring& appData, const std::wstring& personal) {
  overridden_ = true;
  appData_ = appData;
  personal_ = personal;
}

Tdm_::Tdm_() {
  ui::FormArgs args;
  args.caption = Application().Title;
  args.style = WS_POPUP;
  args.exStyle = WS_EX_TOOLWINDOW;
  args.className = L"KestrumDataModule";
  args.clientWidth = args.clientHeight = 0;
  CreateForm(args);

  Showmainform1.Init(L"Show");
  N1.Init(L"-", true, true);
  Exit2.Init(L"Exit");
  pomn_TRAY.Add(Showmainform1);
  pomn_TRAY.Add(N1);
  pomn_TRAY.Add(Exit2);
  Showmainform1.OnClick = [this] { Showmainform1Click(); };
  Exit2.OnClick = [this] { Exit2Click(); };
  pomn_TRAY.BuildPopup(*this);

  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  trayIcon_ = ProgramIcon(GetSystemMetrics(SM_CXSMICON));
  TrayIcon1.Show(Handle(), trayIcon_, Application().Title, &pomn_TRAY);
}

Tdm_::~Tdm_() {
  TrayIcon1.Remove();
  if (trayIcon_) DestroyIcon(trayIcon_);
}

void Tdm_::Showmainform1Click() {
  if (fm_MAIN_FORM && fm_MAIN_FORM->Exists()) fm_MAIN_FORM->Show();
}

void Tdm_::Exit2Click() {
  if (fm_MAIN_FORM && fm_MAIN_FORM->Exists()) {
    fm_MAIN_FORM->ToExit = true;
    fm_MAIN_FORM->Close();
  }
}

void Tdm_::AppEvents_SettingChange() {
  // The process re-reads the user's regional settings first; the forced values go back on top.
  platform::LoadRegionalFormats(core::ProcessFormatSettings());
  FORCE_LOCAL_FORMATS();
}

bool Tdm_::OnMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  if (TrayIcon1.HandleCallback(msg, w, l)) {
    result = 0;
    return true;
  }
  if (msg == WM_SETTINGCHANGE) {
    AppEvents_SettingChange();
    result = 0;
    return true;
  }
  if (taskbarCreated_ && msg == taskbarCreated_) {
    TrayIcon1.Readd();
    result = 0;
    return true;
  }
  return false;
}
