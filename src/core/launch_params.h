// The parameter string that a plugin's ShowPlugin receives, per communication type, with the
// preparations that fill defaults into the panel first. Every plugin depends on this layout.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/comm_panel.h"

namespace core {

// Serial port number of a "COM n" text: the text after the first "COM " (else "COM"), read as a
// leading integer; -1 for a blank text or a number out of range.
int32_t ComNumberOf(const std::wstring& comPortText);

struct LaunchString {
  std::wstring text;
  uint32_t codePage = 1251;
};

// Runs the type's preparations on the panel (they change its fields) and builds the string.
// nullopt for a type outside 0 to 12: nothing is sent.
std::optional<LaunchString> BuildLaunchString(int32_t type, PanelModel& panel, const std::wstring& country,
                                              int32_t deviceIndex);

}  // namespace core
