// The plugin information window: a read-only text box with what the selected plugin reports.
#pragma once

#include <memory>

#include "ui/controls.h"
#include "ui/form.h"

class Tfm_DESCRIPTION : public ui::Form {
 public:
  explicit Tfm_DESCRIPTION(HWND owner);
  ~Tfm_DESCRIPTION() override;
  ui::Memo mem_Description;

 protected:
  bool OnMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;
  void OnResize(int w, int h) override;

 private:
  std::unique_ptr<ui::Font> font_;
  HBRUSH white_ = nullptr;
};

inline Tfm_DESCRIPTION* fm_DESCRIPTION = nullptr;

// The text that LOAD_PLUGIN_INFO builds, shown by mn_ADDITIONALClick.
inline std::wstring PLUGIN_INFO_TEXT;
