// Putting a downloaded file in place of an installed one without ever losing the installed one: it
// is moved aside first and only removed once the new copy is complete, and put back otherwise. Also
// the wait for a running program to let go of its executable.
#pragma once

#include <windows.h>

#include <string>

#include "updater_params.h"

namespace brevan {

struct ReplaceResult {
  ExitCode code = ExitCode::kOk;  // kOk, kDownloadMissing, kTargetBusy or kCopyFailed
  DWORD error = 0;                // the last Win32 error behind a failure
  std::wstring note;              // anything worth a line in the log
};

// Copies `download` to `target`, retrying for up to `budgetMs` while the target is in use (sharing
// violation, lock or access denied). On success the target has the download's size and no aside
// copy is left (one that cannot be removed is scheduled for removal at the next restart). On
// failure the previous target is back in place. The download itself is never changed.
ReplaceResult PutInPlace(const std::wstring& download, const std::wstring& target, unsigned budgetMs);

// Waits for up to `budgetMs` until `target` can be opened for writing with no sharing, that is until
// no running program holds it. True at once when the target does not exist.
bool WaitUntilReleased(const std::wstring& target, unsigned budgetMs);

}  // namespace brevan
