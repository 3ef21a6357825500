// The control layer: one small class per kind of child control, holding its handle, with typed
// getters and setters and callback members, so that form code reads like the rules it follows.
// Positions and sizes are given in pixels at 96 DPI and scaled to the display.
// Notifications reach a control's callback through its form (Form::RouteCommand).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ui {

class Form;

int Scale(int pixelsAt96Dpi);

class Font {
 public:
  Font() = default;
  Font(const wchar_t* face, int pixelHeight, BYTE charset, bool bold = false, bool italic = false);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  HFONT Handle() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
};

class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  HWND Handle() const { return hwnd_; }
  void SetEnabled(bool on);
  bool Enabled() const;
  void SetVisible(bool on);
  bool Visible() const;
  void SetBounds(const Bounds& b);  // 96-DPI pixels
  void SetFont(const Font& f);
  void Repaint();

 protected:
  void CreateWindowed(Form& form, HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle,
                      const Bounds& b);
  HWND hwnd_ = nullptr;
};

class Label : public Control {
 public:
  void Create(Form& form, HWND parent, const Bounds& b, const std::wstring& caption, DWORD extraStyle = 0);
  void SetCaption(const std::wstring& text);
  std::wstring Caption() const;
  // The caption's width in pixels with the label's font.
  int TextWidth() const;
};

class Button : public Control {
 public:
  void Create(Form& form, HWND parent, const Bounds& b, const std::wstring& caption, DWORD extraStyle = 0);
  void SetCaption(const std::wstring& text);
  std::wstring Caption() const;
  void SetImage(HICON icon);
  // The text shown when the mouse rests on the button.
  void SetHint(const std::wstring& text);
  const std::wstring& Hint() const { return hint_; }
  void Click();  // as if the user clicked it
  std::function<void()> OnClick;

 private:
  HWND tooltip_ = nullptr;
  std::wstring hint_;
};

class Edit : public Control {
 public:
  void Create(Form& form, HWND parent, const Bounds& b, DWORD extraStyle = 0);
  void SetText(const std::wstring& text);
  std::wstring Text() const;
};

// A drop-down list without free text.
class ComboBox : public Control {
 public:
  void Create(Form& form, HWND parent, const Bounds& b, bool sorted = false);
  void Clear();
  int Add(const std::wstring& item);  // position of the new item
  int Count() const;
  std::wstring Item(int index) const;
  std::vector<std::wstring> Items() const;
  int ItemIndex() const;         // -1 when nothing is selected
  void SetItemIndex(int index);  // outside the items: no selection; raises no change event
  std::wstring Text() const;     // the selected item, empty without a selection
  // Whole text, ASCII letter case ignored; -1 when absent.
  int IndexOfText(const std::wstring& text) const;
  // Simulates the user's choice: selects and raises the change event.
  void Choose(int index);
  std::function<void()> OnChange;

 private:
  std::vector<std::wstring> items_;  // the items in list order, for look-ups without messages
};

// A single-selection list.
class ListBox : public Control {
 public:
  void Create(Form& form, HWND parent, const Bounds& b, bool sorted = false);
  void Clear();
  int Add(const std::wstring& item);
  int Count() const;
  std::wstring Item(int index) const;
  std::vector<std::wstring> Items() const;
  int ItemIndex() const;
  void SetItemIndex(int index);
  int IndexOfText(const std::wstring& text) const;
  // Holds the list's drawing while many items change.
  void SetRedraw(bool on);
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;

 private:
  std::vector<std::wstring> items_;  // the items in list order, for look-ups without messages
};

class Gauge : public Control {
 public:
  void Create(Form& form, HWND parent, const Bounds& b);
  void SetColors(COLORREF background, COLORREF fill);
  void SetMax(int max);
  int Max() const { return max_; }
  void SetPosition(int position);  // kept within 0 .. Max
  int Position() const;

 private:
  int max_ = 100;
};

// A container that passes its children's notifications on to the form.
class Panel : public Control {
 public:
  void Create(Form& form, HWND parent, const Bounds& b, DWORD extraStyle = 0);
};

// A still picture (a bitmap that the caller keeps alive).
class Picture : public Control {
 public:
  void Create(Form& form, HWND parent, const Bounds& b);
  void SetBitmap(HBITMAP bitmap);
};

// A multi-line, read-only text box with a vertical scroll bar.
class Memo : public Control {
 public:
  void Create(Form& form, HWND parent, const Bounds& b);
  void SetText(const std::wstring& text);
  std::wstring Text() const;
};

std::wstring WindowText(HWND hwnd);

}  // namespace ui
