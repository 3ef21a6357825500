// Process facts; see process.h.
#include "platform/process.h"

namespace platform {

namespace {
std::wstring& PathOverride() {
  static std::wstring path;
  return path;
}
bool g_terminating = false;
}  // namespace

std::wstring ExecutablePath() {
  if (!PathOverride().empty()) return PathOverride();
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void OverrideExecutablePath(const std::wstring& path) { PathOverride() = path; }

core::LocalDateTime LocalNow() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  core::LocalDateTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  t.millisecond = st.wMilliseconds;
  t.dayOfWeek = st.wDayOfWeek;
  return t;
}

bool ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      g_terminating = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return !g_terminating;
}

bool IsTerminating() { return g_terminating; }

void RequestTermination() {
  if (g_terminating) return;
  g_terminating = true;
  PostQuitMessage(0);
}

void ClearTermination() { g_terminating = false; }

}  // namespace platform
