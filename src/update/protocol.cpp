// The exchanges with the update server: connectivity probe, table query, per-file query and
// file request, each carrying the "key" made from the server's token.
#include <windows.h>

#include <random>

#include "app/main_form.h"
#include "core/format_settings.h"
#include "core/md5.h"
#include "core/text.h"
#include "core/update_rules.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/process.h"
#include "update/http_client.h"
#include "support/err_log.h"
#include "update/upd_progress.h"

namespace {
TIdHTTP& Http() {
  if (!fm_MAIN_FORM || !fm_MAIN_FORM->IdHTTP1) throw platform::Exception(L"No HTTP client");
  return *fm_MAIN_FORM->IdHTTP1;
}

std::string Ascii(const std::wstring& s) { return std::string(s.begin(), s.end()); }
}  // namespace

std::wstring Tfm_UPD_PROGRESS::Key() const { return core::DoubleDigest(std::wstring(kKeyPhrase) + SERVER_TOKEN); }

std::wstring Tfm_UPD_PROGRESS::Address(const std::wstring& tail) const { return Http().BaseAddress + tail; }

bool Tfm_UPD_PROGRESS::CHECK_INTERNET() {
  SERVER_TOKEN.clear();
  try {
    SERVER_TOKEN = core::Trim(Http().Get(Address(L"index.php")));
  } catch (const std::exception&) {
    SERVER_TOKEN.clear();
  }
  return !SERVER_TOKEN.empty();
}

bool Tfm_UPD_PROGRESS::GET_UPDATE_TABLE() {
  if (!UPDATE_TABLE) UPDATE_TABLE = std::make_unique<std::vector<std::wstring>>();
  UPDATE_TABLE->clear();
  try {
    core::MultipartForm form(NewBoundary());
    form.Add("key", Ascii(Key()));
    std::wstring answer = Http().Post(Address(L"index.php"), form);
    if (core::IsTableAnswer(answer)) *UPDATE_TABLE = core::SplitLines(answer);
  } catch (const std::exception&) {
    UPDATE_TABLE->clear();
  }
  return !UPDATE_TABLE->empty();
}

std::wstring Tfm_UPD_PROGRESS::PerFileQuery(const std::wstring& fileName, core::MultipartForm& form) {
  const std::wstring today = core::FormatDateTime(core::ProcessFormatSettings().ShortDateFormat, platform::LocalNow(),
                                                  core::ProcessFormatSettings());
  form.Add("key", Ascii(Key()));
  form.Add("filename", Ascii(core::DoubleDigest(core::ExtractFileName(fileName) + today)));
  return Http().Post(Address(L"index.php"), form);
}

bool Tfm_UPD_PROGRESS::REQUEST_FILE(const std::wstring& row, const std::wstring& tempPath, core::MultipartForm& form) {
  const std::wstring id = core::GetFileId(row);
  if (id.empty()) return false;
  try {
    form.Add("key", Ascii(Key()));
    HANDLE file = CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) platform::RaiseLastError(L"Cannot create " + tempPath);
    bool ok = false;
    try {
      form.Add("key", Ascii(Key()));
      form.Add("id", platform::WideToCodePage(id, CP_UTF8, 0));
      Http().PostToFile(Address(L"file.php?id=" + id), form, file);
      ok = FlushFileBuffers(file) != 0;
    } catch (...) {
      CloseHandle(file);
      platform::RemoveFile(tempPath);
      throw;
    }
    if (!CloseHandle(file) || !ok) {
      platform::RemoveFile(tempPath);
      return false;
    }
    return true;
  } catch (const std::exception& e) {
    LogError(L"Tfm_UPD_PROGRESS.REQUEST_FILE:" + platform::MessageOf(e));
    return false;
  }
}

bool Tfm_UPD_PROGRESS::PARCE_TABLE(const std::wstring& PRODUCT_ID, const std::wstring&, const std::wstring& name) {
  try {
    return UPDATE_TABLE && core::ParceTable(*UPDATE_TABLE, PRODUCT_ID, name);
  } catch (const std::exception&) {
    return false;
  }
}

std::string NewBoundary() {
  static std::mt19937 random(GetTickCount() ^ GetCurrentProcessId());
  static const char digits[] = "0123456789abcdef";
  std::string b = "----KestrumBoundary";
  for (int i = 0; i < 24; ++i) b += digits[random() % 16];
  return b;
}

std::wstring MD5File(const std::wstring& fileName) {
  // Readers may share the file; writers are shut out while it is hashed.
  HANDLE h = CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) platform::RaiseLastError(L"Cannot open " + fileName);
  core::Md5 md5;
  std::unique_ptr<char[]> buffer(new char[1 << 20]);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(h, buffer.get(), 1 << 20, &got, nullptr)) {
      DWORD code = GetLastError();
      CloseHandle(h);
      SetLastError(code);
      platform::RaiseLastError(L"Cannot read " + fileName);
    }
    if (got == 0) break;
    md5.Update(buffer.get(), got);
  }
  CloseHandle(h);
  std::string hex = md5.FinalHex();
  return std::wstring(hex.begin(), hex.end());
}
