// The application object; see application.h.
#include "app/application.h"

#include "platform/process.h"

namespace {
LRESULT CALLBACK HiddenProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return DefWindowProcW(hwnd, msg, w, l); }
}  // namespace

TApplication& Application() {
  static TApplication app;
  return app;
}

HWND TApplication::Handle() {
  static HWND hwnd = [this] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = HiddenProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KestrumApplication";
    RegisterClassExW(&wc);
    return CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, Title.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                           nullptr, wc.hInstance, nullptr);
  }();
  return hwnd;
}

void TApplication::Terminate() { platform::RequestTermination(); }

bool TApplication::Terminated() const { return platform::IsTerminating(); }

HICON ProgramIcon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
}
