// The general update run: connectivity and table, the support libraries when missing, the
// elevated updater, the program itself and the two language files; then the plugins and
// manuals of a fixed list.
#include "app/application.h"
#include "app/main_form.h"
#include "app/my_dialogs.h"
#include "core/text.h"
#include "l10n/bilingual.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "support/err_log.h"
#include "update/upd_progress.h"

namespace {
const std::wstring kDownloading = L"Download in progress...";
std::wstring CheckFor(const std::wstring& name) { return L"Check for new version of \"" + name + L"\"."; }

struct ListEntry {
  const wchar_t* path;  // below EXE_FOLDER
  const wchar_t* name;
  bool longMessage;     // "Check for new version of ..." rather than the bare name
  bool bulgariaOnly;
};
const ListEntry kSecondPhase[] = {
    {L"PLUGINS\\Orvalis.dll", L"Orvalis.dll", false, false},
    {L"PLUGINS\\Saldrin.dll", L"Saldrin.dll", false, false},
    {L"PLUGINS\\Kelvasto.dll", L"Kelvasto.dll", true, false},
    {L"DOCUMENTATION\\KESTRUMC_BGUSRMANUAL.pdf", L"KESTRUMC_BGUSRMANUAL.pdf", true, true},
    {L"DOCUMENTATION\\KESTRUMC_ENUSRMANUAL.pdf", L"KESTRUMC_ENUSRMANUAL.pdf", true, true},
    {L"PLUGINS\\Durnemar.dll", L"Durnemar.dll", true, true},
    {L"PLUGINS\\Feltrami.dll", L"Feltrami.dll", true, true},
    {L"PLUGINS\\Gorvinel.dll", L"Gorvinel.dll", true, true},
    {L"PLUGINS\\Hestrova.dll", L"Hestrova.dll", true, true},
    {L"PLUGINS\\Jannovir.dll", L"Jannovir.dll", false, true},
};

const wchar_t* kAdminAlertBg =
    L"\u0418\u043c\u0430 \u043d\u0430\u043b\u0438\u0447\u043d\u0438 \u043e\u0431\u043d\u043e\u0432\u044f\u0432\u0430"
    L"\u043d\u0438\u044f, \u0438\u0437\u0438\u0441\u043a\u0432\u0430\u0449\u0438 \u0430\u0434\u043c\u0438\u043d\u0438"
    L"\u0441\u0442\u0440\u0430\u0442\u043e\u0440\u0441\u043a\u0438 \u043f\u0440\u0430\u0432\u0430. ";
}  // namespace

void Tfm_UPD_PROGRESS::SAVE_TABLE() {
  SAVED_TABLE->clear();
  if (UPDATE_TABLE) *SAVED_TABLE = *UPDATE_TABLE;
}

void Tfm_UPD_PROGRESS::RESTORE_TABLE() {
  if (!UPDATE_TABLE) UPDATE_TABLE = std::make_unique<std::vector<std::wstring>>();
  *UPDATE_TABLE = *SAVED_TABLE;
}

void Tfm_UPD_PROGRESS::GET_UPD_LIST() {
  UPDATE_VALUES.UPD_FILENAME.clear();
  UPDATE_VALUES.PROGR_UPDNAME.clear();
  UPDATE_VALUES.PROGR_MESSAGE.clear();
  try {
    const bool bulgaria = core::AsciiEqualsIgnoreCase(TRGT_COUNTRY_NAME, L"BULGARIA");
    for (const ListEntry& e : kSecondPhase) {
      if (e.bulgariaOnly && !bulgaria) continue;
      UPDATE_VALUES.UPD_FILENAME.push_back(EXE_FOLDER + e.path);
      UPDATE_VALUES.PROGR_UPDNAME.push_back(e.name);
      UPDATE_VALUES.PROGR_MESSAGE.push_back(e.longMessage ? CheckFor(e.name) : std::wstring(e.name));
    }
  } catch (const std::exception& e) {
    LogUpdateError(L"GET_UPD_LIST:" + platform::MessageOf(e));
  }
  UPDATE_VALUES.cUPD_VAL_COUNT = static_cast<int32_t>(UPDATE_VALUES.PROGR_UPDNAME.size());
}

void Tfm_UPD_PROGRESS::PrepareFile(const std::wstring& name, const std::wstring& installedPath) {
  RESTORE_TABLE();
  TRGT_PROGRUPDNAME = name;
  currentInstalledPath = installedPath;
  GET_FILEVERSION(installedPath);
}

bool Tfm_UPD_PROGRESS::Replace(const std::wstring& installedPath, const std::wstring& tempPath) {
  Download(75, kDownloading);
  bool ok = BACKUP_AND_REPLACE(installedPath, tempPath);
  if (!ok) ok = RUN_ELEVATED_UPDATER(L"0", true, installedPath, tempPath);
  Download(100, kDownloading);
  platform::RemoveFile(tempPath);
  return ok;
}

