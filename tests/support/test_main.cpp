// The main of the Windows test programs: the process set up like the launcher's.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "win_test_support.h"

int main(int argc, char** argv) {
  kt::SetUpProcessLikeTheLauncher();
  testing::InitGoogleTest(&argc, argv);
  int rc = RUN_ALL_TESTS();
  // The results are out; ending here skips library teardown, which under a loaded Wine can
  // wait on the notification area for ever and turn a passed test into a timeout.
  fflush(stdout);
  fflush(stderr);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(rc));
  return rc;
}
