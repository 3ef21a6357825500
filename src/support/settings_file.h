// The settings file "Config.txt" in the two data folders: CONFIG_LINES in memory, read once at
// start, written on every launch and every toggle of the start-up update check.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/encoding.h"

inline std::unique_ptr<std::vector<std::wstring>> CONFIG_LINES;
inline std::wstring CONFIG_FILE_NAME_1;
inline std::wstring CONFIG_FILE_NAME_2;
// The encoding of the settings file last read when it began with a byte-order mark.
inline core::TextEncoding CONFIG_ENCODING = core::TextEncoding::Ansi;

// Writes the text to every available location; true when a settings file exists at either.
bool SAVE_CONFIG(const std::wstring& text);
// Reads the first location, or the second only when the first folder is unavailable.
bool LOAD_CONFIG();
