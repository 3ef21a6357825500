// The Start action: save the settings, hide the window, ask the plugin for its communication
// type, build the parameter string from the panel and hand it to ShowPlugin.
#include <cstring>

#include "app/dm.h"
#include "app/application.h"
#include "app/main_form.h"
#include "app/my_dialogs.h"
#include "core/launch_params.h"
#include "core/text.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "plugins/plugin_abi.h"

using namespace plugin_abi;

int32_t Tfm_MAIN_FORM::GET_COM_NUMBER() {
  try {
    return core::ComNumberOf(cbx_COMPORT.Text());
  } catch (...) {
    return -1;
  }
}

std::string Tfm_MAIN_FORM::WideStringToAnsiString(const std::wstring& text, UINT codePage) {
  if (text.empty()) return {};
  try {
    return platform::WideToCodePage(text, codePage, platform::kAnsiConversionFlags);
  } catch (const std::exception& e) {
    Log(L"TFP_BASE.WideStringToAnsiString :" + platform::MessageOf(e));
    return {};
  }
}

void Tfm_MAIN_FORM::bbtn_StartPluginClick() {
  if (lbx_COUNTRY_BG.ItemIndex() < 0 || lbx_DEVICES_2.ItemIndex() < 0) return;
  std::unique_ptr<char[]> buffer(new char[kBufferSize]);
  SAVE_SETTINGS();
  PLGN_FILENAME = GET_DLLNAME_EX1(lbx_DEVICES_2.Item(lbx_DEVICES_2.ItemIndex()));
  if (platform::FileExists(PLGN_FILENAME)) {
    Hide();
    dm.Showmainform1.SetEnabled(false);
    dm.Exit2.SetEnabled(false);
    LoadPluginLibrary(PLGN_FILENAME);
    CALC_DEVICE_INDEX();
    try {
      int32_t type = -1;
      auto getType = Find<GetTypeCommunicationFn>(DLLHandle, kGetTypeCommunication);
      if (!getType) throw EMyException(kMissingExport);
      if (int32_t rc = getType(&type); rc != 0) throw EMyException(rc);
      core::PanelModel panel = ReadPanel();
      std::optional<core::LaunchString> params =
          core::BuildLaunchString(type, panel, lbx_COUNTRY_BG.Text(), DEVICE_INDEX());
      WritePanel(panel);  // the preparations change the fields visibly
      if (params) {
        std::string bytes = WideStringToAnsiString(params->text, params->codePage);
        if (bytes.size() > static_cast<size_t>(kBufferSize)) {
          // A cut string would configure the device wrongly; refuse the launch instead.
          std::wstring why = L"Tfm_MAIN_FORM.bbtn_StartPluginClick :the parameter string has " +
                             std::to_wstring(bytes.size()) + L" bytes, more than the 2048-byte buffer; " +
                             L"the plugin was not started";
          Log(why);
          if (MyDialogs)
            MyDialogs->MyAlert(Handle(),
                               L"The plugin was not started: the connection settings are too long (" +
                                   std::to_wstring(bytes.size()) + L" bytes; at most 2048).",
                               L"", inf_OkBtn);
        } else {
          try {
            auto show = Find<ShowPluginFn>(DLLHandle, kShowPlugin);
            if (!show) throw EMyException(kMissingExport);
            std::memcpy(buffer.get(), bytes.data(), bytes.size());
            PLGN_ERR = -1;
            PLGN_ERR = show(buffer.get(), static_cast<int32_t>(bytes.size()));
            if (PLGN_ERR != 0) throw EMyException(PLGN_ERR);
          } catch (const EMyException&) {
            // The plugin reports its own failures; the launcher says nothing.
          }
        }
      }
    } catch (const std::exception&) {
      // Any failure of the launch ends it silently.
    }
    // Released here also after a failed type query: the library belongs to this launch.
    try {
      if (DLLHandle) ReleasePluginLibrary();
    } catch (const std::exception& e) {
      Log(L"Tfm_MAIN_FORM.bbtn_StartPluginClick :" + platform::MessageOf(e));
    }
  }
  buffer.reset();
  if (ToExit) {
    Application().Terminate();
    return;
  }
  Show();
  dm.Showmainform1.SetEnabled(true);
  dm.Exit2.SetEnabled(true);
  BringToFront();
}
