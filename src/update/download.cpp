// One file: fetched into the temp folder when the server offers a newer one, then put in place
// with an OLD_ backup, or handed to the elevated updater Brevan.exe.
#include "app/application.h"
#include "app/dm.h"
#include "app/main_form.h"
#include "core/format_settings.h"
#include "core/md5.h"
#include "core/text.h"
#include "core/update_rules.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "support/err_log.h"
#include "update/upd_progress.h"

namespace {
const std::wstring kDownloading = L"Download in progress...";
}

bool Tfm_UPD_PROGRESS::DOWNLOADTHIS_1(const std::wstring& PRODUCT_ID, const std::wstring& COUNTRY_NAME,
                                      const std::wstring& TRGT_UPDNAME, std::wstring& tempPath) {
  tempPath.clear();
  try {
    if (core::IsBlank(TRGT_UPDNAME)) return false;
    if (!PARCE_TABLE(PRODUCT_ID, COUNTRY_NAME, TRGT_UPDNAME)) return false;
    std::wstring path = TempPathOf(TRGT_UPDNAME);
    if (DOWNLOAD_FILE(TRGT_UPDNAME) && platform::FileExists(path)) {
      tempPath = path;
      return true;
    }
    return false;
  } catch (const std::exception& e) {
    LogError(L"Tfm_UPD_PROGRESS.DOWNLOADTHIS_1:" + platform::MessageOf(e));
    return false;
  }
}

bool Tfm_UPD_PROGRESS::DOWNLOAD_FILE(const std::wstring& TRGT_UPDNAME) {
  const std::wstring tempPath = TempPathOf(TRGT_UPDNAME);
  try {
    if (platform::FileExists(tempPath)) platform::RemoveFile(tempPath);
    core::MultipartForm form(NewBoundary());
    core::ProcessFormatSettings().ShortDateFormat = L"DD.MM.YYYY";
    std::wstring row = UPDATE_TABLE && UPDATE_TABLE->size() == 1 ? UPDATE_TABLE->front()
                                                                 : PerFileQuery(TRGT_UPDNAME, form);
    if (!CHECK_NEWER(row)) return false;
    auto max = core::ParseDecimal(core::GetTableColumn(11, row));
    if (!max) throw platform::Exception(L"'" + core::GetTableColumn(11, row) + L"' is not a valid integer value");
    DOWNLOAD_MAX = *max;
    Download(1, kDownloading);
    gau_2_.SetMax(DOWNLOAD_MAX);
    Download(10, kDownloading);
    if (!REQUEST_FILE(row, tempPath, form)) return false;
    // A download that is not the file the table describes is never installed.
    const std::wstring expected = core::GetTableColumn(18, row);
    if (core::IsWellFormedMd5(expected)) {
      const std::wstring actual = MD5File(tempPath);
      if (!core::AsciiEqualsIgnoreCase(actual, expected)) {
        platform::RemoveFile(tempPath);
        LogError(L"Tfm_MAIN_FORM.DOWNLOAD_FILE:" + core::ExtractFileName(TRGT_UPDNAME) + L" arrived with MD5 " + actual +
                 L" instead of " + expected + L"; not installed");
        return false;
      }
    }
    Download(60, kDownloading);
    return platform::FileExists(tempPath);
  } catch (const std::exception& e) {
    LogError(L"Tfm_MAIN_FORM.DOWNLOAD_FILE:" + platform::MessageOf(e));
    return false;
  }
}

void Tfm_UPD_PROGRESS::UPD_OPA(const std::wstring& mode) {
  try {
    std::wstring tempPath;
    if (DOWNLOADTHIS_1(TRGT_PRODUCT_ID, TRGT_COUNTRY_NAME, TRGT_PROGRUPDNAME, tempPath) &&
        platform::FileExists(tempPath)) {
      currentTempPath = tempPath;
      UPDATED = true;
      Download(75, kDownloading);
      if (!BACKUP_AND_REPLACE(currentInstalledPath, tempPath))
        RUN_ELEVATED_UPDATER(mode, true, currentInstalledPath, tempPath);
      platform::RemoveFile(tempPath);
    }
  } catch (const std::exception& e) {
    LogError(L"UPD_OPA :" + platform::MessageOf(e));
  }
  if (UPDATED) Download(100, kDownloading);
}

bool Tfm_UPD_PROGRESS::BACKUP_AND_REPLACE(const std::wstring& installedPath, const std::wstring& tempPath) {
  try {
    const std::wstring backup = core::IncludeTrailingBackslash(core::ExtractFileDir(installedPath)) + L"OLD_" +
                                core::ExtractFileName(installedPath);
    const bool hadFile = platform::FileExists(installedPath);
    if (hadFile && !platform::RenameFile(installedPath, backup)) return false;
    // From here on a failure puts the previous file back, so nothing goes missing.
    auto restore = [&] {
      if (!hadFile) return;
      platform::RemoveFile(installedPath);
      platform::RenameFile(backup, installedPath);
    };
    if (!platform::CopyFileOver(tempPath, installedPath) || !platform::FileExists(installedPath)) {
      restore();
      return false;
    }
    if (platform::FileExists(backup) && !platform::RemoveFile(backup)) return false;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

namespace {
// Starts Brevan.exe with the five fields; true when the shell accepted it and the installed
// file exists afterwards.
bool StartUpdater(HWND owner, const std::wstring& mode, bool wait, const std::wstring& waitValue,
                  const std::wstring& installedPath, const std::wstring& tempPath, const std::wstring& country) {
  try {
    const std::wstring params =
        core::UpdaterParameters(mode, platform::ShortPathName(tempPath), installedPath, waitValue, country);
    return fm_MAIN_FORM &&
           fm_MAIN_FORM->MyShellExecute(owner, L"runas", EXE_FOLDER + L"Brevan.exe", params, EXE_FOLDER, 1, wait) &&
           platform::FileExists(installedPath);
  } catch (const std::exception&) {
    return false;
  }
}
}  // namespace

bool Tfm_UPD_PROGRESS::RUN_ELEVATED_UPDATER(const std::wstring& mode, bool wait, const std::wstring& installedPath,
                                            const std::wstring& tempPath) {
  if (fm_MAIN_FORM) fm_MAIN_FORM->Hide();
  if (dm_) {
    dm_->Showmainform1.SetEnabled(false);
    dm_->Exit2.SetEnabled(false);
  }
  const bool result = StartUpdater(Handle(), mode, wait, L"1500", installedPath, tempPath, TRGT_COUNTRY_NAME);
  if (fm_MAIN_FORM) fm_MAIN_FORM->Show();
  if (dm_) {
    dm_->Showmainform1.SetEnabled(true);
    dm_->Exit2.SetEnabled(true);
  }
  if (fm_MAIN_FORM) fm_MAIN_FORM->BringToFront();
  return result;
}

bool Tfm_UPD_PROGRESS::RUN_ELEVATED_UPDATER_AND_EXIT(const std::wstring& mode, const std::wstring& installedPath,
                                                     const std::wstring& tempPath) {
  // The program ends in any case; the temp file stays for the updater.
  const bool result = StartUpdater(Handle(), mode, false, L"3000", installedPath, tempPath, TRGT_COUNTRY_NAME);
  Application().Terminate();
  return result;
}
