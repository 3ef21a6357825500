// Byte-order-mark detection and the Unicode encodings of the people-editable text files
// (settings and language files). The ANSI code page is the platform's business.
#pragma once

#include <string>
#include <string_view>

namespace core {

enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct BomInfo {
  TextEncoding encoding = TextEncoding::Ansi;
  size_t bomLength = 0;
};

BomInfo DetectBom(std::string_view bytes);
std::string BomBytes(TextEncoding e);

// Invalid sequences decode to U+FFFD; nothing is dropped silently.
std::wstring DecodeUtf8(std::string_view bytes);
std::string EncodeUtf8(std::wstring_view text);
std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian);
std::string EncodeUtf16(std::wstring_view text, bool bigEndian);

}  // namespace core
