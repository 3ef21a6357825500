// Language-file line map; see lang_file.h.
#include "core/lang_file.h"

#include <array>

#include "core/country_table.h"
#include "core/text.h"

namespace core {

namespace {
struct LineTarget {
  size_t line;
  LangTarget target;
};
constexpr std::array<LineTarget, 20> kLineTargets = {{
    {2, LangTarget::lb_Country},          {12, LangTarget::lb_COMMTYPE},
    {14, LangTarget::lb_COMPORT},         {16, LangTarget::lb_Baudrate},
    {18, LangTarget::lb_IPADR},           {20, LangTarget::lb_IPPORT},
    {22, LangTarget::lb_Logical},         {26, LangTarget::btn_StartPlugin},
    {34, LangTarget::btn_Exit},           {36, LangTarget::btn_StartPluginHint},
    {38, LangTarget::mn_HELP1},           {40, LangTarget::mn_HELP2},
    {42, LangTarget::mn_ADDITIONAL},      {44, LangTarget::mn_CHECKFORUPDATES},
    {46, LangTarget::mn_ABOUT},           {48, LangTarget::mn_Kestrum_UPDATES},
    {56, LangTarget::mn_Commands},        {58, LangTarget::mn_StartPlugin},
    {60, LangTarget::mn_Plugin},          {64, LangTarget::mn_CheckUpdatesOnStart},
}};
}  // namespace

std::vector<std::pair<LangTarget, std::wstring>> LanguageAssignments(const std::vector<std::wstring>& lines) {
  std::vector<std::pair<LangTarget, std::wstring>> out;
  for (const auto& lt : kLineTargets)
    if (lt.line <= lines.size()) out.emplace_back(lt.target, lines[lt.line - 1]);
  return out;
}

std::wstring LanguageFileName(const std::wstring& country) {
  int32_t row = FindCountryRow(Trim(country));
  if (row < 0) return kDefaultLanguageFile;
  return std::wstring(L"LSUPP_") + kCountryTable[static_cast<size_t>(row)].ShortCountryName + L".txt";
}

}  // namespace core
