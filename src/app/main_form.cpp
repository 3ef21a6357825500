// The main window's layout, start-up sequence and exits; see main_form.h for where the other
// operations live.
#include "app/main_form.h"

#include <windowsx.h>

#include <algorithm>

#include "app/about.h"
#include "app/application.h"
#include "app/dm.h"
#include "core/settings_lines.h"
#include "core/text.h"
#include "l10n/bilingual.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "support/err_log.h"
#include "support/settings_file.h"
#include "support/text_services.h"
#include "update/http_client.h"

namespace {
constexpr int kClientWidth = 629, kClientHeight = 362;
constexpr int kTopHeight = 34, kRightWidth = 306;
constexpr int kRowTop = 8, kRowStep = 31, kLabelLeft = 8, kFieldLeft = 150, kFieldWidth = 148, kRowHeight = 24;
constexpr int kButtonWidth = 290, kButtonHeight = 40;
constexpr BYTE kCyrillic = RUSSIAN_CHARSET;

HICON SmallIcon(int id) {
  int size = GetSystemMetrics(SM_CXSMICON);
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}
}  // namespace

Tfm_MAIN_FORM::Tfm_MAIN_FORM(Tdm_& dataModule) : dm(dataModule) {
  fm_MAIN_FORM = this;
  font_ = std::make_unique<ui::Font>(L"Times New Roman", 16, kCyrillic);
  countryFont_ = std::make_unique<ui::Font>(L"Times New Roman", 13, kCyrillic);
  buttonFont_ = std::make_unique<ui::Font>(L"Times New Roman", 16, kCyrillic, false, true);
  BuildMenu();

  ui::FormArgs args;
  args.caption = L"\"Kestrum - Client\"";
  args.clientWidth = kClientWidth;
  args.clientHeight = kClientHeight;
  args.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  args.exStyle = WS_EX_CONTROLPARENT | WS_EX_COMPOSITED;  // double-buffered drawing
  args.className = L"Tfm_MAIN_FORM";
  args.icon = ProgramIcon(GetSystemMetrics(SM_CXICON));
  args.menu = MainMenu1.BuildBar(*this);
  minSize_ = {600, 420};
  CreateForm(args);
  CreateControls();
  RECT rc;
  GetClientRect(Handle(), &rc);
  LayOut(rc.right, rc.bottom);
  pop_.BuildPopup(*this);

  UPD_TIMER_.Attach(*this, 100);
  UPD_TIMER_.OnTimer = [this] { UPD_TIMER_Timer(); };
  IdHTTP1 = std::make_unique<TIdHTTP>(KESTRUM_UPDATE_BASE_URL);
  IdHTTP1->OnWorkBegin = [this] { IdHTTP1WorkBegin(); };
  IdHTTP1->OnWorkEnd = [this] { IdHTTP1WorkEnd(); };

  FormCreate();
}

Tfm_MAIN_FORM::~Tfm_MAIN_FORM() {
  if (!closed_) FormClose();
  FormDestroy();
  DestroyForm();
  if (startIcon_) DestroyIcon(startIcon_);
  if (exitIcon_) DestroyIcon(exitIcon_);
  if (fm_MAIN_FORM == this) fm_MAIN_FORM = nullptr;
}

