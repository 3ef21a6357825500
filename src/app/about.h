// The About window: the program's logo, name, version and build number from its own version
// resource.
#pragma once

#include <memory>
#include <string>

#include "ui/controls.h"
#include "ui/form.h"

class TfmAbout : public ui::Form {
 public:
  explicit TfmAbout(HWND owner);
  ~TfmAbout() override;

  ui::Picture ProgramIcon;
  ui::Label ProductName, lb_Version, lb_BuildNumb, Bevel2, Copyright;
  ui::Button OKButton;

  void GET_PROGRAM_VERSION(std::wstring& version, std::wstring& build);
  void FormShow();

 protected:
  void OnShow() override { FormShow(); }
  bool OnMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  std::unique_ptr<ui::Font> font_, labelFont_;
  HBITMAP logo_ = nullptr;
};
