// The communication settings panel: the device's type sets the fields up by the table in
// core/comm_panel, and the serial-port list shows the ports present on the machine.
#include <algorithm>

#include "app/main_form.h"
#include "core/text.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "plugins/plugin_abi.h"

using namespace plugin_abi;

core::PanelModel Tfm_MAIN_FORM::ReadPanel() const {
  core::PanelModel m;
  auto combo = [](const ui::ComboBox& c, core::ComboState& s) {
    s.items = c.Items();
    s.index = c.ItemIndex();
    s.enabled = c.Enabled();
  };
  auto edit = [](const ui::Edit& e, core::EditState& s) {
    s.text = e.Text();
    s.enabled = e.Enabled();
  };
  combo(rg_COMMTYPE, m.commType);
  combo(cbx_COMPORT, m.comPort);
  combo(cbx_Baudrate, m.baudrate);
  combo(cbx_FlowControl, m.flowControl);
  edit(ed_IPADR, m.ipAdr);
  edit(ed_IPPORT, m.ipPort);
  edit(ed_Logical, m.logical);
  m.lbComPortEnabled = lb_COMPORT.Enabled();
  m.lbBaudrateEnabled = lb_Baudrate.Enabled();
  m.lbIpAdrEnabled = lb_IPADR.Enabled();
  m.lbIpPortEnabled = lb_IPPORT.Enabled();
  m.lbLogicalEnabled = lb_Logical.Enabled();
  m.lbFlowControlEnabled = lb_FlowControl.Enabled();
  return m;
}

void Tfm_MAIN_FORM::WritePanel(const core::PanelModel& m) {
  auto combo = [](ui::ComboBox& c, const core::ComboState& s) {
    if (c.ItemIndex() != s.index) c.SetItemIndex(s.index);
    c.SetEnabled(s.enabled);
  };
  auto edit = [](ui::Edit& e, const core::EditState& s) {
    if (e.Text() != s.text) e.SetText(s.text);
    e.SetEnabled(s.enabled);
  };
  combo(rg_COMMTYPE, m.commType);
  combo(cbx_COMPORT, m.comPort);
  combo(cbx_Baudrate, m.baudrate);
  combo(cbx_FlowControl, m.flowControl);
  edit(ed_IPADR, m.ipAdr);
  edit(ed_IPPORT, m.ipPort);
  edit(ed_Logical, m.logical);
  lb_COMPORT.SetEnabled(m.lbComPortEnabled);
  lb_Baudrate.SetEnabled(m.lbBaudrateEnabled);
  lb_IPADR.SetEnabled(m.lbIpAdrEnabled);
  lb_IPPORT.SetEnabled(m.lbIpPortEnabled);
  lb_Logical.SetEnabled(m.lbLogicalEnabled);
  lb_FlowControl.SetEnabled(m.lbFlowControlEnabled);
}

bool Tfm_MAIN_FORM::SET_COMM_PANEL() {
  if (lbx_DEVICES_2.Count() == 0 || lbx_DEVICES_2.ItemIndex() < 0) return false;
  rg_COMMTYPE.SetEnabled(false);
  try {
    PLGN_COMMTYPE = GET_COMM_TYPE();
    core::PanelModel m = ReadPanel();
    core::ApplyCommTypeRow(m, PLGN_COMMTYPE);
    WritePanel(m);
    LOAD_PLUGIN_INFO();
  } catch (const std::exception& e) {
    Log(L" :" + platform::MessageOf(e));
  }
  btn_StartPlugin.SetEnabled(CAN_START());
  return lbx_DEVICES_2.Count() > 0;
}

void Tfm_MAIN_FORM::APPLY_COMMTYPE() {
  core::PanelModel m = ReadPanel();
  core::ApplyCommType(m, PLGN_COMMTYPE);
  WritePanel(m);
}

void Tfm_MAIN_FORM::RESET_COMM_PANEL() {
  core::PanelModel m = ReadPanel();
  core::ResetCommPanel(m);
  WritePanel(m);
}

