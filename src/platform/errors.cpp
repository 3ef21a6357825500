// Error texts; see errors.h.
#include "platform/errors.h"

#include "core/text.h"

namespace platform {

std::wstring SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n ? core::Trim(std::wstring(buffer, n)) : L"System error " + std::to_wstring(code);
  if (buffer) LocalFree(buffer);
  return text;
}

std::wstring MessageOf(const std::exception& e) {
  if (auto* k = dynamic_cast<const Exception*>(&e)) return k->Message();
  std::wstring w;
  for (const char* p = e.what(); *p; ++p) w += static_cast<wchar_t>(static_cast<unsigned char>(*p));
  return w;
}

void RaiseLastError(const std::wstring& what) {
  DWORD code = GetLastError();
  throw Exception(what + L": " + SystemErrorText(code));
}

}  // namespace platform
