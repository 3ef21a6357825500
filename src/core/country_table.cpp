// The country table; see country_table.h.
#include "core/country_table.h"

#include "core/text.h"

namespace core {

const std::array<TParamCountry, 27> kCountryTable = {{
    {L"BULGARIA", 1000, L"BGR", 1},
    {L"FEDERATION OF BOSNIA AND HERZEGOVINA", 2000, L"BIH", 2},
    {L"BELARUS", 3000, L"BLR", 3},
    {L"ALBANIA", 4000, L"ALB", 4},
    {L"TANZANIA", 5000, L"TAN", 5},
    {L"ZIMBABWE", 6000, L"ZIM", 6},
    {L"BANGLADESH", 7000, L"BGD", 7},
    {L"ETHIOPIA", 8000, L"ETH", 8},
    {L"HUNGARY", 9000, L"HUN", 9},
    {L"KAZAKHSTAN", 10000, L"KAZ", 10},
    {L"KOSOVO", 11000, L"KOS", 11},
    {L"LATVIA", 12000, L"LVA", 12},
    {L"LITHUANIA", 13000, L"LTU", 13},
    {L"MACEDONIA", 14000, L"MKD", 14},
    {L"MOLDOVA", 15000, L"MDA", 15},
    {L"POLAND", 16000, L"POL", 16},
    {L"ROMANIA", 17000, L"ROU", 17},
    {L"SERBIA", 18000, L"SRB", 18},
    {L"SLOVAKIA", 19000, L"SVK", 19},
    {L"UKRAINE", 20000, L"UKR", 20},
    {L"USA", 21000, L"USA", 21},
    {L"ESTONIA", 22000, L"EST", 22},
    {L"MONTENEGRO", 23000, L"MNE", 23},
    {L"JAPAN", 24000, L"JPY", 24},
    {L"REPUBLIC OF KOREA", 25000, L"KRW", 25},
    {L"KENYA", 26000, L"KEN", 26},
    {L"ARMENIA", 27000, L"ARM", 27},
}};

const std::array<const wchar_t*, 28> kDefaultCountries = {
    L"BULGARIA", L"SPAIN", L"FEDERATION OF BOSNIA AND HERZEGOVINA", L"BELARUS", L"ALBANIA",
    L"TANZANIA", L"ZIMBABWE", L"BANGLADESH", L"ETHIOPIA", L"HUNGARY", L"KAZAKHSTAN", L"KOSOVO",
    L"LATVIA", L"LITHUANIA", L"MACEDONIA", L"MOLDOVA", L"POLAND", L"ROMANIA", L"SERBIA",
    L"SLOVAKIA", L"UKRAINE", L"USA", L"ESTONIA", L"MONTENEGRO", L"JAPAN", L"REPUBLIC OF KOREA",
    L"KENYA", L"ARMENIA"};

std::vector<std::wstring> CountryNames() {
  std::vector<std::wstring> names;
  names.reserve(kCountryTable.size());
  for (const auto& row : kCountryTable) names.emplace_back(row.CountryName);
  return names;
}

int32_t FindCountryRow(std::wstring_view name) {
  for (size_t i = 0; i < kCountryTable.size(); ++i)
    if (AsciiEqualsIgnoreCase(name, kCountryTable[i].CountryName)) return static_cast<int32_t>(i);
  return -1;
}

}  // namespace core
