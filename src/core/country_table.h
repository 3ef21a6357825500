// The fixed vocabulary of countries: 27 rows pairing the upper-case English name with the
// three-letter code that names the country's language file. Constant data, read-only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TParamCountry {
  const wchar_t* CountryName;
  int32_t MainTag;
  const wchar_t* ShortCountryName;
  int32_t Index;
};

namespace core {

extern const std::array<TParamCountry, 27> kCountryTable;

// Names the country list always offers, in the order they are added: the table's names with
// "SPAIN" (which has no row and no language file) after the first.
extern const std::array<const wchar_t*, 28> kDefaultCountries;

// Zero-based row of the first name equal to the text (ASCII case ignored), -1 when none.
int32_t FindCountryRow(std::wstring_view name);
std::vector<std::wstring> CountryNames();

}  // namespace core