void Tfm_MAIN_FORM::BuildMenu() {
  mn_Commands.Init(L"Commands");
  mn_StartPlugin.Init(L"Start ...", false);
  mn_Plugin.Init(L"Plugin");
  N2.Init(L"-", false, true);
  mn_CHECKFORUPDATES.Init(L"Check for...");
  mn_Kestrum_UPDATES.Init(L"Kestrum...");
  N4.Init(L"-", true, true);
  mn_CheckUpdatesOnStart.Init(L"Check for updates on start");
  N5.Init(L"-", true, true);
  Exit1.Init(L"Exit");
  mn_HELP1.Init(L"Help");
  mn_HELP2.Init(L"Help", false);
  N1.Init(L"-", false, true);
  mn_ADDITIONAL.Init(L"Plugin - additional information", false);
  N3.Init(L"-", false, true);
  mn_ABOUT.Init(L"About...");

  mn_StartPlugin.Add(mn_Plugin);
  mn_CHECKFORUPDATES.Add(mn_Kestrum_UPDATES);
  mn_CHECKFORUPDATES.Add(N4);
  mn_CHECKFORUPDATES.Add(mn_CheckUpdatesOnStart);
  for (ui::MenuItem* item : {&mn_StartPlugin, &N2, &mn_CHECKFORUPDATES, &N5, &Exit1}) mn_Commands.Add(*item);
  for (ui::MenuItem* item : {&mn_HELP2, &N1, &mn_ADDITIONAL, &N3, &mn_ABOUT}) mn_HELP1.Add(*item);
  MainMenu1.Add(mn_Commands);
  MainMenu1.Add(mn_HELP1);

  mn_Plugin.OnClick = [this] { mn_PluginClick(); };
  mn_Kestrum_UPDATES.OnClick = [this] { mn_Kestrum_UPDATESClick(); };
  mn_CheckUpdatesOnStart.OnClick = [this] { mn_CheckUpdatesOnStartClick(); };
  Exit1.OnClick = [this] { Exit1Click(); };
  mn_HELP2.OnClick = [this] { mn_HELP2Click(); };
  mn_ADDITIONAL.OnClick = [this] { mn_ADDITIONALClick(); };
  mn_ABOUT.OnClick = [this] { mn_ABOUTClick(); };
}

void Tfm_MAIN_FORM::CreateControls() {
  HWND form = Handle();
  pnl_TOP.Create(*this, form, {0, 0, kClientWidth, kTopHeight});
  lb_Country.Create(*this, pnl_TOP.Handle(), {8, 9, 150, 18}, L"Please choose country:");
  lbx_COUNTRY_BG.Create(*this, pnl_TOP.Handle(), {164, 5, kClientWidth - 172, 300}, true);

  pnl_RIGHT.Create(*this, form, {kClientWidth - kRightWidth, kTopHeight, kRightWidth, kClientHeight - kTopHeight});
  HWND right = pnl_RIGHT.Handle();
  struct Row {
    ui::Label* label;
    const wchar_t* caption;
  } rows[] = {{&lb_COMMTYPE, L"Communication type:"}, {&lb_COMPORT, L"COM Port:"},  {&lb_Baudrate, L"Baudrate:"},
              {&lb_IPADR, L"IP Address:"},            {&lb_IPPORT, L"Port:"},      {&lb_Logical, L"Logical number:"},
              {&lb_FlowControl, L"Flow control:"}};
  for (int i = 0; i < 7; ++i)
    rows[i].label->Create(*this, right, {kLabelLeft, kRowTop + i * kRowStep + 3, kFieldLeft - kLabelLeft - 4, 20},
                          rows[i].caption);
  auto field = [](int row) { return ui::Bounds{kFieldLeft, kRowTop + row * kRowStep, kFieldWidth, kRowHeight}; };
  rg_COMMTYPE.Create(*this, right, field(0));
  cbx_COMPORT.Create(*this, right, field(1));
  cbx_Baudrate.Create(*this, right, field(2));
  ed_IPADR.Create(*this, right, field(3));
  ed_IPPORT.Create(*this, right, field(4));
  ed_Logical.Create(*this, right, field(5));
  cbx_FlowControl.Create(*this, right, field(6));
  for (const auto& item : core::kCommTypeItems) rg_COMMTYPE.Add(item);
  for (const auto& item : core::DefaultComPortItems()) cbx_COMPORT.Add(item);
  cbx_COMPORT.SetItemIndex(0);
  for (const auto& item : core::kBaudrateItems) cbx_Baudrate.Add(item);
  cbx_Baudrate.SetItemIndex(7);
  for (const auto& item : core::kFlowControlItems) cbx_FlowControl.Add(item);
  cbx_FlowControl.SetItemIndex(0);

  int buttonsTop = kRowTop + 7 * kRowStep + 8;
  btn_StartPlugin.Create(*this, right, {8, buttonsTop, kButtonWidth, kButtonHeight}, L"Start");
  btn_Exit.Create(*this, right, {8, buttonsTop + kButtonHeight + 8, kButtonWidth, kButtonHeight}, L"Exit");
  startIcon_ = SmallIcon(2);
  exitIcon_ = SmallIcon(3);
  btn_StartPlugin.SetImage(startIcon_);
  btn_Exit.SetImage(exitIcon_);

  Panel1.Create(*this, form, {0, kTopHeight, kClientWidth - kRightWidth, kClientHeight - kTopHeight});
  lbx_DEVICES_2.Create(*this, Panel1.Handle(), {0, 0, kClientWidth - kRightWidth, kClientHeight - kTopHeight}, true);

  for (ui::Control* c : std::initializer_list<ui::Control*>{
           &lb_Country, &lb_COMMTYPE, &rg_COMMTYPE, &lb_COMPORT, &cbx_COMPORT, &lb_Baudrate, &cbx_Baudrate, &lb_IPADR,
           &ed_IPADR, &lb_IPPORT, &ed_IPPORT, &lb_Logical, &ed_Logical, &lb_FlowControl, &cbx_FlowControl,
           &lbx_DEVICES_2})
    c->SetFont(*font_);
  lbx_COUNTRY_BG.SetFont(*countryFont_);
  btn_StartPlugin.SetFont(*buttonFont_);
  btn_Exit.SetFont(*buttonFont_);

  btn_StartPlugin.OnClick = [this] { bbtn_StartPluginClick(); };
  btn_Exit.OnClick = [this] { bbtn_ExitClick(); };
  lbx_COUNTRY_BG.OnChange = [this] { lbx_COUNTRY_BGChange(); };
  lbx_DEVICES_2.OnClick = [this] { lbx_DEVICES_2Click(); };
  lbx_DEVICES_2.OnDblClick = [this] { lbx_DEVICES_2DblClick(); };
  rg_COMMTYPE.OnChange = [this] { rg_COMMTYPEChange(); };
}

