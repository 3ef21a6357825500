// The help command: the user manual of the current language, opened by the shell.
#include "app/main_form.h"
#include "l10n/bilingual.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "support/err_log.h"

void Tfm_MAIN_FORM::mn_HELP2Click() {
  try {
    std::wstring manual = EXE_FOLDER + (LANG_IS_BG ? L"DOCUMENTATION\\KESTRUMC_BGUSRMANUAL.pdf"
                                                   : L"DOCUMENTATION\\KESTRUMC_ENUSRMANUAL.pdf");
    MyShellExecute(Handle(), L"open", platform::ShortPathName(manual), L"", L"", 1, false);
  } catch (const std::exception& e) {
    Log(L"Tfm_MAIN_FORM.mn_HELP2Click:" + platform::MessageOf(e));
  }
}
