// The replacement steps of Brevan.exe over the Win32 file API; see file_replace.h.
#include "file_replace.h"

#include <optional>

#include "unique_handle.h"

namespace brevan {

namespace {

constexpr DWORD kPollMs = 100;

class Deadline {
 public:
  explicit Deadline(unsigned ms) : end_(GetTickCount64() + ms) {}
  bool Passed() const { return GetTickCount64() >= end_; }

 private:
  ULONGLONG end_;
};

bool IsBusy(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_USER_MAPPED_FILE;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<ULONGLONG> FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A read-only installed file must not read as "in use" for ever.
void ClearReadOnly(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

bool Remove(const std::wstring& path) {
  ClearReadOnly(path);
  return DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

// A free name for the aside copy. A stale one from an earlier run is removed; one that cannot be
// removed (a library still loaded from it) is passed over.
std::wstring FreeAsideName(const std::wstring& target) {
  for (int i = 1; i <= 9; ++i) {
    std::wstring name = target + L".brevan-old" + (i == 1 ? L"" : std::to_wstring(i));
    if (!Exists(name) || Remove(name)) return name;
  }
  return L"";
}

// The previous file back at the target; retried briefly, since a scanner may glance at either file.
bool PutBack(const std::wstring& aside, const std::wstring& target) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    Remove(target);
    if (MoveFileExW(aside.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    Sleep(kPollMs);
  }
  return false;
}

enum class Attempt { kDone, kBusy, kFailed };

Attempt TryOnce(const std::wstring& download, const std::wstring& target, ULONGLONG size, ReplaceResult& r) {
  std::wstring aside;
  if (Exists(target)) {
    aside = FreeAsideName(target);
    if (aside.empty()) {
      r.error = ERROR_ALREADY_EXISTS;
      return Attempt::kBusy;
    }
    if (!MoveFileExW(target.c_str(), aside.c_str(), 0)) {
      r.error = GetLastError();
      return IsBusy(r.error) ? Attempt::kBusy : Attempt::kFailed;
    }
  }
  auto undo = [&] {
    if (aside.empty()) {
      Remove(target);
    } else if (!PutBack(aside, target)) {
      r.note = L"the previous file could not be put back and is at " + aside;
    }
  };
  if (!CopyFileW(download.c_str(), target.c_str(), TRUE)) {
    r.error = GetLastError();
    undo();
    return IsBusy(r.error) ? Attempt::kBusy : Attempt::kFailed;
  }
  if (FileSize(target) != size) {
    r.error = ERROR_WRITE_FAULT;
    undo();
    return Attempt::kFailed;
  }
  if (!aside.empty() && !Remove(aside)) {
    // Still held by someone (a loaded library): it goes at the next restart; we are elevated.
    MoveFileExW(aside.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    r.note = L"previous file left at " + aside + L" until restart";
  }
  return Attempt::kDone;
}

}  // namespace

ReplaceResult PutInPlace(const std::wstring& download, const std::wstring& target, unsigned budgetMs) {
  ReplaceResult r;
  std::optional<ULONGLONG> size = FileSize(download);
  if (!size) {
    r.error = GetLastError();
    r.code = ExitCode::kDownloadMissing;
    return r;
  }
  Deadline deadline(budgetMs);
  for (;;) {
    switch (TryOnce(download, target, *size, r)) {
      case Attempt::kDone:
        r.code = ExitCode::kOk;
        return r;
      case Attempt::kFailed:
        r.code = ExitCode::kCopyFailed;
        return r;
      case Attempt::kBusy:
        if (deadline.Passed()) {
          r.code = ExitCode::kTargetBusy;
          return r;
        }
        Sleep(kPollMs);
        break;
    }
  }
}

bool WaitUntilReleased(const std::wstring& target, unsigned budgetMs) {
  ClearReadOnly(target);
  Deadline deadline(budgetMs);
  for (;;) {
    UniqueHandle h = Own(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (h) return true;
    // Anything but "in use" is for the replacement to meet and report.
    if (!IsBusy(GetLastError())) return true;
    if (deadline.Passed()) return false;
    Sleep(kPollMs);
  }
}

}  // namespace brevan
