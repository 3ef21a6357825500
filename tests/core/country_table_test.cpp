// The country table's invariants and look-ups.
#include <gtest/gtest.h>

#include <set>

#include "core/country_table.h"
#include "core/lang_file.h"

using namespace core;

TEST(CountryTable, RowsKeepTheirInvariants) {
  ASSERT_EQ(kCountryTable.size(), 27u);
  std::set<std::wstring> names;
  for (size_t i = 0; i < kCountryTable.size(); ++i) {
    const auto& row = kCountryTable[i];
    EXPECT_EQ(row.Index, static_cast<int>(i) + 1);
    EXPECT_EQ(row.MainTag, row.Index * 1000);
    std::wstring code = row.ShortCountryName;
    ASSERT_EQ(code.size(), 3u);
    for (wchar_t c : code) EXPECT_TRUE(c >= L'A' && c <= L'Z');
    EXPECT_TRUE(names.insert(row.CountryName).second);
  }
}

TEST(CountryTable, LookUpAndCodes) {
  EXPECT_EQ(FindCountryRow(L"Bulgaria"), 0);
  EXPECT_EQ(FindCountryRow(L"BULGARIA"), 0);
  EXPECT_EQ(FindCountryRow(L"SPAIN"), -1);
  EXPECT_EQ(FindCountryRow(L" BULGARIA "), -1);  // callers trim
  struct Case {
    const wchar_t* country;
    const wchar_t* file;
  } cases[] = {
      {L"JAPAN", L"LSUPP_JPY.txt"},   {L"REPUBLIC OF KOREA", L"LSUPP_KRW.txt"},
      {L"TANZANIA", L"LSUPP_TAN.txt"}, {L"ZIMBABWE", L"LSUPP_ZIM.txt"},
      {L"KOSOVO", L"LSUPP_KOS.txt"},   {L"USA", L"LSUPP_USA.txt"},
      {L"  Bulgaria ", L"LSUPP_BGR.txt"}, {L"SPAIN", L"LSUPP_DEF.txt"},
      {L"ATLANTIS", L"LSUPP_DEF.txt"}, {L"", L"LSUPP_DEF.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(LanguageFileName(c.country), c.file) << testing::PrintToString(std::wstring(c.country));
}

TEST(CountryTable, DefaultCountriesAreTheTableWithSpainSecond) {
  ASSERT_EQ(kDefaultCountries.size(), 28u);
  EXPECT_EQ(std::wstring(kDefaultCountries[0]), L"BULGARIA");
  EXPECT_EQ(std::wstring(kDefaultCountries[1]), L"SPAIN");
  for (size_t i = 1; i < kCountryTable.size(); ++i)
    EXPECT_EQ(std::wstring(kDefaultCountries[i + 1]), kCountryTable[i].CountryName);
}
