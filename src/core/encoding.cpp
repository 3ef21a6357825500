// Unicode encodings for text files; see encoding.h. wchar_t is UTF-16 on Windows and UTF-32 on
// Linux, so code points are converted through char32_t.
#include "core/encoding.h"

#include <vector>

namespace core {

namespace {
constexpr char32_t kReplacement = 0xFFFD;

void AppendCodePoint(std::wstring& out, char32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (cp >> 10));
      out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
      return;
    }
  }
  out += static_cast<wchar_t>(cp);
}

std::vector<char32_t> CodePoints(std::wstring_view text) {
  std::vector<char32_t> cps;
  cps.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
        char32_t d = static_cast<char32_t>(text[i + 1]);
        if (d >= 0xDC00 && d <= 0xDFFF) {
          cps.push_back(0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00));
          ++i;
          continue;
        }
      }
    }
    cps.push_back(c);
  }
  return cps;
}
}  // namespace

BomInfo DetectBom(std::string_view b) {
  if (b.size() >= 3 && b[0] == '\xEF' && b[1] == '\xBB' && b[2] == '\xBF') return {TextEncoding::Utf8, 3};
  if (b.size() >= 2 && b[0] == '\xFF' && b[1] == '\xFE') return {TextEncoding::Utf16LE, 2};
  if (b.size() >= 2 && b[0] == '\xFE' && b[1] == '\xFF') return {TextEncoding::Utf16BE, 2};
  return {};
}

std::string BomBytes(TextEncoding e) {
  switch (e) {
    case TextEncoding::Utf8: return "\xEF\xBB\xBF";
    case TextEncoding::Utf16LE: return "\xFF\xFE";
    case TextEncoding::Utf16BE: return "\xFE\xFF";
    default: return {};
  }
}

std::wstring DecodeUtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out += static_cast<wchar_t>(c);
      ++i;
      continue;
    }
    int extra = (c >= 0xF0 && c <= 0xF4) ? 3 : (c >= 0xE0 && c < 0xF0) ? 2 : (c >= 0xC2 && c < 0xE0) ? 1 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= bytes.size()) {
      AppendCodePoint(out, kReplacement);
      ++i;
      continue;
    }
    char32_t cp = c & (0x3F >> extra);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      unsigned char d = static_cast<unsigned char>(bytes[i + k]);
      if ((d & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (d & 0x3F);
    }
    if (ok && ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))))
      ok = false;
    if (!ok) {
      AppendCodePoint(out, kReplacement);
      ++i;
      continue;
    }
    AppendCodePoint(out, cp);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

std::string EncodeUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t cp : CodePoints(text)) {
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = kReplacement;
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::wstring units;
  units.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    unsigned char a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<wchar_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  }
  if constexpr (sizeof(wchar_t) == 2) {
    if (bytes.size() % 2) units += static_cast<wchar_t>(kReplacement);
    return units;
  } else {
    // Combine surrogate pairs into code points on UTF-32 platforms.
    std::wstring out;
    for (size_t i = 0; i < units.size(); ++i) {
      char32_t c = static_cast<char32_t>(units[i]);
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size()) {
        char32_t d = static_cast<char32_t>(units[i + 1]);
        if (d >= 0xDC00 && d <= 0xDFFF) {
          out += static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00));
          ++i;
          continue;
        }
      }
      out += (c >= 0xD800 && c <= 0xDFFF) ? static_cast<wchar_t>(kReplacement) : static_cast<wchar_t>(c);
    }
    if (bytes.size() % 2) out += static_cast<wchar_t>(kReplacement);
    return out;
  }
}

std::string EncodeUtf16(std::wstring_view text, bool bigEndian) {
  std::string out;
  auto put = [&](char16_t u) {
    char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    if (bigEndian) {
      out += hi;
      out += lo;
    } else {
      out += lo;
      out += hi;
    }
  };
  for (char32_t cp : CodePoints(text)) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      put(static_cast<char16_t>(0xD800 + (cp >> 10)));
      put(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      put(static_cast<char16_t>(cp));
    }
  }
  return out;
}

}  // namespace core
