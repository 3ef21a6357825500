// The forced date and time formats and the version numbers of a file's version resource.
#pragma once

#include <cstdint>
#include <string>

// Sets the six process-wide format settings in order; logs "SET_LOCAL_SHITS :" on failure.
void SET_LOCAL_SHITS(wchar_t dateSeparator, wchar_t timeSeparator, wchar_t decimalSeparator,
                     const std::wstring& shortDateFormat, const std::wstring& shortTimeFormat,
                     const std::wstring& longTimeFormat);

// The values start-up forces and the settings-change notification puts back.
void FORCE_LOCAL_FORMATS();

// Fills the four numbers from the file's version resource (left as passed when it has none) and
// sets the text to them joined by "."; on failure logs " :" and leaves the text as passed.
void GET_VERSION_NUMBERS(const std::wstring& fileName, int32_t& major, int32_t& minor, int32_t& release,
                         int32_t& build, std::wstring& text);
