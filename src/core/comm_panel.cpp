// The per-type panel table, kept as data; see comm_panel.h.
#include "core/comm_panel.h"

#include <array>

#include "core/text.h"

namespace core {

const std::vector<std::wstring> kCommTypeItems = {L"RS232", L"TCP/IP"};
const std::vector<std::wstring> kBaudrateItems = {L"1200",  L"2400",  L"4800",  L"9600",
                                                  L"19200", L"38400", L"57600", L"115200"};
const std::vector<std::wstring> kFlowControlItems = {L"None", L"Xon/Xoff", L"RTS/CTS", L"DTR/DSR"};

std::vector<std::wstring> DefaultComPortItems() {
  std::vector<std::wstring> items;
  for (int n = 1; n <= 28; ++n) items.push_back(L"COM " + std::to_wstring(n));
  return items;
}

std::wstring ComboState::Text() const { return (index >= 0 && index < Count()) ? items[index] : std::wstring(); }

PanelModel PanelModel::Initial() {
  PanelModel m;
  m.commType.items = kCommTypeItems;
  m.comPort.items = DefaultComPortItems();
  m.comPort.index = 0;
  m.baudrate.items = kBaudrateItems;
  m.baudrate.index = 7;
  m.flowControl.items = kFlowControlItems;
  m.flowControl.index = 0;
  return m;
}

void ApplyLogicalNumberDefault(EditState& logical) {
  if (IsBlank(logical.text)) logical.text = L"1";
  if (!IsWholeDecimal(logical.text)) logical.text = L"1";
}

namespace {

void SetSerial(PanelModel& m, bool on) { m.lbComPortEnabled = m.comPort.enabled = on; }
void SetBaud(PanelModel& m, bool on) { m.lbBaudrateEnabled = m.baudrate.enabled = on; }
void SetAddrPort(PanelModel& m, bool on) {
  m.lbIpAdrEnabled = m.ipAdr.enabled = m.lbIpPortEnabled = m.ipPort.enabled = on;
}
void SetLogical(PanelModel& m, bool on) { m.lbLogicalEnabled = m.logical.enabled = on; }
void SetFlow(PanelModel& m, bool on) { m.lbFlowControlEnabled = m.flowControl.enabled = on; }
void FillSerialDefault(PanelModel& m) {
  if (m.comPort.index < 0) m.comPort.Select(0);
}
void FillBaudDefault(PanelModel& m) {
  if (m.baudrate.index < 0) m.baudrate.Select(m.baudrate.Count() - 1);
}

enum class Op {
  DisableSerial, EnableSerial, DisableBaud, EnableBaud, DisableAddrPort, EnableAddrPort,
  DisableLogical, EnableLogical, EnableFlow, DeselectSerial, DeselectBaud, EmptyAddrPort,
  SelectRS232, SelectTcpIp, EnableCommType, DefaultSerial, DefaultBaud, ApplyCommType, Reset,
};

using enum Op;

// One row per communication type, the actions in the order the row performs them.
const std::array<std::vector<Op>, 13> kRows = {{
    /* 0 */ {DisableSerial, DisableBaud, DisableAddrPort, DisableLogical, DeselectSerial, DeselectBaud,
             EmptyAddrPort, SelectRS232},
    /* 1 */ {DisableAddrPort, DisableLogical, EmptyAddrPort, EnableSerial, EnableBaud, SelectRS232,
             DefaultSerial, DefaultBaud},
    /* 2 */ {DisableSerial, DisableBaud, DisableLogical, EnableAddrPort, EmptyAddrPort, SelectTcpIp},
    /* 3 */ {DisableBaud, DisableAddrPort, DisableLogical, EmptyAddrPort, EnableSerial, DefaultSerial,
             DeselectBaud, SelectRS232},
    /* 4 */ {SelectTcpIp, ApplyCommType},
    /* 5 */ {DisableBaud, DisableLogical, DisableSerial, DefaultSerial, DeselectBaud, DisableAddrPort,
             EmptyAddrPort, SelectRS232},
    /* 6 */ {SelectRS232, ApplyCommType, DisableLogical},
    /* 7 */ {SelectRS232, ApplyCommType},
    /* 8 */ {EnableCommType, SelectRS232, ApplyCommType},
    /* 9 */ {SelectRS232, ApplyCommType, DisableLogical, EnableFlow},
    /* 10 */ {SelectRS232, ApplyCommType, DisableLogical},
    /* 11 */ {Reset, ApplyCommType},
    /* 12 */ {SelectRS232, ApplyCommType, DisableLogical},
}};

void Run(PanelModel& m, Op op, int32_t type) {
  switch (op) {
    case DisableSerial: SetSerial(m, false); break;
    case EnableSerial: SetSerial(m, true); break;
    case DisableBaud: SetBaud(m, false); break;
    case EnableBaud: SetBaud(m, true); break;
    case DisableAddrPort: SetAddrPort(m, false); break;
    case EnableAddrPort: SetAddrPort(m, true); break;
    case DisableLogical: SetLogical(m, false); break;
    case EnableLogical: SetLogical(m, true); break;
    case EnableFlow: SetFlow(m, true); break;
    case DeselectSerial: m.comPort.index = -1; break;
    case DeselectBaud: m.baudrate.index = -1; break;
    case EmptyAddrPort: m.ipAdr.text.clear(); m.ipPort.text.clear(); break;
    case SelectRS232: m.commType.Select(0); break;
    case SelectTcpIp: m.commType.Select(1); break;
    case EnableCommType: m.commType.enabled = true; break;
    case DefaultSerial: FillSerialDefault(m); break;
    case DefaultBaud: FillBaudDefault(m); break;
    case ApplyCommType: ::core::ApplyCommType(m, type); break;
    case Reset: ResetCommPanel(m); break;
  }
}

}  // namespace

void ApplyCommType(PanelModel& m, int32_t plgnCommType) {
  SetFlow(m, false);
  if (m.commType.index == 0) {
    SetSerial(m, true);
    SetBaud(m, true);
    SetFlow(m, plgnCommType == 9 || plgnCommType == 10);
    if (!m.flowControl.enabled) m.flowControl.Select(0);
    FillSerialDefault(m);
    FillBaudDefault(m);
    SetAddrPort(m, false);
    if (IsBlank(m.ipAdr.text)) m.ipAdr.text = L"127.0.0.1";
    if (IsBlank(m.ipPort.text)) m.ipPort.text = L"4999";
    SetLogical(m, true);
    ApplyLogicalNumberDefault(m.logical);
  } else if (m.commType.index == 1) {
    SetSerial(m, false);
    SetBaud(m, false);
    SetFlow(m, false);
    SetAddrPort(m, true);
    m.ipAdr.text = L"127.0.0.1";
    m.ipPort.text = L"4999";
    SetLogical(m, true);
    ApplyLogicalNumberDefault(m.logical);
  }
}

void ResetCommPanel(PanelModel& m) {
  m.lbComPortEnabled = m.lbBaudrateEnabled = m.lbIpAdrEnabled = m.lbIpPortEnabled = m.lbLogicalEnabled = false;
  m.ipAdr.enabled = m.ipPort.enabled = false;
  m.ipAdr.text.clear();
  m.ipPort.text.clear();
  m.logical.enabled = false;
  m.logical.text = L"1";
  m.lbFlowControlEnabled = m.flowControl.enabled = false;
  m.comPort.enabled = m.baudrate.enabled = false;
  m.commType.Select(0);
}

void ApplyCommTypeRow(PanelModel& m, int32_t type) {
  if (type < kMinCommType || type > kMaxCommType) return;
  for (Op op : kRows[static_cast<size_t>(type)]) Run(m, op, type);
}

}  // namespace core
