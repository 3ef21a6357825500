// The main window: layout, menu, state fields and window events, and the operations its events
// call. The operations are grouped by job in their own files:
//   main_form.cpp          layout, start-up (FormCreate, FormShow, INIT_ENVIRONMENT, APPLY_CONFIG), exits
//   plugins/library.cpp    the plugin library handle
//   plugins/catalog.cpp    countries, plugins and devices
//   plugins/plugin_info.cpp the plugin information text and window
//   plugins/comm_panel.cpp the communication settings panel and the serial-port list
//   plugins/launch.cpp     the Start action
//   support/settings.cpp   SAVE_SETTINGS
//   l10n/lang_support.cpp  language files and the country-change handler
//   update/commands.cpp    update commands, start-up check, gauges, HTTP work events
//   shellexec/shell_execute.cpp, shellexec/help.cpp  shell start and help manuals
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/comm_panel.h"
#include "plugins/catalog_lists.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/menu.h"

class Tdm_;
class TIdHTTP;
namespace plugin_abi {
struct ExchangeBuffer;
}

class Tfm_MAIN_FORM : public ui::Form {
 public:
  explicit Tfm_MAIN_FORM(Tdm_& dm);
  ~Tfm_MAIN_FORM() override;

  // --- state fields (in declaration order) ---
  HMODULE DLLHandle = nullptr;
  int32_t PLGN_ERR = -1;
  std::wstring PLGN_FILENAME;
  std::wstring PLGN_COUNTRY;
  std::wstring PLGN_DEVICENAME;
  int32_t DEVICE_INDEX() const { return FDEVICE_INDEX; }
  void SetDEVICE_INDEX(int32_t value) { FDEVICE_INDEX = value; }
  bool FIRST_TIME = true;
  bool ToExit = false;
  bool CheckUpdatesOnStart = false;
  int32_t PLGN_COMMTYPE = 0;

  // --- controls ---
  ui::Panel pnl_TOP;
  ui::Label lb_Country;
  ui::ComboBox lbx_COUNTRY_BG;
  ui::Panel pnl_RIGHT;
  ui::Label lb_COMMTYPE;
  ui::ComboBox rg_COMMTYPE;
  ui::Label lb_COMPORT;
  ui::ComboBox cbx_COMPORT;
  ui::Label lb_Baudrate;
  ui::ComboBox cbx_Baudrate;
  ui::Label lb_IPADR;
  ui::Edit ed_IPADR;
  ui::Label lb_IPPORT;
  ui::Edit ed_IPPORT;
  ui::Label lb_Logical;
  ui::Edit ed_Logical;
  ui::Label lb_FlowControl;
  ui::ComboBox cbx_FlowControl;
  ui::Button btn_StartPlugin;
  ui::Button btn_Exit;
  ui::Panel Panel1;
  ui::ListBox lbx_DEVICES_2;

  // --- menu ---
  ui::MenuItem MainMenu1;
  ui::MenuItem mn_Commands, mn_StartPlugin, mn_Plugin, N2, mn_CHECKFORUPDATES, mn_Kestrum_UPDATES, N4,
      mn_CheckUpdatesOnStart, N5, Exit1;
  ui::MenuItem mn_HELP1, mn_HELP2, N1, mn_ADDITIONAL, N3, mn_ABOUT;
  ui::MenuItem pop_;  // the device list's own, empty, context menu

  // --- non-visual members ---
  ui::Timer UPD_TIMER_;
  std::unique_ptr<TIdHTTP> IdHTTP1;

  // --- catalog lists ---
  std::unique_ptr<TDLL_LIST> DLL_LIST;
  std::unique_ptr<TDEVICES_LIST> DEVICES_LIST;

  // --- window events ---
  void FormCreate();
  void FormShow();
  void FormClose();
  void FormDestroy();
  void bbtn_ExitClick();
  void Exit1Click();
  void lbx_COUNTRY_BGChange();
  void lbx_DEVICES_2Click();
  void lbx_DEVICES_2DblClick();
  void rg_COMMTYPEChange();
  void mn_ABOUTClick();
  void UPD_TIMER_Timer();
  void bbtn_StartPluginClick();
  void mn_PluginClick();
  void mn_Kestrum_UPDATESClick();
  void mn_CheckUpdatesOnStartClick();
  void mn_HELP2Click();
  void mn_ADDITIONALClick();
  void IdHTTP1WorkBegin();
  void IdHTTP1WorkEnd();

  // --- start-up ---
  bool INIT_ENVIRONMENT();
  void APPLY_CONFIG();

  // --- plugin library (one at a time) ---
  void LoadPluginLibrary(const std::wstring& path);  // releases first; a failed load leaves 0
  void ReleasePluginLibrary();                       // always 0 afterwards; "ERROR FREEING LIB"

