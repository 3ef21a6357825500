// Top-level windows; see form.h.
#include "ui/form.h"

#include "platform/errors.h"
#include "platform/process.h"

namespace ui {

namespace {
UnhandledErrorSink g_sink = nullptr;

const wchar_t* EnsureClass(const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing)) return name;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
  return name;
}
}  // namespace

void SetUnhandledErrorSink(UnhandledErrorSink sink) { g_sink = sink; }

namespace {
bool g_busy = false;
}

void SetBusyCursor(bool busy) {
  g_busy = busy;
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

bool BusyCursor() { return g_busy; }

void ReportUnhandled(const std::exception& e) {
  if (g_sink) g_sink(platform::MessageOf(e));
}

Form::~Form() { DestroyForm(); }

void Form::CreateForm(const FormArgs& args) {
  const wchar_t* cls = EnsureClass(args.className, &Form::StaticProc);
  background_ = CreateSolidBrush(args.background);
  RECT r{0, 0, Scale(args.clientWidth), Scale(args.clientHeight)};
  AdjustWindowRectEx(&r, args.style, args.menu != nullptr, args.exStyle);
  hwnd_ = CreateWindowExW(args.exStyle, cls, args.caption.c_str(), args.style, CW_USEDEFAULT, CW_USEDEFAULT,
                          r.right - r.left, r.bottom - r.top, args.owner, args.menu, GetModuleHandleW(nullptr), this);
  if (!hwnd_) platform::RaiseLastError(L"CreateWindowEx");
  if (args.icon) {
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(args.icon));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(args.icon));
  }
  CenterOnScreen();
}

void Form::DestroyForm() {
  for (auto& [id, t] : timers_) t->SetEnabled(false);
  if (hwnd_) {
    HWND h = hwnd_;
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    DestroyWindow(h);
  }
  if (background_) {
    DeleteObject(background_);
    background_ = nullptr;
  }
}

Form* Form::FromHandle(HWND hwnd) { return reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

void Form::Show() {
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}
void Form::Hide() { ShowWindow(hwnd_, SW_HIDE); }
bool Form::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
void Form::Close() {
  if (hwnd_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}
void Form::BringToFront() {
  if (!hwnd_) return;
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd_);
}
void Form::Repaint() {
  if (!hwnd_) return;
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
void Form::Invalidate() {
  if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
void Form::SetCaption(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }
std::wstring Form::Caption() const { return WindowText(hwnd_); }

void Form::CenterOnScreen() {
  RECT r;
  GetWindowRect(hwnd_, &r);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int w = r.right - r.left, h = r.bottom - r.top;
  int x = work.left + ((work.right - work.left) - w) / 2, y = work.top + ((work.bottom - work.top) - h) / 2;
  SetWindowPos(hwnd_, nullptr, x < work.left ? work.left : x, y < work.top ? work.top : y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::ShowModal(HWND owner) {
  modal_ = true;
  modalResult_ = 0;
  bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (owner) EnableWindow(owner, FALSE);
  Show();
  SetForegroundWindow(hwnd_);
  MSG msg;
  while (modalResult_ == 0 && hwnd_) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
      if (modalResult_ == 0) modalResult_ = IDCANCEL;
      break;
    }
    if (!hwnd_ || !IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (owner && ownerWasEnabled) EnableWindow(owner, TRUE);
  if (hwnd_) Hide();
  if (owner) SetActiveWindow(owner);
  modal_ = false;
  return modalResult_;
}

void Form::RouteCommand(HWND control, std::function<void(WORD)> handler) { commands_[control] = std::move(handler); }

UINT Form::AddMenuCommand(std::function<void()> handler) {
  UINT id = nextId_++;
  menuCommands_[id] = std::move(handler);
  return id;
}

UINT Form::AddTimer(Timer* timer) {
  UINT id = nextId_++;
  timers_[id] = timer;
  return id;
}

bool Form::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK Form::StaticProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
    auto* self = static_cast<Form*>(cs->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  }
  Form* self = FromHandle(hwnd);
  if (!self) return DefWindowProcW(hwnd, msg, w, l);
  try {
    return self->Proc(msg, w, l);
  } catch (const std::exception& e) {
    ReportUnhandled(e);
    return 0;
  }
}

LRESULT Form::Proc(UINT msg, WPARAM w, LPARAM l) {
  LRESULT result = 0;
  if (OnMessage(msg, w, l, result)) return result;
  switch (msg) {
    case WM_COMMAND: {
      HWND control = reinterpret_cast<HWND>(l);
      if (control) {
        if (auto it = commands_.find(control); it != commands_.end()) it->second(HIWORD(w));
      } else if (HIWORD(w) == 0 || HIWORD(w) == 1) {
        if (auto it = menuCommands_.find(LOWORD(w)); it != menuCommands_.end()) {
          auto handler = it->second;  // the handler may rebuild the map
          handler();
        }
      }
      return 0;
    }
    case WM_TIMER:
      if (auto it = timers_.find(static_cast<UINT>(w)); it != timers_.end()) {
        it->second->Fire();
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(w);
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(background_);
    }
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd_, &r);
      FillRect(reinterpret_cast<HDC>(w), &r, background_);
      return 1;
    }
    case WM_SHOWWINDOW:
      if (w) OnShow();
      break;
    case WM_SIZE:
      OnResize(LOWORD(l), HIWORD(l));
      return 0;
    case WM_SETCURSOR:
      if (g_busy) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_GETMINMAXINFO:
      if (minSize_.width > 0) {
        auto* mm = reinterpret_cast<MINMAXINFO*>(l);
        mm->ptMinTrackSize.x = Scale(minSize_.width);
        mm->ptMinTrackSize.y = Scale(minSize_.height);
        return 0;
      }
      break;
    case WM_CLOSE:
      if (!OnCloseQuery()) return 0;
      if (modal_) {
        if (modalResult_ == 0) modalResult_ = IDCANCEL;
        return 0;
      }
      OnClose();
      DestroyForm();
      OnDestroyed();
      return 0;
    case WM_DESTROY:
      if (hwnd_) {
        hwnd_ = nullptr;
        OnDestroyed();
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, w, l);
}

void Timer::Attach(Form& form, UINT intervalMs) {
  form_ = &form;
  interval_ = intervalMs;
  id_ = form.AddTimer(this);
}

void Timer::SetEnabled(bool on) {
  if (!form_ || !form_->Handle()) {
    enabled_ = false;
    return;
  }
  if (on) SetTimer(form_->Handle(), id_, interval_, nullptr);
  else KillTimer(form_->Handle(), id_);
  enabled_ = on;
}

void Timer::Fire() {
  if (enabled_ && OnTimer) OnTimer();
}

}  // namespace ui
