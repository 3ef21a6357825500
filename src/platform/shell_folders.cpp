// Special folders through the shell's item list; see shell_folders.h.
#include "platform/shell_folders.h"

#include <windows.h>
#include <shlobj.h>

namespace platform {

std::wstring SpecialFolder(int csidl) {
  LPITEMIDLIST pidl = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || !pidl) return {};
  wchar_t path[MAX_PATH * 2] = {};
  BOOL ok = SHGetPathFromIDListW(pidl, path);
  CoTaskMemFree(pidl);
  if (!ok) return {};
  std::wstring s = path;
  while (s.size() > 3 && s.back() == L'\\') s.pop_back();
  return s;
}

}  // namespace platform
