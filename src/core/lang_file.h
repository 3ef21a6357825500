// Which line of a language-support file sets which caption of the main window.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace core {

enum class LangTarget {
  lb_Country, lb_COMMTYPE, lb_COMPORT, lb_Baudrate, lb_IPADR, lb_IPPORT, lb_Logical,
  btn_StartPlugin, btn_Exit, btn_StartPluginHint, mn_HELP1, mn_HELP2, mn_ADDITIONAL,
  mn_CHECKFORUPDATES, mn_ABOUT, mn_Kestrum_UPDATES, mn_Commands, mn_StartPlugin, mn_Plugin,
  mn_CheckUpdatesOnStart,
};

inline constexpr size_t kLangLastLine = 64;

// The assignments of a file's lines, in line order; lines past 64 and unlisted lines are ignored.
std::vector<std::pair<LangTarget, std::wstring>> LanguageAssignments(const std::vector<std::wstring>& lines);

// "LSUPP_" + code + ".txt" for a country of the table (name trimmed, ASCII case ignored),
// else "LSUPP_DEF.txt".
std::wstring LanguageFileName(const std::wstring& country);
inline constexpr const wchar_t* kDefaultLanguageFile = L"LSUPP_DEF.txt";

}  // namespace core
