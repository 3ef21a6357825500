// The update commands of the main window, the start-up check and the HTTP work events.
#include "app/main_form.h"
#include "platform/errors.h"

void Tfm_MAIN_FORM::mn_Kestrum_UPDATESClick() {}

void Tfm_MAIN_FORM::mn_CheckUpdatesOnStartClick() {
  mn_CheckUpdatesOnStart.SetChecked(!mn_CheckUpdatesOnStart.Checked());
  CheckUpdatesOnStart = mn_CheckUpdatesOnStart.Checked();
  SAVE_SETTINGS();
}

void Tfm_MAIN_FORM::UPD_TIMER_Timer() { UPD_TIMER_.SetEnabled(false); }

void Tfm_MAIN_FORM::IdHTTP1WorkBegin() { SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }

void Tfm_MAIN_FORM::IdHTTP1WorkEnd() { SetCursor(LoadCursorW(nullptr, IDC_ARROW)); }