void Tfm_MAIN_FORM::LayOut(int w, int h) {
  const int top = ui::Scale(kTopHeight), right = ui::Scale(kRightWidth);
  MoveWindow(pnl_TOP.Handle(), 0, 0, w, top, TRUE);
  // The label fits its caption (a language file may lengthen it); the list takes the rest.
  const int labelWidth = lb_Country.TextWidth() + ui::Scale(4);
  MoveWindow(lb_Country.Handle(), ui::Scale(8), ui::Scale(9), labelWidth, ui::Scale(18), TRUE);
  const int listLeft = ui::Scale(8) + labelWidth + ui::Scale(6);
  MoveWindow(lbx_COUNTRY_BG.Handle(), listLeft, ui::Scale(5), std::max<int>(40, w - listLeft - ui::Scale(8)),
             ui::Scale(300), TRUE);
  int below = std::max(0, h - top);
  MoveWindow(pnl_RIGHT.Handle(), std::max(0, w - right), top, right, below, TRUE);
  MoveWindow(Panel1.Handle(), 0, top, std::max(0, w - right), below, TRUE);
  MoveWindow(lbx_DEVICES_2.Handle(), 0, 0, std::max(0, w - right), below, TRUE);
}

void Tfm_MAIN_FORM::OnResize(int w, int h) {
  if (Panel1.Handle()) LayOut(w, h);
}

bool Tfm_MAIN_FORM::OnMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  if (msg == WM_CONTEXTMENU) {
    // The device list has its own, empty, menu; everywhere else the tray menu appears.
    HWND target = reinterpret_cast<HWND>(w);
    POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    if (p.x == -1 && p.y == -1) GetCursorPos(&p);
    if (target == lbx_DEVICES_2.Handle()) pop_.TrackPopup(Handle(), p);
    else dm.pomn_TRAY.TrackPopup(Handle(), p);
    result = 0;
    return true;
  }
  return false;
}

void Tfm_MAIN_FORM::OnShow() { FormShow(); }

void Tfm_MAIN_FORM::OnClose() {
  FormClose();
}

void Tfm_MAIN_FORM::OnDestroyed() { Application().Terminate(); }

void Tfm_MAIN_FORM::Log(const std::wstring& message) { LogError(message); }

void Tfm_MAIN_FORM::FormCreate() {
  FIRST_TIME = true;
  CheckUpdatesOnStart = false;
  ToExit = false;
  DLLHandle = nullptr;
  DLL_LIST = std::make_unique<TDLL_LIST>();
  DEVICES_LIST = std::make_unique<TDEVICES_LIST>();
  FILL_COM_PORTS();
  LANG_IS_BG = false;
  CONFIG_FILE_NAME_1 = L"Config.txt";
  CONFIG_FILE_NAME_2 = L"Config.txt";
}

