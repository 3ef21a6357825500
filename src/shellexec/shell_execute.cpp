// Starting programs and documents through the shell, elevated where asked and waited for where
// asked, with the shell's refusal told to the user in Bulgarian or English.
#include <windows.h>
#include <shellapi.h>

#include "app/application.h"
#include "app/main_form.h"
#include "app/my_dialogs.h"
#include "core/text.h"
#include "core/update_rules.h"
#include "l10n/bilingual.h"
#include "platform/errors.h"
#include "platform/process.h"
#include "support/err_log.h"

std::wstring Tfm_MAIN_FORM::GET_SHELL_ERROR_TEXT(int32_t code) { return core::ShellErrorText(code, LANG_IS_BG); }

bool Tfm_MAIN_FORM::MyShellExecute(HWND handle, const std::wstring& operation, const std::wstring& file,
                                   const std::wstring& params, const std::wstring& dir, int32_t show, bool wait) {
  try {
    return wait ? ShellExecuteAndWait(handle, operation, file, params, dir)
                : ShellExecuteNoWait(handle, operation, file, params, dir, show);
  } catch (const std::exception& e) {
    Log(L"Tfm_MAIN_FORM.MyShellExecute :" + platform::MessageOf(e));
    return false;
  }
}

namespace {
bool Report(HWND handle, const std::wstring& text) {
  if (core::IsBlank(text)) return true;
  if (MyDialogs) MyDialogs->MyAlert(handle, text, L"", inf_OkBtn);
  return false;
}
}  // namespace

bool Tfm_MAIN_FORM::ShellExecuteNoWait(HWND handle, const std::wstring& operation, const std::wstring& file,
                                       const std::wstring& params, const std::wstring& dir, int32_t show) {
  try {
    auto run = [&](const std::wstring& verb) {
      return static_cast<int32_t>(reinterpret_cast<INT_PTR>(ShellExecuteW(
          handle, verb.c_str(), file.c_str(), params.empty() ? nullptr : params.c_str(),
          dir.empty() ? nullptr : dir.c_str(), show)));
    };
    int32_t code = run(operation);
    if (code == SE_ERR_ACCESSDENIED) code = run(L"runas");
    return Report(handle, GET_SHELL_ERROR_TEXT(code));
  } catch (const std::exception& e) {
    Log(L"  :" + platform::MessageOf(e));
    return false;
  }
}

bool Tfm_MAIN_FORM::ShellExecuteAndWait(HWND handle, const std::wstring& operation, const std::wstring& file,
                                        const std::wstring& params, const std::wstring& dir) {
  try {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = Application().Handle();
    info.lpVerb = operation.c_str();
    info.lpFile = file.c_str();
    info.lpParameters = params.empty() ? nullptr : params.c_str();
    info.lpDirectory = dir.empty() ? nullptr : dir.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info) && info.hProcess) {
      // Windows keep painting while the started program runs; the wait sleeps between messages.
      DWORD exitCode = STILL_ACTIVE;
      while (GetExitCodeProcess(info.hProcess, &exitCode) && exitCode == STILL_ACTIVE && !platform::IsTerminating()) {
        MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, 100, QS_ALLINPUT);
        platform::ProcessMessages();
      }
      CloseHandle(info.hProcess);
    }
    return Report(handle, GET_SHELL_ERROR_TEXT(static_cast<int32_t>(reinterpret_cast<INT_PTR>(info.hInstApp))));
  } catch (const std::exception&) {
    return false;
  }
}
