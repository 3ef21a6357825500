// A stand-in for KestrumClient.exe in the updater tests, built twice as "v1" and "v2". It notes its
// start and end in marks.txt beside itself and, given a number of milliseconds, stays running that
// long so that its executable is in use.
#include <windows.h>

#include <cwchar>
#include <string>

#ifndef FAKE_LAUNCHER_VERSION
#error "FAKE_LAUNCHER_VERSION names the build, e.g. \"v1\""
#endif

namespace {

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

// Appends "<version> <what>" as a line; retried while the test happens to be reading the file.
void Mark(const char* what) {
  std::string line = std::string(FAKE_LAUNCHER_VERSION) + " " + what + "\n";
  for (int attempt = 0; attempt < 50; ++attempt) {
    HANDLE h =
        CreateFileW((OwnFolder() + L"marks.txt").c_str(), FILE_APPEND_DATA,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(h);
      return;
    }
    Sleep(20);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  Mark("start");
  int ms = static_cast<int>(std::wcstol(commandLine, nullptr, 10));
  if (ms > 0) Sleep(static_cast<DWORD>(ms));
  Mark("end");
  return 0;
}
