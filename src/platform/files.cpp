// File services; see files.h.
#include "platform/files.h"

#include "core/text.h"
#include "platform/errors.h"

namespace platform {

namespace {
class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (valid()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }
  bool Close() {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return CloseHandle(h) != 0;
  }

 private:
  HANDLE h_;
};

[[noreturn]] void RaiseIo(const std::wstring& what, const std::wstring& path) {
  DWORD code = GetLastError();
  throw EInOutError(what + L" \"" + path + L"\": " + SystemErrorText(code));
}

void WriteAll(HANDLE h, std::string_view bytes, const std::wstring& path) {
  while (!bytes.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20)), written = 0;
    if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0) RaiseIo(L"Cannot write", path);
    bytes.remove_prefix(written);
  }
}
}  // namespace

bool FileExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::wstring& path) {
  std::wstring p = path;
  while (p.size() > 3 && (p.back() == L'\\' || p.back() == L'/')) p.pop_back();
  if (p.empty()) return false;
  if (DirectoryExists(p)) return true;
  std::wstring parent = core::ExtractFileDir(p);
  if (parent.empty() || parent == p) return false;
  if (!ForceDirectories(parent)) return false;
  CreateDirectoryW(p.c_str(), nullptr);
  return DirectoryExists(p);
}

std::string ReadFileBytes(const std::wstring& path) {
  Handle h(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.valid()) RaiseIo(L"Cannot open", path);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h.get(), &size)) RaiseIo(L"Cannot read", path);
  if (size.QuadPart > (1LL << 30)) throw EInOutError(L"File too large: \"" + path + L"\"");
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(h.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
      RaiseIo(L"Cannot read", path);
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

void WriteFileAtomically(const std::wstring& path, std::string_view bytes) {
  const std::wstring temp = path + L".new";
  {
    Handle h(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) RaiseIo(L"Cannot create", temp);
    try {
      WriteAll(h.get(), bytes, temp);
      if (!FlushFileBuffers(h.get())) RaiseIo(L"Cannot flush", temp);
    } catch (...) {
      h.Close();
      DeleteFileW(temp.c_str());
      throw;
    }
    if (!h.Close()) {
      DeleteFileW(temp.c_str());
      RaiseIo(L"Cannot close", temp);
    }
  }
  if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD code = GetLastError();
    DeleteFileW(temp.c_str());
    SetLastError(code);
    RaiseIo(L"Cannot replace", path);
  }
}

void AppendToFile(const std::wstring& path, std::string_view bytes) {
  Handle h(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.valid()) RaiseIo(L"Cannot open", path);
  WriteAll(h.get(), bytes, path);
  if (!h.Close()) RaiseIo(L"Cannot close", path);
}

bool RenameFile(const std::wstring& from, const std::wstring& to) { return MoveFileW(from.c_str(), to.c_str()) != 0; }

bool CopyFileOver(const std::wstring& from, const std::wstring& to) {
  return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
}

bool RemoveFile(const std::wstring& path) { return DeleteFileW(path.c_str()) != 0; }

std::wstring ShortPathName(const std::wstring& path) {
  DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (n == 0) return {};
  std::wstring out(n, L'\0');
  n = GetShortPathNameW(path.c_str(), out.data(), n);
  out.resize(n);
  return out;
}

namespace {
std::wstring Env(const wchar_t* name) {
  DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
  if (n == 0) return {};
  std::wstring v(n, L'\0');
  n = GetEnvironmentVariableW(name, v.data(), n);
  v.resize(n);
  return v;
}
}  // namespace

std::wstring CurrentDirectory() {
  DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring v(n, L'\0');
  n = GetCurrentDirectoryW(n, v.data());
  v.resize(n);
  return v;
}

std::wstring TempFolder() {
  std::wstring t = Env(L"TMP");
  if (t.empty()) t = Env(L"TEMP");
  if (t.empty()) t = CurrentDirectory();
  while (t.size() > 3 && t.back() == L'\\') t.pop_back();
  return t;
}

std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& pattern) {
  std::vector<std::wstring> out;
  std::wstring base = core::IncludeTrailingBackslash(folder);
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((base + pattern).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(base + fd.cFileName);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return out;
}

}  // namespace platform
