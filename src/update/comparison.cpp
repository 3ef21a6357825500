// Whether the offered file is newer than the installed one: program files by their version
// resource, documents and text files by their MD5.
#include "app/main_form.h"
#include "core/text.h"
#include "core/update_rules.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "support/err_log.h"
#include "support/text_services.h"
#include "update/upd_progress.h"

void Tfm_UPD_PROGRESS::GET_FILEVERSION(const std::wstring& tmpFile) {
  LOCAL_FILE_STATE = TLOCAL_FILE_STATE{};
  if (!platform::FileExists(tmpFile)) return;
  try {
    LOCAL_FILE_STATE.localText = MD5File(tmpFile);
    std::wstring ext = core::ExtractFileExt(tmpFile);
    if (ext == L".pdf" || ext == L".txt") return;
    std::wstring text;
    GET_VERSION_NUMBERS(tmpFile, LOCAL_FILE_STATE.major, LOCAL_FILE_STATE.minor, LOCAL_FILE_STATE.release,
                        LOCAL_FILE_STATE.build, text);
    if (!text.empty()) LOCAL_FILE_STATE.byVersion = true;
  } catch (const std::exception& e) {
    LogUpdateError(L"Tfm_UPD_PROGRESS.GET_FILEVERSION :" + platform::MessageOf(e));
  }
}

bool Tfm_UPD_PROGRESS::CHECK_NEWER(const std::wstring& row) {
  return LOCAL_FILE_STATE.byVersion ? CHECK_BY_VERSION(row) : CHECK_BY_MD5(row);
}

bool Tfm_UPD_PROGRESS::CHECK_BY_VERSION(const std::wstring& row) {
  const core::FileVersion4 installed{LOCAL_FILE_STATE.major, LOCAL_FILE_STATE.minor, LOCAL_FILE_STATE.release,
                                     LOCAL_FILE_STATE.build};
  LOCAL_FILE_STATE.localText = installed.Text();
  core::Comparison c = core::CompareByVersion(installed, row);
  if (!c.error.empty()) LogError(L"CHECK_BY_VERSION :" + c.error);
  return c.newer;
}

bool Tfm_UPD_PROGRESS::CHECK_BY_MD5(const std::wstring& row) {
  return core::CompareByMd5(LOCAL_FILE_STATE.localText, row).newer;
}
