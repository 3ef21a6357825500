// The main of the Windows test programs: the process set up like the launcher's.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "app/application.h"
#include "core/format_settings.h"
#include "platform/regional.h"

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  OleInitialize(nullptr);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  platform::LoadRegionalFormats(core::ProcessFormatSettings());
  Application().Title = L"Kestrum Client";
  testing::InitGoogleTest(&argc, argv);
  int rc = RUN_ALL_TESTS();
  // The results are out; ending here skips library teardown, which under a loaded Wine can
  // wait on the notification area for ever and turn a passed test into a timeout.
  fflush(stdout);
  fflush(stderr);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(rc));
  return rc;
}
