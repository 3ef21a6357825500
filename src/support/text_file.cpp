// Text files; see text_file.h.
#include "support/text_file.h"

#include <windows.h>

#include "core/text.h"
#include "platform/codepage.h"
#include "platform/files.h"

TextFileContent LoadTextFile(const std::wstring& path) {
  std::string bytes = platform::ReadFileBytes(path);
  core::BomInfo bom = core::DetectBom(bytes);
  std::string_view body(bytes);
  body.remove_prefix(bom.bomLength);
  std::wstring text;
  switch (bom.encoding) {
    case core::TextEncoding::Utf8: text = core::DecodeUtf8(body); break;
    case core::TextEncoding::Utf16LE: text = core::DecodeUtf16(body, false); break;
    case core::TextEncoding::Utf16BE: text = core::DecodeUtf16(body, true); break;
    case core::TextEncoding::Ansi:
      if (!body.empty()) {
        // Zero bytes would end the conversion early; keep every line.
        std::wstring out;
        size_t start = 0;
        while (start <= body.size()) {
          size_t nul = body.find('\0', start);
          std::string_view part = body.substr(start, nul == std::string_view::npos ? std::string_view::npos : nul - start);
          out += platform::CodePageToWide(part, CP_ACP, 0);
          if (nul == std::string_view::npos) break;
          start = nul + 1;
        }
        text = std::move(out);
      }
      break;
  }
  return {core::SplitLines(text), bom.encoding};
}

void SaveTextFile(const std::wstring& path, const std::wstring& text, core::TextEncoding encoding) {
  std::string bytes = core::BomBytes(encoding);
  switch (encoding) {
    case core::TextEncoding::Utf8: bytes += core::EncodeUtf8(text); break;
    case core::TextEncoding::Utf16LE: bytes += core::EncodeUtf16(text, false); break;
    case core::TextEncoding::Utf16BE: bytes += core::EncodeUtf16(text, true); break;
    case core::TextEncoding::Ansi: bytes += platform::WideToCodePage(text, CP_ACP, platform::kAnsiConversionFlags); break;
  }
  platform::WriteFileAtomically(path, bytes);
}
