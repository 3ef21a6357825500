// Version resources; see version_resource.h.
#include "platform/version_resource.h"

#include <windows.h>

#include <vector>

#include "platform/errors.h"

namespace platform {

std::optional<FileVersion> ReadFileVersion(const std::wstring& path) {
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  if (size == 0) return std::nullopt;
  std::vector<unsigned char> buffer(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, buffer.data())) RaiseLastError(L"GetFileVersionInfo");
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(buffer.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info || length == 0)
    return std::nullopt;
  FileVersion v;
  v.major = HIWORD(info->dwFileVersionMS);
  v.minor = LOWORD(info->dwFileVersionMS);
  v.release = HIWORD(info->dwFileVersionLS);
  v.build = LOWORD(info->dwFileVersionLS);
  return v;
}

}  // namespace platform