bool Tfm_MAIN_FORM::CAN_START() {
  try {
    return lbx_COUNTRY_BG.ItemIndex() >= 0 && lbx_DEVICES_2.ItemIndex() >= 0;
  } catch (...) {
    return false;
  }
}

int32_t Tfm_MAIN_FORM::GET_COMM_TYPE() {
  if (lbx_COUNTRY_BG.ItemIndex() < 0) return -1;
  PLGN_FILENAME = GET_DLLNAME_EX1(lbx_DEVICES_2.Item(lbx_DEVICES_2.ItemIndex()));
  if (!platform::FileExists(PLGN_FILENAME)) return -1;
  LoadPluginLibrary(PLGN_FILENAME);
  int32_t type = -1;
  int32_t rc = kMissingExport;
  if (auto fn = Find<GetTypeCommunicationFn>(DLLHandle, kGetTypeCommunication)) rc = fn(&type);
  ReleasePluginLibrary();
  if (rc != 0) throw EMyException(rc);
  return type;
}

void Tfm_MAIN_FORM::FILL_COM_PORTS() {
  cbx_COMPORT.Clear();
  try {
    for (const std::wstring& port : Get_COM_EX()) cbx_COMPORT.Add(port);
  } catch (const std::exception&) {
  }
  if (cbx_COMPORT.Count() == 0) FILL_DEFAULT_COM_LIST();
}

void Tfm_MAIN_FORM::FILL_DEFAULT_COM_LIST() {
  cbx_COMPORT.Clear();
  for (const std::wstring& port : core::DefaultComPortItems()) cbx_COMPORT.Add(port);
}

std::vector<std::wstring> Tfm_MAIN_FORM::Get_COM_EX() {
  try {
    std::vector<std::wstring> result;
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);  // 276 bytes
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&version);
#pragma GCC diagnostic pop
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
      std::vector<std::wstring> list;
      FillCommList(list);
      result = list;
    } else {
      PROBE_COM_PORTS(result);
    }
    return result;
  } catch (const std::exception& e) {
    throw platform::Exception(L"Exception in method \"Get_COM_EX\":" + platform::MessageOf(e));
  }
}

int32_t Tfm_MAIN_FORM::FillCommList(std::vector<std::wstring>& list) {
  try {
    list.clear();
    std::vector<std::wstring> names;
    GET_DOS_DEVICE_NAMES(names);
    for (int n = 1; n <= 255; ++n) {
      std::wstring name = L"COM" + std::to_wstring(n);
      if (core::StringToCaseSelect(name, names) >= 0) list.push_back(L"COM " + std::to_wstring(n));
    }
    return static_cast<int32_t>(list.size());
  } catch (const std::exception& e) {
    throw platform::Exception(L"Exception in method \"FillCommList\":" + platform::MessageOf(e));
  }
}

void Tfm_MAIN_FORM::GET_DOS_DEVICE_NAMES(std::vector<std::wstring>& list) {
  std::vector<wchar_t> buffer(65535 / sizeof(wchar_t), L'\0');
  DWORD n = 0;
  for (;;) {
    n = QueryDosDeviceW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n != 0) break;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || buffer.size() > (64u << 20)) {
      list.clear();
      return;
    }
    buffer.assign(buffer.size() * 2, L'\0');
  }
  std::vector<std::wstring> names;
  for (DWORD i = 0; i < n && buffer[i];) {
    std::wstring name(&buffer[i]);
    i += static_cast<DWORD>(name.size()) + 1;
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  list = std::move(names);
}

bool Tfm_MAIN_FORM::PROBE_COM_PORTS(std::vector<std::wstring>& list) {
  list.clear();
  try {
    for (int n = 1; n <= 256; ++n) {
      std::wstring name = L"\\\\.\\COM" + std::to_wstring(n);
      HANDLE h = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        list.push_back(L"COM " + std::to_wstring(n));
      }
    }
    return !list.empty();
  } catch (...) {
    return false;
  }
}