  // --- catalog ---
  void ADD_SUPPORTED_COUNTRIES();
  void SCAN_PLUGINS();
  void ADD_DEFAULT_COUNTRIES();
  void LoadInfo(const std::wstring& path);
  void LOAD_COUNTRY(int32_t index);
  void LOAD_COUNTRY_2(const std::wstring& path, const std::wstring& country);
  bool CHECK_PLUGIN();
  bool GET_PLUGIN_COUNTRY();
  bool GET_PLUGIN_DEVICENAME();
  bool GET_PLUGIN_COMMTYPE();
  std::wstring GET_SUPPORTED_DEVICES();
  bool LOAD_DEVICES();
  void SET_FILTER(const std::wstring& text);
  void CALC_DEVICE_INDEX();
  int32_t GET_DEVINDEX_BYNAME(const std::wstring& TRGT_NAME);
  std::wstring GET_DLLNAME_EX1(const std::wstring& TRGT_DEVICE_NAME);
  std::wstring GET_DLLNAME(const std::wstring& TRGT_PLGN_NAME);
  void ENSURE_DEVICE_SELECTED();
  std::wstring PluginFolder() const;

  // --- plugin information ---
  void LOAD_PLUGIN_INFO();

  // --- communication panel ---
  bool SET_COMM_PANEL();
  void APPLY_COMMTYPE();
  void RESET_COMM_PANEL();
  bool CAN_START();
  int32_t GET_COMM_TYPE();
  void FILL_COM_PORTS();
  std::vector<std::wstring> Get_COM_EX();
  int32_t FillCommList(std::vector<std::wstring>& list);
  void GET_DOS_DEVICE_NAMES(std::vector<std::wstring>& list);
  bool PROBE_COM_PORTS(std::vector<std::wstring>& list);
  void FILL_DEFAULT_COM_LIST();
  core::PanelModel ReadPanel() const;
  void WritePanel(const core::PanelModel& m);

  // --- launch ---
  int32_t GET_COM_NUMBER();
  std::string WideStringToAnsiString(const std::wstring& text, UINT codePage);

  // --- settings ---
  void SAVE_SETTINGS();

  // --- update client ---
  // Moves a gauge to TRGT_PROGR in steps of 1 every 10 ms with its label; see update/gauges.cpp.
  void SET_GAUMESSAGE(ui::Gauge* TRGT_GAU, ui::Label* TRGT_LABEL, ui::Form* TRGT_FORM, int32_t TRGT_PROGR,
                      const std::wstring& TRGT_MSG);
  // Creates the update window for a general run, shows it modally and releases it.
  void StartGeneralUpdateRun();

  // --- shell execution ---
  bool MyShellExecute(HWND TRGT_HANDLE, const std::wstring& TRGT_OPERATION, const std::wstring& TRGT_FILENAME,
                      const std::wstring& TRGT_PARAMS, const std::wstring& TRGT_DIR, int32_t SHOW_CMD,
                      bool WaiteFor);
  bool ShellExecuteNoWait(HWND TRGT_HANDLE, const std::wstring& TRGT_OPERATION, const std::wstring& TRGT_FILENAME,
                          const std::wstring& TRGT_PARAMS, const std::wstring& TRGT_DIR, int32_t SHOW_CMD);
  bool ShellExecuteAndWait(HWND TRGT_HANDLE, const std::wstring& TRGT_OPERATION, const std::wstring& TRGT_FILENAME,
                           const std::wstring& TRGT_PARAMS, const std::wstring& TRGT_DIR);
  std::wstring GET_SHELL_ERROR_TEXT(int32_t code);

  // --- language files ---
  std::wstring CALC_LANG_SUPPORT();
  void LOAD_LANG_SUPPORT(const std::wstring& TRGT_LANG_FILE);
  void lbx_COUNTRYChange();

  // Writes a line to the error log; a log that cannot be written never ends the operation that
  // reports to it.
  void Log(const std::wstring& message);

  Tdm_& dm;

 protected:
  void OnShow() override;
  void OnClose() override;
  void OnDestroyed() override;
  void OnResize(int clientWidth, int clientHeight) override;
  bool OnMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  void CreateControls();
  void BuildMenu();
  void LayOut(int clientWidth, int clientHeight);

  int32_t FDEVICE_INDEX = 0;
  bool closed_ = false;
  // The exchange buffer of the library visit under way (LoadInfo, LOAD_COUNTRY_2); null between.
  plugin_abi::ExchangeBuffer* visitBuffer_ = nullptr;
  plugin_abi::ExchangeBuffer& VisitBuffer();
  friend struct CatalogVisit;
  std::unique_ptr<ui::Font> font_, countryFont_, buttonFont_;
  HICON startIcon_ = nullptr, exitIcon_ = nullptr;
};

inline Tfm_MAIN_FORM* fm_MAIN_FORM = nullptr;
