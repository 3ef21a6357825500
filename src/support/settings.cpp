// SAVE_SETTINGS: the window's state as the 22 lines of the settings file.
#include "app/main_form.h"
#include "core/settings_lines.h"
#include "support/settings_file.h"

void Tfm_MAIN_FORM::SAVE_SETTINGS() {
  core::SettingsValues v;
  v.country = lbx_COUNTRY_BG.Text();
  v.comPort = cbx_COMPORT.ItemIndex();
  v.baudrate = cbx_Baudrate.ItemIndex();
  v.ipPort = ed_IPPORT.Text();
  v.ipAdr = ed_IPADR.Text();
  v.logical = ed_Logical.Text();
  int device = lbx_DEVICES_2.ItemIndex();
  v.deviceText = device >= 0 ? lbx_DEVICES_2.Item(device) : std::wstring();
  v.commType = rg_COMMTYPE.ItemIndex();
  v.checkUpdatesOnStart = CheckUpdatesOnStart;
  v.devicePosition = device;
  SAVE_CONFIG(core::BuildSettingsText(v));
}
