// The 22-line settings file: how the window's state becomes its lines, and what a list of lines
// restores. Lines are read by position only; key lines are never compared.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace core {

struct SettingsValues {
  std::wstring country;     // selected country, empty when none
  int32_t comPort = -1;     // positions, -1 when nothing is selected
  int32_t baudrate = -1;
  std::wstring ipPort;      // edit texts as typed
  std::wstring ipAdr;
  std::wstring logical;
  std::wstring deviceText;  // selected device, empty when none
  int32_t commType = -1;
  bool checkUpdatesOnStart = false;
  int32_t devicePosition = -1;
};

inline constexpr int kSettingsLineCount = 22;

// The whole file text: 22 lines, each ending with CR LF.
std::wstring BuildSettingsText(const SettingsValues& v);

// What a list of lines restores, field by field in file order. A numeric line that is not a
// decimal number stops the restore there: that and every later value, the tick of the update
// menu item, the country and the device stay unset.
struct SettingsRestore {
  std::optional<int32_t> comPort, baudrate;
  std::optional<std::wstring> ipPort, ipAdr, logical;
  std::optional<int32_t> commType;
  std::optional<bool> checkUpdatesOnStart;
  std::optional<int32_t> devicePosition;
  bool completed = false;                  // no bad number line
  std::optional<std::wstring> country;     // file of at least 2 lines
  std::optional<std::wstring> deviceName;  // trimmed line 16; empty means "no device"
};

SettingsRestore ReadSettingsLines(const std::vector<std::wstring>& lines);

}  // namespace core
