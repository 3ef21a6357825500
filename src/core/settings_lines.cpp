// Settings file lines; see settings_lines.h.
#include "core/settings_lines.h"

#include "core/text.h"

namespace core {

std::wstring BuildSettingsText(const SettingsValues& v) {
  const std::wstring lines[kSettingsLineCount] = {
      L"Country:",
      v.country,
      L"Plugin name:",
      L"",
      L"COM Port:",
      ToDecimal(v.comPort),
      L"Baudrate:",
      ToDecimal(v.baudrate),
      L"Port:",
      v.ipPort,
      L"IP Address:",
      v.ipAdr,
      L"Logical number:",
      v.logical,
      L"Last device:",
      v.deviceText,
      L"Communication type:",
      ToDecimal(v.commType),
      L"Check for Kestrum updates on start:",
      v.checkUpdatesOnStart ? L"1" : L"0",
      L"Last device:",
      ToDecimal(v.devicePosition),
  };
  std::wstring text;
  for (const auto& line : lines) text += line + L"\r\n";
  return text;
}

SettingsRestore ReadSettingsLines(const std::vector<std::wstring>& lines) {
  SettingsRestore r;
  if (lines.empty()) return r;
  auto number = [](const std::wstring& s) { return ParseDecimal(s); };
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::wstring& line = lines[i];
    switch (i + 1) {
      case 6:
        if (!(r.comPort = number(line))) return r;
        break;
      case 8:
        if (!(r.baudrate = number(line))) return r;
        break;
      case 10: r.ipPort = line; break;
      case 12: r.ipAdr = line; break;
      case 14: r.logical = line; break;
      case 18:
        if (!(r.commType = number(line))) return r;
        break;
      case 20: r.checkUpdatesOnStart = line == L"1"; break;
      case 22:
        if (!(r.devicePosition = number(line))) return r;
        break;
      default: break;
    }
  }
  r.completed = true;
  if (lines.size() >= 2) r.country = lines[1];
  if (lines.size() >= 16) r.deviceName = Trim(lines[15]);
  return r;
}

}  // namespace core