bool Tfm_UPD_PROGRESS::ADMIN_UPDATES() {
  try {
    auto step = [&](const std::wstring& label) {
      STEP_COUNTER += 5;
      Overall(STEP_COUNTER, label);
    };
    std::wstring temp;

    step(L"Check for internet connection...");
    if (!CHECK_INTERNET()) return false;
    Download(0, L" ");

    step(L"Get required information for files...");
    if (!GET_UPDATE_TABLE() || UPDATE_TABLE->empty()) return false;
    SAVE_TABLE();
    Download(0, L" ");

    for (const wchar_t* library : {L"libeay32.dll", L"GDS32.DLL", L"ssleay32.dll", L"Lumbrest.dll"}) {
      step(library);
      const std::wstring path = EXE_FOLDER + library;
      if (platform::FileExists(path)) continue;  // present support libraries are never compared
      PrepareFile(library, path);
      if (DOWNLOADTHIS_1(TRGT_PRODUCT_ID, TRGT_COUNTRY_NAME, library, temp)) {
        UPDATED = true;
        Replace(path, temp);
      }
      Download(1, L" ");
    }

    step(CheckFor(L"Brevan.exe"));
    PrepareFile(L"Brevan.exe", EXE_FOLDER + L"Brevan.exe");
    if (DOWNLOADTHIS_1(TRGT_PRODUCT_ID, TRGT_COUNTRY_NAME, L"Brevan.exe", temp)) {
      Download(75, kDownloading);
      bool replaced = BACKUP_AND_REPLACE(EXE_FOLDER + L"Brevan.exe", temp);
      platform::RemoveFile(temp);
      Download(100, kDownloading);
      if (!replaced) {
        if (MyDialogs)
          MyDialogs->MyAlert(Handle(),
                             LANG_IS_BG ? std::wstring(kAdminAlertBg) +
                                              L"\u041c\u043e\u043b\u044f \u0440\u0435\u0441\u0442\u0430\u0440\u0442"
                                              L"\u0438\u0440\u0430\u0439\u0442\u0435 \u043f\u0440\u043e\u0433\u0440"
                                              L"\u0430\u043c\u0430\u0442\u0430, \u043a\u0430\u0442\u043e \u0430\u0434"
                                              L"\u043c\u0438\u043d\u0438\u0441\u0442\u0440\u0430\u0442\u043e\u0440."
                                        : L"There are available updates who required admins rightts. Please restart "
                                          L"the program \"Kestrum\" as administrator.",
                             L"", inf_OkBtn);
        return false;
      }
      UPDATED = true;
    }
    Download(0, L" ");

    step(CheckFor(L"KestrumClient.exe"));
    PrepareFile(L"KestrumClient.exe", EXE_FOLDER + L"KestrumClient.exe");
    if (DOWNLOADTHIS_1(TRGT_PRODUCT_ID, TRGT_COUNTRY_NAME, L"KestrumClient.exe", temp)) {
      Download(75, kDownloading);
      RUN_ELEVATED_UPDATER_AND_EXIT(L"1", EXE_FOLDER + L"KestrumClient.exe", temp);
      Download(100, kDownloading);
      return false;  // the program ends; the updater puts the new version in place
    }
    Download(1, L" ");

    for (const wchar_t* language : {L"LSUPP_DEF.txt", L"LSUPP_BGR.txt"}) {
      step(CheckFor(language));
      const std::wstring path = EXE_FOLDER + L"DOCUMENTATION\\" + language;
      PrepareFile(language, path);
      if (DOWNLOADTHIS_1(TRGT_PRODUCT_ID, TRGT_COUNTRY_NAME, language, temp)) {
        UPDATED = true;
        Replace(path, temp);
        if (fm_MAIN_FORM) {
          std::wstring current = fm_MAIN_FORM->CALC_LANG_SUPPORT();
          if (platform::FileExists(current)) fm_MAIN_FORM->LOAD_LANG_SUPPORT(current);
        }
      }
      Download(1, L" ");
    }

    STEP_COUNTER += 5;
    Download(1, L" ");
    return true;
  } catch (const std::exception& e) {
    LogError(L"ADMIN_UPDATES:" + platform::MessageOf(e));
    return false;
  }
}

void Tfm_UPD_PROGRESS::GET_THIS_UPDATE(int32_t i) {
  try {
    STEP_COUNTER += 5;
    Overall(STEP_COUNTER, UPDATE_VALUES.PROGR_MESSAGE.at(static_cast<size_t>(i)));
    RESTORE_TABLE();
    TRGT_PROGRUPDNAME = UPDATE_VALUES.PROGR_UPDNAME.at(static_cast<size_t>(i));
    currentInstalledPath = UPDATE_VALUES.UPD_FILENAME.at(static_cast<size_t>(i));
    GET_FILEVERSION(currentInstalledPath);
    UPD_OPA(L"0");
    Download(1, L" ");
  } catch (const std::exception& e) {
    LogUpdateError(L"GET_THIS_UPDATE:" + platform::MessageOf(e));
  }
}

void Tfm_UPD_PROGRESS::CHECK_FOR_GENERAL_UPDATES() {
  SAVED_TABLE = std::make_unique<std::vector<std::wstring>>();
  UPDATED = false;
  STEP_COUNTER = 0;
  UPDATE_VALUES = TUPDATE_VALUES{};
  bool firstPhase = false;
  try {
    GET_UPD_LIST();
    firstPhase = ADMIN_UPDATES();
  } catch (const std::exception& e) {
    LogError(L"Tfm_UPD_PROGRESS.CHECK_FOR_GENERAL_UPDATES-1:" + platform::MessageOf(e));
    firstPhase = false;
  }
  Repaint();
  if (firstPhase && UPDATE_VALUES.cUPD_VAL_COUNT > 0) {
    try {
      for (int32_t i = 0; i < UPDATE_VALUES.cUPD_VAL_COUNT; ++i) GET_THIS_UPDATE(i);
      Overall(100, L"Finalisation ...");
    } catch (const std::exception& e) {
      LogError(L"Tfm_UPD_PROGRESS.CHECK_FOR_GENERAL_UPDATES:" + platform::MessageOf(e));
    }
    if (UPDATED && fm_MAIN_FORM) {
      fm_MAIN_FORM->lbx_DEVICES_2.SetItemIndex(-1);
      fm_MAIN_FORM->ADD_SUPPORTED_COUNTRIES();
    }
  }
  SAVED_TABLE.reset();
  UPDATE_VALUES = TUPDATE_VALUES{};
}
