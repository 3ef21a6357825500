// The host's side of the plugin contract: export names and signatures (stdcall on i686), the
// 2048-byte exchange buffer with its count, and the plugin-error exception.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/errors.h"

// A failed plugin call: ErrorCode is the plugin's non-zero code, or -999 for a missing export.
class EMyException : public platform::Exception {
 public:
  explicit EMyException(int32_t code) : platform::Exception(L"Error code: " + std::to_wstring(code)), ErrorCode(code) {}
  int32_t ErrorCode;
};

namespace plugin_abi {

inline constexpr int32_t kMissingExport = -999;
inline constexpr int32_t kBufferSize = 2048;

using GetTypeDllFn = int32_t(__stdcall*)();
using TextOutFn = int32_t(__stdcall*)(char* buffer, int32_t* count);  // AreYouMine, GetCountry, GetDeviceName
using GetTypeCommunicationFn = int32_t(__stdcall*)(int32_t* type);
using GetSupportedDevicesExFn = int32_t(__stdcall*)(const char* country, int32_t countryCount, char* buffer,
                                                    int32_t* count);
using GetPluginIfnoFn = int32_t(__stdcall*)(int32_t index, char* buffer, int32_t* count);
using ShowPluginFn = int32_t(__stdcall*)(const char* params, int32_t count);

// Exact export names.
inline constexpr const char* kGetTypeDll = "GetTypeDll";
inline constexpr const char* kAreYouMine = "AreYouMine";
inline constexpr const char* kGetCountry = "GetCountry";
inline constexpr const char* kGetDeviceName = "GetDeviceName";
inline constexpr const char* kGetTypeCommunication = "GetTypeCommunication";
inline constexpr const char* kGetSupportedDevicesEx = "GetSupportedDevices_Ex";
inline constexpr const char* kGetPluginIfno = "GetPluginIfno";
inline constexpr const char* kShowPlugin = "ShowPlugin";

template <typename Fn>
Fn Find(HMODULE library, const char* name) {
  return library ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

// One exchange buffer: 2048 bytes, zeroed when allocated (a plugin that reports more than it
// wrote then shows zeros, not stale memory), and the count the plugin stores.
struct ExchangeBuffer {
  std::unique_ptr<char[]> bytes{new char[kBufferSize]()};
  int32_t count = 0;
  char* data() { return bytes.get(); }
};

// Decodes the first `count` bytes in code page 1251. A count above the buffer's size never reads
// past it: the text is cut at 2048 bytes and the excess is logged against the export.
std::wstring DecodeOutput(const ExchangeBuffer& buffer, const char* exportName);

}  // namespace plugin_abi
