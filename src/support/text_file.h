// People-editable text files (settings and language files): read with byte-order-mark detection
// (UTF-8, UTF-16, else the ANSI code page; CR LF, LF or CR), written in a chosen encoding.
#pragma once

#include <string>
#include <vector>

#include "core/encoding.h"

struct TextFileContent {
  std::vector<std::wstring> lines;
  core::TextEncoding encoding = core::TextEncoding::Ansi;
};

// Throws EInOutError when the file cannot be read.
TextFileContent LoadTextFile(const std::wstring& path);

// Writes the text with the encoding's byte-order mark (none for ANSI). The file is replaced as a
// whole: a failed write leaves the previous file as it was. Throws EInOutError.
void SaveTextFile(const std::wstring& path, const std::wstring& text, core::TextEncoding encoding);
