// The About window; see about.h.
#include "app/about.h"

#include <gdiplus.h>

#include <vector>

#include "platform/process.h"

namespace {
constexpr COLORREF kBackground = RGB(245, 245, 245);

// Decodes the PNG resource onto the window's background colour.
HBITMAP LoadLogo() {
  HRSRC res = FindResourceW(nullptr, MAKEINTRESOURCEW(100), L"PNG");
  if (!res) return nullptr;
  HGLOBAL data = LoadResource(nullptr, res);
  DWORD size = SizeofResource(nullptr, res);
  if (!data || !size) return nullptr;
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return nullptr;
  HBITMAP bitmap = nullptr;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (copy) {
    memcpy(GlobalLock(copy), LockResource(data), size);
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (SUCCEEDED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
      Gdiplus::GpBitmap* image = nullptr;
      if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &image) == Gdiplus::Ok) {
        Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(image, &bitmap, 0xFF000000 | 0xF5F5F5);
        Gdiplus::DllExports::GdipDisposeImage(image);
      }
      stream->Release();
    } else {
      GlobalFree(copy);
    }
  }
  Gdiplus::GdiplusShutdown(token);
  return bitmap;
}
}  // namespace

TfmAbout::TfmAbout(HWND owner) {
  font_ = std::make_unique<ui::Font>(L"Arial", 12, DEFAULT_CHARSET, true, true);
  labelFont_ = std::make_unique<ui::Font>(L"Arial", 12, DEFAULT_CHARSET);
  ui::FormArgs args;
  args.caption = L"About...";
  args.clientWidth = 309;
  args.clientHeight = 168;
  args.owner = owner;
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  args.exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  args.background = kBackground;
  args.className = L"TfmAbout";
  CreateForm(args);
  HWND h = Handle();
  ProgramIcon.Create(*this, h, {3, 4, 116, 100});
  logo_ = LoadLogo();
  if (logo_) ProgramIcon.SetBitmap(logo_);
  ProductName.Create(*this, h, {137, 17, 118, 19}, L"Kestrum - Clients");
  lb_Version.Create(*this, h, {137, 56, 157, 15}, L"");
  lb_BuildNumb.Create(*this, h, {137, 77, 157, 15}, L"");
  Bevel2.Create(*this, h, {8, 123, 293, 2}, L"", SS_ETCHEDHORZ);
  Copyright.Create(*this, h, {8, 135, 190, 15}, L"\u00A9 Kestrum Client developers");
  OKButton.Create(*this, h, {226, 131, 75, 25}, L"OK", BS_DEFPUSHBUTTON);
  OKButton.OnClick = [this] { SetModalResult(IDOK); };
  for (ui::Label* l : {&ProductName, &lb_Version, &lb_BuildNumb, &Copyright}) l->SetFont(*labelFont_);
  OKButton.SetFont(*font_);
}

TfmAbout::~TfmAbout() {
  DestroyForm();
  if (logo_) DeleteObject(logo_);
}

bool TfmAbout::OnMessage(UINT msg, WPARAM w, LPARAM, LRESULT& result) {
  // Enter and Escape close the box like its OK button.
  if (msg == WM_COMMAND && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) && HIWORD(w) == 0) {
    SetModalResult(IDOK);
    result = 0;
    return true;
  }
  return false;
}

void TfmAbout::GET_PROGRAM_VERSION(std::wstring& version, std::wstring& build) {
  version.clear();
  std::wstring path = platform::ExecutablePath();
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  if (size == 0) return;
  std::vector<unsigned char> buffer(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoW(path.c_str(), 0, size, buffer.data()) ||
      !VerQueryValueW(buffer.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info || length == 0)
    return;
  build = std::to_wstring(LOWORD(info->dwFileVersionLS));
  version = std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
            L"." + std::to_wstring(HIWORD(info->dwFileVersionLS));
}

void TfmAbout::FormShow() {
  std::wstring version, build;
  GET_PROGRAM_VERSION(version, build);
  lb_Version.SetCaption(L"Program version: " + version);
  lb_BuildNumb.SetCaption(L"Build number: " + build);
}
