// Menus as a tree of items that remember caption, visibility, tick and enabled state. Windows
// menus have no hidden items, so a hidden item is simply left out of the built menu; its
// caption can still be set and is kept for the item.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ui {

class Form;

class MenuItem {
 public:
  MenuItem() = default;
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;
  ~MenuItem();

  // A command (or submenu) item; `separator` makes a separator line.
  void Init(const std::wstring& caption, bool visible = true, bool separator = false);
  void Add(MenuItem& child) { children_.push_back(&child); }

  void SetCaption(const std::wstring& caption);
  const std::wstring& Caption() const { return caption_; }
  bool Visible() const { return visible_; }
  void SetChecked(bool on);
  bool Checked() const { return checked_; }
  void SetEnabled(bool on);
  bool Enabled() const { return enabled_; }
  bool IsSeparator() const { return separator_; }
  const std::vector<MenuItem*>& Children() const { return children_; }
  UINT Id() const { return id_; }

  // Builds the item's children into a menu bar or a popup menu; commands route through `form`.
  HMENU BuildBar(Form& form);
  HMENU BuildPopup(Form& form);
  // The children as the user sees them: visible items only, in order.
  std::vector<const MenuItem*> ShownChildren() const;

  std::function<void()> OnClick;
  void Click() {
    if (OnClick) OnClick();
  }
  // The built item with this command id among the descendants, or nullptr.
  MenuItem* FindById(UINT id);
  // Shows this item's built popup at the point and carries out the chosen command.
  void TrackPopup(HWND owner, POINT at);
  HMENU Submenu() const { return submenu_; }

 private:
  void FillInto(Form& form, HMENU menu);
  void Refresh();

  std::wstring caption_;
  bool visible_ = true, checked_ = false, enabled_ = true, separator_ = false;
  std::vector<MenuItem*> children_;
  HMENU owner_ = nullptr;    // the menu that holds this item, once built
  HMENU submenu_ = nullptr;  // this item's own menu, when it has children
  bool ownsSubmenu_ = false;
  UINT id_ = 0;
};

}  // namespace ui
