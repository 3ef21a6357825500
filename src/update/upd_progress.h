// The update window, in which every update run takes place, and the update client's operations:
//   upd_progress.cpp  the window, its gauges and events
//   protocol.cpp      the exchanges with the update server and MD5File
//   comparison.cpp    installed file against the offered one
//   download.cpp      fetching one file, replacing it with a backup, the elevated updater
//   general_run.cpp   the general update run
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/multipart.h"
#include "ui/controls.h"
#include "ui/form.h"

enum TTRGT_USAGE { tu_UNKNOWN, tu_DWNLD_TO_TEMP, tu_DWNLD_AND_REPLACE, tu_DWNLD_Brevan_CLOSE, tu_CHECK_GENERAL_UPDATES };

struct TUPDATE_VALUES {
  int32_t cUPD_VAL_COUNT = 0;
  std::vector<std::wstring> UPD_FILENAME;   // full path of the installed file
  std::vector<std::wstring> PROGR_UPDNAME;  // bare name in the update table
  std::vector<std::wstring> PROGR_MESSAGE;  // overall label while the entry runs
};

// The installed file last read by GET_FILEVERSION.
struct TLOCAL_FILE_STATE {
  int32_t major = 1, minor = 0, release = 0, build = 0;
  std::wstring localText;  // MD5 of the file, or its version text once compared by version
  bool byVersion = false;
};

// Process-wide update state.
inline std::unique_ptr<std::vector<std::wstring>> UPDATE_TABLE;
inline std::wstring SERVER_TOKEN;
inline TLOCAL_FILE_STATE LOCAL_FILE_STATE;

inline constexpr const wchar_t* kKeyPhrase = L"Pet sinkavi kozi!";

// 32 uppercase hexadecimal digits of the file's bytes; raises when it cannot be opened.
std::wstring MD5File(const std::wstring& fileName);
// A fresh multipart boundary.
std::string NewBoundary();

class Tfm_UPD_PROGRESS : public ui::Form {
 public:
  explicit Tfm_UPD_PROGRESS(HWND owner);
  ~Tfm_UPD_PROGRESS() override;

  ui::Panel Panel1;
  ui::Label lb_GAU1MESS, lb_GAU2MESS;
  ui::Gauge gau_1_, gau_2_;
  ui::Timer Timer1;

  bool ToClose = false;
  TTRGT_USAGE TRGT_USAGE = tu_UNKNOWN;
  std::wstring TRGT_PRODUCT_ID;
  std::wstring TRGT_COUNTRY_NAME;
  std::wstring TRGT_PROGRUPDNAME;
  TUPDATE_VALUES UPDATE_VALUES;

  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void Timer1Timer();

  // --- gauge moves ---
  void Overall(int32_t progress, const std::wstring& text);
  void Download(int32_t progress, const std::wstring& text);

  // --- server protocol ---
  bool CHECK_INTERNET();
  bool GET_UPDATE_TABLE();
  std::wstring PerFileQuery(const std::wstring& fileName, core::MultipartForm& form);
  bool REQUEST_FILE(const std::wstring& row, const std::wstring& tempPath, core::MultipartForm& form);
  bool PARCE_TABLE(const std::wstring& PRODUCT_ID, const std::wstring& COUNTRY_NAME, const std::wstring& TRGT_UPDNAME);

  // --- comparison ---
  void GET_FILEVERSION(const std::wstring& tmpFile);
  bool CHECK_NEWER(const std::wstring& row);
  bool CHECK_BY_VERSION(const std::wstring& row);
  bool CHECK_BY_MD5(const std::wstring& row);

  // --- download and replacement ---
  bool DOWNLOADTHIS_1(const std::wstring& PRODUCT_ID, const std::wstring& COUNTRY_NAME,
                      const std::wstring& TRGT_UPDNAME, std::wstring& tempPath);
  bool DOWNLOAD_FILE(const std::wstring& TRGT_UPDNAME);
  void UPD_OPA(const std::wstring& mode);
  bool BACKUP_AND_REPLACE(const std::wstring& installedPath, const std::wstring& tempPath);
  bool RUN_ELEVATED_UPDATER(const std::wstring& mode, bool wait, const std::wstring& installedPath,
                            const std::wstring& tempPath);
  bool RUN_ELEVATED_UPDATER_AND_EXIT(const std::wstring& mode, const std::wstring& installedPath,
                                     const std::wstring& tempPath);
  int32_t DOWNLOAD_MAX = 100;
  bool UPDATED = false;

  // --- general run ---
  void CHECK_FOR_GENERAL_UPDATES();
  bool ADMIN_UPDATES();
  void GET_UPD_LIST();
  void GET_THIS_UPDATE(int32_t i);
  void SAVE_TABLE();
  void RESTORE_TABLE();
  int32_t STEP_COUNTER = 0;

  std::wstring TempPathOf(const std::wstring& fileName) const;
  std::wstring currentInstalledPath;
  std::wstring currentTempPath;

 protected:
  void OnShow() override { FormShow(); }
  bool OnCloseQuery() override { return FormCloseQuery(); }
  void OnResize(int w, int h) override;

 private:
  std::wstring Key() const;
  std::wstring Address(const std::wstring& tail) const;
  // A first-phase step that names a file: table restored, name and path set, file read.
  void PrepareFile(const std::wstring& name, const std::wstring& installedPath);
  bool Replace(const std::wstring& installedPath, const std::wstring& tempPath);
  std::unique_ptr<ui::Font> font_;
  std::unique_ptr<std::vector<std::wstring>> SAVED_TABLE;
};

// The one update window that exists, set by its creator and cleared before it is released.
inline Tfm_UPD_PROGRESS* fm_UPD_PROGRESS = nullptr;
