// The update window and its gauges; see upd_progress.h.
#include "update/upd_progress.h"

#include "app/main_form.h"
#include "core/text.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "support/err_log.h"

namespace {
constexpr COLORREF kGaugeBackground = RGB(128, 255, 128);  // 8454016
constexpr COLORREF kGaugeFill = RGB(117, 186, 255);        // 16759413
}  // namespace

Tfm_UPD_PROGRESS::Tfm_UPD_PROGRESS(HWND owner) {
  font_ = std::make_unique<ui::Font>(L"Times New Roman", 15, RUSSIAN_CHARSET);
  ui::FormArgs args;
  args.caption = L"Check for updates";
  args.clientWidth = 495;
  args.clientHeight = 117;
  args.owner = owner;
  args.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  args.exStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
  args.className = L"Tfm_UPD_PROGRESS";
  CreateForm(args);
  Panel1.Create(*this, Handle(), {0, 0, 495, 117}, 0);
  SetWindowLongW(Panel1.Handle(), GWL_EXSTYLE, GetWindowLongW(Panel1.Handle(), GWL_EXSTYLE) | WS_EX_STATICEDGE);
  HWND p = Panel1.Handle();
  lb_GAU1MESS.Create(*this, p, {13, 10, 471, 17}, L"...");
  gau_1_.Create(*this, p, {13, 27, 471, 15});
  lb_GAU2MESS.Create(*this, p, {13, 58, 471, 17}, L"...");
  gau_2_.Create(*this, p, {13, 75, 471, 15});
  for (ui::Gauge* g : {&gau_1_, &gau_2_}) {
    g->SetColors(kGaugeBackground, kGaugeFill);
    g->SetVisible(false);
  }
  for (ui::Label* l : {&lb_GAU1MESS, &lb_GAU2MESS}) {
    l->SetFont(*font_);
    l->SetVisible(false);
  }
  Timer1.Attach(*this, 300);
  Timer1.OnTimer = [this] { Timer1Timer(); };
  FormCreate();
}

Tfm_UPD_PROGRESS::~Tfm_UPD_PROGRESS() { DestroyForm(); }

void Tfm_UPD_PROGRESS::OnResize(int w, int h) {
  if (!Panel1.Handle()) return;
  MoveWindow(Panel1.Handle(), 0, 0, w, h, TRUE);
  const int width = std::max(10, w - ui::Scale(24));
  for (HWND c : {lb_GAU1MESS.Handle(), gau_1_.Handle(), lb_GAU2MESS.Handle(), gau_2_.Handle()}) {
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, Panel1.Handle(), reinterpret_cast<POINT*>(&r), 2);
    MoveWindow(c, r.left, r.top, width, r.bottom - r.top, TRUE);
  }
}

void Tfm_UPD_PROGRESS::Overall(int32_t progress, const std::wstring& text) {
  if (fm_MAIN_FORM) fm_MAIN_FORM->SET_GAUMESSAGE(&gau_1_, &lb_GAU1MESS, this, progress, text);
}

void Tfm_UPD_PROGRESS::Download(int32_t progress, const std::wstring& text) {
  if (fm_MAIN_FORM) fm_MAIN_FORM->SET_GAUMESSAGE(&gau_2_, &lb_GAU2MESS, this, progress, text);
}

void Tfm_UPD_PROGRESS::FormCreate() {
  TRGT_USAGE = tu_UNKNOWN;
  Overall(0, L"");
  Download(0, L"");
  TRGT_PRODUCT_ID.clear();
  TRGT_COUNTRY_NAME.clear();
  TRGT_PROGRUPDNAME.clear();
  ToClose = false;
}

void Tfm_UPD_PROGRESS::FormShow() { Timer1.SetEnabled(true); }

bool Tfm_UPD_PROGRESS::FormCloseQuery() { return ToClose; }

void Tfm_UPD_PROGRESS::Timer1Timer() {
  Timer1.SetEnabled(false);
  try {
    if (TRGT_USAGE == tu_CHECK_GENERAL_UPDATES) {
      CHECK_FOR_GENERAL_UPDATES();
    } else if (TRGT_USAGE == tu_UNKNOWN) {
      Overall(100, L"");
      Download(100, L"");
      Overall(0, L"");
      Download(0, L"");
    }
  } catch (const std::exception& e) {
    LogError(L"Tfm_UPD_PROGRESS.Timer1Timer:" + platform::MessageOf(e));
  }
  ToClose = true;
  Close();
}

std::wstring Tfm_UPD_PROGRESS::TempPathOf(const std::wstring& fileName) const {
  return platform::TempFolder() + L"\\" + core::ExtractFileName(fileName);
}
