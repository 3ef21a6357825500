// Code-page conversion; see codepage.h.
#include "platform/codepage.h"

#include "platform/errors.h"

namespace platform {

std::string WideToCodePage(std::wstring_view text, UINT codePage, DWORD flags) {
  size_t nul = text.find(L'\0');
  if (nul != std::wstring_view::npos) text = text.substr(0, nul);
  if (text.empty()) return {};
  int length = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
  if (length <= 0) RaiseLastError(L"WideCharToMultiByte");
  std::string out(static_cast<size_t>(length), '\0');
  length = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), out.data(), length,
                               nullptr, nullptr);
  if (length <= 0) RaiseLastError(L"WideCharToMultiByte");
  out.resize(static_cast<size_t>(length));
  return out;
}

std::wstring CodePageToWide(std::string_view bytes, UINT codePage, DWORD flags) {
  size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  if (bytes.empty()) return {};
  int length = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (length <= 0) RaiseLastError(L"MultiByteToWideChar");
  std::wstring out(static_cast<size_t>(length), L'\0');
  length = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), length);
  if (length <= 0) RaiseLastError(L"MultiByteToWideChar");
  out.resize(static_cast<size_t>(length));
  return out;
}

}  // namespace platform
