// The plugin information window; see description_form.h.
#include "plugins/description_form.h"

Tfm_DESCRIPTION::Tfm_DESCRIPTION(HWND owner) {
  font_ = std::make_unique<ui::Font>(L"Times New Roman", 16, RUSSIAN_CHARSET);
  white_ = CreateSolidBrush(RGB(255, 255, 255));
  ui::FormArgs args;
  args.caption = L"Additional information";
  args.clientWidth = 594;
  args.clientHeight = 379;
  args.owner = owner;
  args.style = WS_OVERLAPPEDWINDOW & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  args.className = L"Tfm_DESCRIPTION";
  CreateForm(args);
  mem_Description.Create(*this, Handle(), {0, 0, 594, 379});
  mem_Description.SetFont(*font_);
  fm_DESCRIPTION = this;
}

Tfm_DESCRIPTION::~Tfm_DESCRIPTION() {
  if (fm_DESCRIPTION == this) fm_DESCRIPTION = nullptr;
  DestroyForm();
  DeleteObject(white_);
}

void Tfm_DESCRIPTION::OnResize(int w, int h) {
  if (mem_Description.Handle()) MoveWindow(mem_Description.Handle(), 0, 0, w, h, TRUE);
}

bool Tfm_DESCRIPTION::OnMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  // A read-only edit asks for the static colours: white background, black text.
  if ((msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLOREDIT) && reinterpret_cast<HWND>(l) == mem_Description.Handle()) {
    HDC dc = reinterpret_cast<HDC>(w);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    result = reinterpret_cast<LRESULT>(white_);
    return true;
  }
  return false;
}
