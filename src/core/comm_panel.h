// The communication settings panel as data: the state of its fields, the per-type table that a
// device selection applies, the RS232/TCP-IP choice and the panel reset. The window copies its
// controls into a PanelModel, runs these rules and copies the result back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace core {

struct ComboState {
  std::vector<std::wstring> items;
  int32_t index = -1;
  bool enabled = true;

  // The shown text: the selected item, empty without a selection.
  std::wstring Text() const;
  int32_t Count() const { return static_cast<int32_t>(items.size()); }
  // A position outside the items leaves the list without a selection.
  void Select(int32_t position) { index = (position >= 0 && position < Count()) ? position : -1; }
};

struct EditState {
  std::wstring text;
  bool enabled = true;
};

struct PanelModel {
  ComboState commType;  // rg_COMMTYPE: "RS232", "TCP/IP"
  bool lbComPortEnabled = true;
  ComboState comPort;
  bool lbBaudrateEnabled = true;
  ComboState baudrate;
  bool lbIpAdrEnabled = true;
  EditState ipAdr;
  bool lbIpPortEnabled = true;
  EditState ipPort;
  bool lbLogicalEnabled = true;
  EditState logical;
  bool lbFlowControlEnabled = true;
  ComboState flowControl;

  // The panel as the main window creates it (serial ports "COM 1" to "COM 28").
  static PanelModel Initial();
};

extern const std::vector<std::wstring> kCommTypeItems;
extern const std::vector<std::wstring> kBaudrateItems;
extern const std::vector<std::wstring> kFlowControlItems;
std::vector<std::wstring> DefaultComPortItems();  // "COM 1" .. "COM 28"

inline constexpr int32_t kMinCommType = 0;
inline constexpr int32_t kMaxCommType = 12;

// "1" when the trimmed text is empty or the text is not a whole decimal number.
void ApplyLogicalNumberDefault(EditState& logical);

// The RS232 (position 0) or TCP/IP (position 1) branch; nothing without a selection.
// plgnCommType enables flow control for types 9 and 10.
void ApplyCommType(PanelModel& m, int32_t plgnCommType);

void ResetCommPanel(PanelModel& m);

// The row of the type table (0 to 12); other values change nothing. The communication-type list
// must already be disabled by the caller.
void ApplyCommTypeRow(PanelModel& m, int32_t type);

}  // namespace core
