// The control layer; see controls.h.
#include "ui/controls.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "core/text.h"
#include "ui/form.h"

namespace ui {

int Scale(int px) {
  static int dpi = [] {
    HDC dc = GetDC(nullptr);
    int d = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return d > 0 ? d : 96;
  }();
  return MulDiv(px, dpi, 96);
}

Font::Font(const wchar_t* face, int pixelHeight, BYTE charset, bool bold, bool italic) {
  font_ = CreateFontW(-Scale(pixelHeight), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE, charset,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

Font::~Font() {
  if (font_) DeleteObject(font_);
}

std::wstring WindowText(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd, s.data(), n + 1);
  s.resize(static_cast<size_t>(n > 0 ? n : 0));
  return s;
}

void Control::CreateWindowed(Form& form, HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style,
                             DWORD exStyle, const Bounds& b) {
  (void)form;
  hwnd_ = CreateWindowExW(exStyle, cls, text, style | WS_CHILD | WS_VISIBLE, Scale(b.left), Scale(b.top),
                          Scale(b.width), Scale(b.height), parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void Control::SetEnabled(bool on) { EnableWindow(hwnd_, on); }
bool Control::Enabled() const { return IsWindowEnabled(hwnd_) != 0; }
void Control::SetVisible(bool on) { ShowWindow(hwnd_, on ? SW_SHOWNA : SW_HIDE); }
bool Control::Visible() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::SetBounds(const Bounds& b) {
  MoveWindow(hwnd_, Scale(b.left), Scale(b.top), Scale(b.width), Scale(b.height), TRUE);
}
void Control::SetFont(const Font& f) { SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(f.Handle()), TRUE); }
void Control::Repaint() {
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
}

void Label::Create(Form& form, HWND parent, const Bounds& b, const std::wstring& caption, DWORD extraStyle) {
  CreateWindowed(form, parent, L"STATIC", caption.c_str(), SS_LEFT | SS_NOPREFIX | extraStyle, 0, b);
}
void Label::SetCaption(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }
std::wstring Label::Caption() const { return WindowText(hwnd_); }
int Label::TextWidth() const {
  std::wstring text = Caption();
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  return size.cx;
}

void Button::Create(Form& form, HWND parent, const Bounds& b, const std::wstring& caption, DWORD extraStyle) {
  CreateWindowed(form, parent, L"BUTTON", caption.c_str(), BS_PUSHBUTTON | WS_TABSTOP | extraStyle, 0, b);
  form.RouteCommand(hwnd_, [this](WORD code) {
    if (code == BN_CLICKED && OnClick) OnClick();
  });
}
void Button::SetCaption(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }
std::wstring Button::Caption() const { return WindowText(hwnd_); }
void Button::SetImage(HICON icon) { SendMessageW(hwnd_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)); }
void Button::Click() {
  if (OnClick) OnClick();
}

void Button::SetHint(const std::wstring& text) {
  hint_ = text;
  if (!tooltip_) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(hwnd_, GA_ROOT),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = GetAncestor(hwnd_, GA_ROOT);
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    ti.lpszText = hint_.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    return;
  }
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.uFlags = TTF_IDISHWND;
  ti.hwnd = GetAncestor(hwnd_, GA_ROOT);
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  ti.lpszText = hint_.data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Edit::Create(Form& form, HWND parent, const Bounds& b, DWORD extraStyle) {
  CreateWindowed(form, parent, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP | extraStyle, WS_EX_CLIENTEDGE, b);
  SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);  // no length limit
}
void Edit::SetText(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }
std::wstring Edit::Text() const { return WindowText(hwnd_); }


void ComboBox::Create(Form& form, HWND parent, const Bounds& b, bool sorted) {
  // The height given is the drop-down's; the field itself follows the font.
  Bounds dropped = b;
  dropped.height = b.height < 160 ? 240 : b.height;
  CreateWindowed(form, parent, L"COMBOBOX", L"",
                 CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | (sorted ? CBS_SORT : 0u), 0, dropped);
  form.RouteCommand(hwnd_, [this](WORD code) {
    if (code == CBN_SELCHANGE && OnChange) OnChange();
  });
}
void ComboBox::Clear() {
  SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
  items_.clear();
}
int ComboBox::Add(const std::wstring& item) {
  int at = static_cast<int>(SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
  if (at >= 0 && at <= static_cast<int>(items_.size())) items_.insert(items_.begin() + at, item);
  return at;
}
int ComboBox::Count() const { return static_cast<int>(items_.size()); }
std::wstring ComboBox::Item(int index) const {
  return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : std::wstring();
}
std::vector<std::wstring> ComboBox::Items() const { return items_; }
int ComboBox::ItemIndex() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)); }
void ComboBox::SetItemIndex(int index) {
  SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index >= 0 && index < Count() ? index : -1), 0);
}
std::wstring ComboBox::Text() const {
  int i = ItemIndex();
  return i >= 0 ? Item(i) : std::wstring();
}
int ComboBox::IndexOfText(const std::wstring& text) const { return core::StringToCaseSelect(text, items_); }
void ComboBox::Choose(int index) {
  SetItemIndex(index);
  if (OnChange) OnChange();
}

