// The panel table by communication type, checked against the resulting-panel reference.
#include <gtest/gtest.h>

#include "core/comm_panel.h"

using namespace core;

namespace {

// The panel after a device selection: the communication-type list is disabled first.
PanelModel Selected(int type, PanelModel m = PanelModel::Initial()) {
  m.commType.enabled = false;
  ApplyCommTypeRow(m, type);
  return m;
}

enum Addr { Emptied, Defaulted, Forced, Kept };
struct Row {
  int type;
  bool commTypeEnabled;
  int commType;
  bool serial, baud;
  int serialIndex, baudIndex;  // -2: not checked
  bool addrPort;
  Addr addr;
  bool logical;
  const wchar_t* logicalText;  // nullptr: unchanged
  int flow;                    // 1 enabled, 0 disabled, -1 untouched
  int flowIndex;               // -2: not checked
};

}  // namespace

TEST(CommPanel, EveryTypeGivesItsRowOfTheReferenceTable) {
  const Row rows[] = {
      {0, false, 0, false, false, -1, -1, false, Emptied, false, nullptr, -1, -2},
      {1, false, 0, true, true, -2, -2, false, Emptied, false, nullptr, -1, -2},
      {2, false, 1, false, false, -2, -2, true, Emptied, false, nullptr, -1, -2},
      {3, false, 0, true, false, -2, -1, false, Emptied, false, nullptr, -1, -2},
      {4, false, 1, false, false, -2, -2, true, Forced, true, L"1", 0, -2},
      {5, false, 0, false, false, -2, -1, false, Emptied, false, nullptr, -1, -2},
      {6, false, 0, true, true, -2, -2, false, Defaulted, false, L"1", 0, 0},
      {7, false, 0, true, true, -2, -2, false, Defaulted, true, L"1", 0, 0},
      {8, true, 0, true, true, -2, -2, false, Defaulted, true, L"1", 0, 0},
      {9, false, 0, true, true, -2, -2, false, Defaulted, false, L"1", 1, -2},
      {10, false, 0, true, true, -2, -2, false, Defaulted, false, L"1", 1, -2},
      {11, false, 0, true, true, -2, -2, false, Forced, true, L"1", 0, 0},
      {12, false, 0, true, true, -2, -2, false, Defaulted, false, L"1", 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.type);
    PanelModel start = PanelModel::Initial();
    start.comPort.index = -1;
    start.baudrate.index = -1;
    start.flowControl.index = 2;
    start.flowControl.enabled = start.lbFlowControlEnabled = (r.flow == -1);
    start.logical.text = L"abc";
    PanelModel m = Selected(r.type, start);
    EXPECT_EQ(m.commType.enabled, r.commTypeEnabled);
    EXPECT_EQ(m.commType.index, r.commType);
    EXPECT_EQ(m.comPort.enabled, r.serial);
    EXPECT_EQ(m.lbComPortEnabled, r.serial);
    EXPECT_EQ(m.baudrate.enabled, r.baud);
    EXPECT_EQ(m.lbBaudrateEnabled, r.baud);
    if (r.serialIndex != -2) {
      EXPECT_EQ(m.comPort.index, r.serialIndex);
    }
    if (r.baudIndex != -2) {
      EXPECT_EQ(m.baudrate.index, r.baudIndex);
    }
    if (r.serial) {
      EXPECT_EQ(m.comPort.index, 0) << "serial port defaulted";
    }
    if (r.baud) {
      EXPECT_EQ(m.baudrate.index, 7) << "baud rate defaulted to 115200";
    }
    EXPECT_EQ(m.ipAdr.enabled, r.addrPort);
    EXPECT_EQ(m.ipPort.enabled, r.addrPort);
    EXPECT_EQ(m.lbIpAdrEnabled, r.addrPort);
    EXPECT_EQ(m.lbIpPortEnabled, r.addrPort);
    if (r.addr == Emptied) {
      EXPECT_EQ(m.ipAdr.text, L"");
      EXPECT_EQ(m.ipPort.text, L"");
    } else {
      EXPECT_EQ(m.ipAdr.text, L"127.0.0.1");
      EXPECT_EQ(m.ipPort.text, L"4999");
    }
    EXPECT_EQ(m.logical.enabled, r.logical);
    EXPECT_EQ(m.lbLogicalEnabled, r.logical);
    EXPECT_EQ(m.logical.text, r.logicalText ? r.logicalText : L"abc");
    if (r.flow != -1) {
      EXPECT_EQ(m.flowControl.enabled, r.flow == 1);
      EXPECT_EQ(m.lbFlowControlEnabled, r.flow == 1);
    } else {
      EXPECT_TRUE(m.flowControl.enabled) << "untouched";
    }
    if (r.flowIndex != -2) {
      EXPECT_EQ(m.flowControl.index, r.flowIndex);
    }
  }
}

TEST(CommPanel, OtherTypesChangeNothing) {
  for (int type : {-1, 13, 99, INT32_MIN}) {
    PanelModel before = PanelModel::Initial();
    before.ipAdr.text = L"10.0.0.1";
    PanelModel after = before;
    ApplyCommTypeRow(after, type);
    EXPECT_EQ(after.ipAdr.text, L"10.0.0.1");
    EXPECT_EQ(after.comPort.index, before.comPort.index);
    EXPECT_TRUE(after.ipAdr.enabled && after.comPort.enabled && after.logical.enabled);
  }
}

TEST(CommPanel, AddressAndPortRules) {
  // Type 2 empties values, also ones just restored.
  PanelModel m = PanelModel::Initial();
  m.ipAdr.text = L"10.1.1.1";
  m.ipPort.text = L"9100";
  EXPECT_EQ(Selected(2, m).ipAdr.text, L"");
  // Type 4 and the TCP/IP branch replace them.
  EXPECT_EQ(Selected(4, m).ipAdr.text, L"127.0.0.1");
  EXPECT_EQ(Selected(4, m).ipPort.text, L"4999");
  // RS232 keeps typed values and fills only blanks.
  PanelModel r = m;
  r.ipPort.text = L"  ";
  r.commType.index = 0;
  ApplyCommType(r, 8);
  EXPECT_EQ(r.ipAdr.text, L"10.1.1.1");
  EXPECT_EQ(r.ipPort.text, L"4999");
  // Switching a type-8 device to TCP/IP replaces both.
  PanelModel t = Selected(8, m);
  t.commType.index = 1;
  ApplyCommType(t, 8);
  EXPECT_EQ(t.ipAdr.text, L"127.0.0.1");
  EXPECT_FALSE(t.comPort.enabled);
  EXPECT_TRUE(t.ipAdr.enabled);
}

TEST(CommPanel, LogicalNumberDefault) {
  struct Case {
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {{L"abc", L"1"}, {L"", L"1"}, {L"  ", L"1"}, {L" 7", L" 7"}, {L"7 ", L"1"}, {L"-3", L"-3"}, {L"12", L"12"}};
  for (const auto& c : cases) {
    EditState e{c.in, true};
    ApplyLogicalNumberDefault(e);
    EXPECT_EQ(e.text, c.out) << testing::PrintToString(std::wstring(c.in));
  }
}

TEST(CommPanel, WithoutCommTypeSelectionApplyCommTypeOnlyDisablesFlowControl) {
  PanelModel m = PanelModel::Initial();
  m.logical.text = L"abc";
  ApplyCommType(m, 9);
  EXPECT_FALSE(m.flowControl.enabled);
  EXPECT_EQ(m.logical.text, L"abc");
  EXPECT_TRUE(m.comPort.enabled);
}
