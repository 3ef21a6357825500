// Menu items; see menu.h.
#include "ui/menu.h"

#include "ui/form.h"

namespace ui {

MenuItem::~MenuItem() {
  if (ownsSubmenu_ && submenu_) DestroyMenu(submenu_);
}

void MenuItem::Init(const std::wstring& caption, bool visible, bool separator) {
  caption_ = caption;
  visible_ = visible;
  separator_ = separator;
}

std::vector<const MenuItem*> MenuItem::ShownChildren() const {
  std::vector<const MenuItem*> shown;
  for (const MenuItem* c : children_)
    if (c->visible_) shown.push_back(c);
  return shown;
}

HMENU MenuItem::BuildBar(Form& form) {
  submenu_ = CreateMenu();
  FillInto(form, submenu_);
  return submenu_;  // the window owns a menu bar
}

HMENU MenuItem::BuildPopup(Form& form) {
  submenu_ = CreatePopupMenu();
  ownsSubmenu_ = true;
  FillInto(form, submenu_);
  return submenu_;
}

void MenuItem::FillInto(Form& form, HMENU menu) {
  for (MenuItem* c : children_) {
    if (!c->visible_) continue;
    c->owner_ = menu;
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof(mi);
    if (c->separator_) {
      mi.fMask = MIIM_FTYPE;
      mi.fType = MFT_SEPARATOR;
    } else {
      MenuItem* item = c;
      c->id_ = form.AddMenuCommand([item] { item->Click(); });
      mi.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
      mi.wID = c->id_;
      mi.dwTypeData = c->caption_.data();
      mi.fState = (c->checked_ ? MFS_CHECKED : 0u) | (c->enabled_ ? MFS_ENABLED : MFS_DISABLED);
      if (!c->children_.empty()) {
        c->submenu_ = CreatePopupMenu();
        c->FillInto(form, c->submenu_);
        mi.fMask |= MIIM_SUBMENU;
        mi.hSubMenu = c->submenu_;
      }
    }
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mi);
  }
}

void MenuItem::Refresh() {
  if (!owner_ || separator_) return;
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof(mi);
  mi.fMask = MIIM_STRING | MIIM_STATE;
  mi.dwTypeData = caption_.data();
  mi.fState = (checked_ ? MFS_CHECKED : 0u) | (enabled_ ? MFS_ENABLED : MFS_DISABLED);
  SetMenuItemInfoW(owner_, id_, FALSE, &mi);
}

MenuItem* MenuItem::FindById(UINT id) {
  for (MenuItem* c : children_) {
    if (c->visible_ && !c->separator_ && c->id_ == id) return c;
    if (MenuItem* f = c->FindById(id)) return f;
  }
  return nullptr;
}

void MenuItem::TrackPopup(HWND owner, POINT at) {
  if (!submenu_) return;
  SetForegroundWindow(owner);
  UINT id = static_cast<UINT>(
      TrackPopupMenu(submenu_, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (MenuItem* item = id ? FindById(id) : nullptr)
    if (item->enabled_) item->Click();
}

void MenuItem::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  Refresh();
}

void MenuItem::SetChecked(bool on) {
  checked_ = on;
  Refresh();
}

void MenuItem::SetEnabled(bool on) {
  enabled_ = on;
  Refresh();
}

}  // namespace ui
