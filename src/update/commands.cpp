// The update commands of the main window, the start-up check and the HTTP work events.
#include "app/main_form.h"
#include "platform/errors.h"
#include "support/err_log.h"
#include "update/upd_progress.h"

void Tfm_MAIN_FORM::StartGeneralUpdateRun() {
  struct Release {
    std::unique_ptr<Tfm_UPD_PROGRESS>& window;
    ~Release() {
      fm_UPD_PROGRESS = nullptr;
      window.reset();
    }
  };
  std::unique_ptr<Tfm_UPD_PROGRESS> window = std::make_unique<Tfm_UPD_PROGRESS>(Handle());
  Release release{window};
  fm_UPD_PROGRESS = window.get();
  window->TRGT_USAGE = tu_CHECK_GENERAL_UPDATES;
  window->TRGT_PRODUCT_ID = L"10001";
  window->TRGT_COUNTRY_NAME = lbx_COUNTRY_BG.Text();
  window->ShowModal(Handle());
}

void Tfm_MAIN_FORM::mn_Kestrum_UPDATESClick() { StartGeneralUpdateRun(); }

void Tfm_MAIN_FORM::mn_CheckUpdatesOnStartClick() {
  mn_CheckUpdatesOnStart.SetChecked(!mn_CheckUpdatesOnStart.Checked());
  CheckUpdatesOnStart = mn_CheckUpdatesOnStart.Checked();
  SAVE_SETTINGS();
}

void Tfm_MAIN_FORM::UPD_TIMER_Timer() {
  UPD_TIMER_.SetEnabled(false);
  if (!CheckUpdatesOnStart) return;
  try {
    StartGeneralUpdateRun();
  } catch (const std::exception& e) {
    Log(L"Tfm_MAIN_FORM.UPD_TIMER_Timer:" + platform::MessageOf(e));
  }
}

void Tfm_MAIN_FORM::IdHTTP1WorkBegin() { ui::SetBusyCursor(true); }

void Tfm_MAIN_FORM::IdHTTP1WorkEnd() { ui::SetBusyCursor(false); }
