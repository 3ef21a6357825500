// SET_GAUMESSAGE: a gauge moves with its label in visible steps of 1 every 10 ms, never back
// (except to hide it), and stops at its maximum when that is below the position asked.
#include <windows.h>

#include "app/main_form.h"
#include "platform/errors.h"
#include "platform/process.h"

void Tfm_MAIN_FORM::SET_GAUMESSAGE(ui::Gauge* gauge, ui::Label* label, ui::Form* form, int32_t progress,
                                   const std::wstring& message) {
  if (!gauge || !label) return;
  try {
    label->SetCaption(message);
    label->Repaint();
    if (progress < 1) {
      gauge->SetPosition(progress);
      gauge->SetVisible(false);
      label->SetVisible(false);
    } else {
      if (!gauge->Visible()) {
        gauge->SetVisible(true);
        gauge->Repaint();
        label->SetVisible(true);
        label->Repaint();
      }
      auto step = [&] {
        platform::ProcessMessages();
        gauge->SetPosition(gauge->Position() + 1);
        gauge->Repaint();
        Sleep(10);
      };
      const int32_t target = std::min<int32_t>(progress >= 100 ? 100 : progress, gauge->Max());
      if (progress >= 100) {
        do step();
        while (gauge->Position() < target);
      } else {
        while (gauge->Position() < target) step();
      }
    }
  } catch (const std::exception& e) {
    Log(L"Tfm_MAIN_FORM.SET_GAUMESSAGE:" + platform::MessageOf(e));
  }
  if (form) form->Repaint();
}
