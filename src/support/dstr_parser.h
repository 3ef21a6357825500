// Conversions between the system's UTF-16 text and the 8-bit code pages that plugins use.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace DStrParser {

// A character the code page lacks becomes its default character "?". Failures are raised again
// with the message Exception in "DStrParser.WideStringToAnsiString" metod : <message>.
std::string WideStringToAnsiString(const std::wstring& text, UINT codePage);
std::wstring AnsiStringToWideString(const std::string& text, UINT codePage);

// The text before the first zero byte of the first `count` bytes; empty for count <= 0 and on
// any failure.
std::wstring AnsiBufferToString(const char* bytes, int32_t count, UINT codePage);

}  // namespace DStrParser
