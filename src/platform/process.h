// Facts about the running process: its executable's path, the local time, and pumping the
// message queue where a long operation must keep windows alive.
#pragma once

#include <windows.h>

#include <string>

#include "core/format_settings.h"

namespace platform {

// Full path of the running executable. Tests may place the program elsewhere: the override
// stands in for the real path until it is cleared with an empty text.
std::wstring ExecutablePath();
void OverrideExecutablePath(const std::wstring& path);

core::LocalDateTime LocalNow();

// Dispatches every message waiting in this thread's queue. Returns false once WM_QUIT was seen
// (the message is posted again so that the main loop ends too).
bool ProcessMessages();
bool IsTerminating();
void RequestTermination();  // PostQuitMessage once
void ClearTermination();    // a new run in the same process (tests)

}  // namespace platform
