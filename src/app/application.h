// The application object: its title, its hidden top-level window (owner of shell requests that
// must not depend on a visible window) and the end of the run.
#pragma once

#include <windows.h>

#include <string>

class TApplication {
 public:
  std::wstring Title;
  HWND Handle();  // the hidden window, created on first use
  void Terminate();
  bool Terminated() const;
};

TApplication& Application();

// The program's own icon (resource 1), shared by the windows and the tray.
HICON ProgramIcon(int size);