void ListBox::Create(Form& form, HWND parent, const Bounds& b, bool sorted) {
  CreateWindowed(form, parent, L"LISTBOX", L"",
                 LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | (sorted ? LBS_SORT : 0u),
                 WS_EX_CLIENTEDGE, b);
  form.RouteCommand(hwnd_, [this](WORD code) {
    if (code == LBN_SELCHANGE && OnClick) OnClick();
    if (code == LBN_DBLCLK && OnDblClick) OnDblClick();
  });
}
void ListBox::Clear() {
  SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
  items_.clear();
}
int ListBox::Add(const std::wstring& item) {
  int at = static_cast<int>(SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
  if (at >= 0 && at <= static_cast<int>(items_.size())) items_.insert(items_.begin() + at, item);
  return at;
}
int ListBox::Count() const { return static_cast<int>(items_.size()); }
std::wstring ListBox::Item(int index) const {
  return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : std::wstring();
}
std::vector<std::wstring> ListBox::Items() const { return items_; }
void ListBox::SetRedraw(bool on) {
  SendMessageW(hwnd_, WM_SETREDRAW, on, 0);
  if (on) InvalidateRect(hwnd_, nullptr, TRUE);
}
int ListBox::ItemIndex() const { return static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)); }
void ListBox::SetItemIndex(int index) {
  SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index >= 0 && index < Count() ? index : -1), 0);
}
int ListBox::IndexOfText(const std::wstring& text) const { return core::StringToCaseSelect(text, items_); }

void Gauge::Create(Form& form, HWND parent, const Bounds& b) {
  CreateWindowed(form, parent, PROGRESS_CLASSW, L"", PBS_SMOOTH, 0, b);
  // Colours apply only without the visual style.
  SetWindowTheme(hwnd_, L"", L"");
  SendMessageW(hwnd_, PBM_SETRANGE32, 0, 100);
}
void Gauge::SetColors(COLORREF background, COLORREF fill) {
  SendMessageW(hwnd_, PBM_SETBKCOLOR, 0, static_cast<LPARAM>(background));
  SendMessageW(hwnd_, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(fill));
}
void Gauge::SetMax(int max) {
  max_ = max;
  SendMessageW(hwnd_, PBM_SETRANGE32, 0, max);
}
void Gauge::SetPosition(int position) {
  if (position < 0) position = 0;
  if (position > max_) position = max_;
  SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}
int Gauge::Position() const { return static_cast<int>(SendMessageW(hwnd_, PBM_GETPOS, 0, 0)); }

namespace {
LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CONTEXTMENU:
      return SendMessageW(GetAncestor(hwnd, GA_ROOT), msg, w, l);
    default:
      return DefWindowProcW(hwnd, msg, w, l);
  }
}

const wchar_t* PanelClass() {
  static const wchar_t* name = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"KestrumPanel";
    RegisterClassExW(&wc);
    return L"KestrumPanel";
  }();
  return name;
}
}  // namespace

void Panel::Create(Form& form, HWND parent, const Bounds& b, DWORD extraStyle) {
  CreateWindowed(form, parent, PanelClass(), L"", WS_CLIPCHILDREN | extraStyle, WS_EX_CONTROLPARENT, b);
}

void Picture::Create(Form& form, HWND parent, const Bounds& b) {
  CreateWindowed(form, parent, L"STATIC", L"", SS_BITMAP | SS_CENTERIMAGE, 0, b);
}
void Picture::SetBitmap(HBITMAP bitmap) {
  SendMessageW(hwnd_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

void Memo::Create(Form& form, HWND parent, const Bounds& b) {
  CreateWindowed(form, parent, L"EDIT", L"", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                 0, b);
  SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
}
void Memo::SetText(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }
std::wstring Memo::Text() const { return WindowText(hwnd_); }

}  // namespace ui
