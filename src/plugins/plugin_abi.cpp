// Decoding plugin output; see plugin_abi.h.
#include "plugins/plugin_abi.h"

#include "support/dstr_parser.h"
#include "support/err_log.h"

namespace plugin_abi {

std::wstring DecodeOutput(const ExchangeBuffer& buffer, const char* exportName) {
  int32_t count = buffer.count;
  if (count > kBufferSize) {
    std::wstring name;
    for (const char* p = exportName; *p; ++p) name += static_cast<wchar_t>(*p);
    LogError(L"Plugin " + name + L" :reported " + std::to_wstring(count) +
             L" bytes for a buffer of 2048; the text was cut at 2048 bytes");
    count = kBufferSize;
  }
  return DStrParser::AnsiBufferToString(buffer.bytes.get(), count, 1251);
}

}  // namespace plugin_abi
