// Program start: the application title, the data module, the main window, the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/application.h"
#include "app/dm.h"
#include "app/main_form.h"
#include "core/format_settings.h"
#include "platform/regional.h"
#include "support/err_log.h"
#include "ui/form.h"

namespace {
// An exception that reached a window procedure: logged and reported, as an unhandled error is.
void ReportUnhandledError(const std::wstring& message) {
  try {
    WRITE_LOG(LOG_FOLDER_PATH, L"Unhandled error :" + message);
  } catch (...) {
  }
  HWND owner = fm_MAIN_FORM && fm_MAIN_FORM->Visible() ? fm_MAIN_FORM->Handle() : nullptr;
  MessageBoxW(owner, message.c_str(), Application().Title.c_str(), MB_OK | MB_ICONERROR);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Libraries that plugins load are looked for beside them and in the system, never in the
  // current folder.
  SetDllDirectoryW(L"");
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  OleInitialize(nullptr);
  platform::LoadRegionalFormats(core::ProcessFormatSettings());
  ui::SetUnhandledErrorSink(&ReportUnhandledError);

  Application().Title = L"Kestrum Client";
  int exitCode = 0;
  {
    Tdm_ dm;
    dm_ = &dm;
    {
      Tfm_MAIN_FORM mainForm(dm);
      mainForm.Show();
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        if (root && IsDialogMessageW(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      exitCode = static_cast<int>(msg.wParam);
    }
    dm_ = nullptr;
  }
  OleUninitialize();
  return exitCode;
}
