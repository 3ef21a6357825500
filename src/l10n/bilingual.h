// The flag that chooses Bulgarian or English for the few texts the system composes itself.
// True exactly when the country list shows "BULGARIA" (letter case counts).
#pragma once

#include <string>

inline bool LANG_IS_BG = false;

inline bool IsBulgarianSelection(const std::wstring& countryText) { return countryText == L"BULGARIA"; }
