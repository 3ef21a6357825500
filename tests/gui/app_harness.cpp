// The windows in a test process; see app_harness.h.
#include "app_harness.h"

#include "l10n/bilingual.h"
#include "platform/files.h"
#include "platform/process.h"
#include "support/err_log.h"
#include "support/settings_file.h"
#include "app/my_dialogs.h"
#include "plugins/description_form.h"
#include "core/format_settings.h"
#include "platform/regional.h"

namespace kt {

void ResetProcessState() {
  EXE_FOLDER.clear();
  DOCS_DATA_FOLDER.clear();
  DOCS_DATA_FOLDER_OK = false;
  APPDATA_DATA_FOLDER.clear();
  APPDATA_DATA_FOLDER_OK = false;
  CONFIG_FOLDER_1.clear();
  CONFIG_FOLDER_2.clear();
  LOG_FOLDER_PATH.clear();
  LOG_FOLDER_OK = false;
  CONFIG_LINES.reset();
  CONFIG_ENCODING = core::TextEncoding::Ansi;
  LANG_IS_BG = false;
  MyDialogs.reset();
  PLUGIN_INFO_TEXT.clear();
  core::ProcessFormatSettings() = core::FormatSettings{};
  platform::LoadRegionalFormats(core::ProcessFormatSettings());
  platform::ClearTermination();
}

AppHarness::AppHarness() {
  ResetProcessState();
  platform::ForceDirectories(ExeDir());
  platform::ForceDirectories(Documents());
  platform::ForceDirectories(AppData());
  platform::OverrideExecutablePath(ExeDir() + L"KestrumClient.exe");
}

AppHarness::~AppHarness() {
  Stop();
  platform::OverrideExecutablePath(L"");
}

void AppHarness::WriteSettings(const std::string& bytes) const {
  platform::ForceDirectories(DocsDataFolder());
  WriteBytes(DocsDataFolder() + L"Config.txt", bytes);
}

Tfm_MAIN_FORM& AppHarness::Create() {
  dm_ = std::make_unique<Tdm_>();
  dm_->JvCIE_.Override(AppData(), Documents());
  ::dm_ = dm_.get();
  form_ = std::make_unique<Tfm_MAIN_FORM>(*dm_);
  return *form_;
}

Tfm_MAIN_FORM& AppHarness::Start() {
  Create();
  form_->Show();
  PumpFor(20);
  return *form_;
}

void AppHarness::Stop() {
  if (form_) {
    if (form_->Exists()) form_->Close();
    form_.reset();
  }
  dm_.reset();
  ::dm_ = nullptr;
  // A closed main window ends the run: drop the quit request it posted.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

bool AppHarness::ChooseCountry(const std::wstring& name) {
  int i = form_->lbx_COUNTRY_BG.IndexOfText(name);
  if (i < 0) return false;
  form_->lbx_COUNTRY_BG.Choose(i);
  return true;
}

bool AppHarness::ChooseDevice(const std::wstring& name) {
  int i = form_->lbx_DEVICES_2.IndexOfText(name);
  if (i < 0) return false;
  form_->lbx_DEVICES_2.SetItemIndex(i);
  form_->lbx_DEVICES_2Click();
  return true;
}

}  // namespace kt