void Tfm_MAIN_FORM::FormShow() {
  if (!FIRST_TIME) return;
  FIRST_TIME = false;
  try {
    if (INIT_ENVIRONMENT()) {
      ADD_SUPPORTED_COUNTRIES();
      if (LOAD_CONFIG()) APPLY_CONFIG();
      lbx_COUNTRYChange();
      if (CONFIG_LINES && !CONFIG_LINES->empty()) APPLY_CONFIG();
    }
  } catch (const std::exception&) {
    // The start-up work ends here; the window stays usable with what was done.
  }
  UPD_TIMER_.SetEnabled(true);
}

bool Tfm_MAIN_FORM::INIT_ENVIRONMENT() {
  try {
    std::wstring appData = dm.JvCIE_.AppData();
    std::wstring documents = dm.JvCIE_.Personal();
    INIT_ERR_SUPPORT(Handle(), Application().Title, documents, appData);
    FORCE_LOCAL_FORMATS();
    std::wstring tarvik = core::IncludeTrailingBackslash(appData) + L"Tarvik";
    if (appData.empty()) return false;
    platform::ForceDirectories(tarvik);
    return platform::DirectoryExists(tarvik);
  } catch (const std::exception&) {
    return false;
  }
}

void Tfm_MAIN_FORM::APPLY_CONFIG() {
  if (CONFIG_LINES && !CONFIG_LINES->empty()) {
    core::SettingsRestore r = core::ReadSettingsLines(*CONFIG_LINES);
    if (r.comPort) cbx_COMPORT.SetItemIndex(*r.comPort);
    if (r.baudrate) cbx_Baudrate.SetItemIndex(*r.baudrate);
    if (r.ipPort) ed_IPPORT.SetText(*r.ipPort);
    if (r.ipAdr) ed_IPADR.SetText(*r.ipAdr);
    if (r.logical) ed_Logical.SetText(*r.logical);
    if (r.commType) rg_COMMTYPE.SetItemIndex(*r.commType);
    if (r.checkUpdatesOnStart) CheckUpdatesOnStart = *r.checkUpdatesOnStart;
    if (r.devicePosition) lbx_DEVICES_2.SetItemIndex(*r.devicePosition);
    if (r.completed) {
      mn_CheckUpdatesOnStart.SetChecked(CheckUpdatesOnStart);
      if (r.country) {
        int i = lbx_COUNTRY_BG.IndexOfText(*r.country);
        if (i >= 0) lbx_COUNTRY_BG.SetItemIndex(i);
      }
      if (r.deviceName) {
        if (r.deviceName->empty()) {
          lbx_DEVICES_2.SetItemIndex(-1);
        } else {
          lbx_DEVICES_2.SetItemIndex(lbx_DEVICES_2.IndexOfText(*r.deviceName));
          SET_COMM_PANEL();
        }
      }
    }
  }
  btn_StartPlugin.SetEnabled(CAN_START());
}

void Tfm_MAIN_FORM::FormClose() {
  closed_ = true;
  try {
    if (DLLHandle) ReleasePluginLibrary();
  } catch (const std::exception& e) {
    Log(L"Tfm_MAIN_FORM.FormClose :" + platform::MessageOf(e));
  }
  if (DLL_LIST) DLL_LIST->Clear();
  if (DEVICES_LIST) DEVICES_LIST->Clear();
}

void Tfm_MAIN_FORM::FormDestroy() {
  DLL_LIST.reset();
  DEVICES_LIST.reset();
}

void Tfm_MAIN_FORM::bbtn_ExitClick() {
  ToExit = true;
  Close();
}

void Tfm_MAIN_FORM::Exit1Click() { bbtn_ExitClick(); }

void Tfm_MAIN_FORM::lbx_COUNTRY_BGChange() { lbx_COUNTRYChange(); }

void Tfm_MAIN_FORM::lbx_DEVICES_2Click() { SET_COMM_PANEL(); }

void Tfm_MAIN_FORM::lbx_DEVICES_2DblClick() {
  CALC_DEVICE_INDEX();
  bbtn_StartPluginClick();
}

void Tfm_MAIN_FORM::rg_COMMTYPEChange() { APPLY_COMMTYPE(); }

void Tfm_MAIN_FORM::mn_PluginClick() { bbtn_StartPluginClick(); }

void Tfm_MAIN_FORM::mn_ABOUTClick() {
  TfmAbout about(Handle());
  about.ShowModal(Handle());
}
