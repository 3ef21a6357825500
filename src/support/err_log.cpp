// Folders and logs; see err_log.h.
#include "support/err_log.h"

#include "app/my_dialogs.h"
#include "core/format_settings.h"
#include "core/text.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/process.h"

namespace {

void AppendLogLine(const std::wstring& path, const std::wstring& message) {
  std::wstring line = core::LogLine(platform::LocalNow(), core::ProcessFormatSettings(), message);
  std::string bytes;
  try {
    bytes = platform::WideToCodePage(line, CP_ACP, platform::kAnsiConversionFlags);
  } catch (const platform::Exception&) {
    bytes = platform::WideToCodePage(line, CP_ACP, 0);
  }
  platform::AppendToFile(path, bytes);
}

// Builds one data folder: base + "\" + title + "\", created with its parents; the flag says
// whether it exists as a directory afterwards.
void SetDataFolder(const std::wstring& base, const std::wstring& title, std::wstring& folder, bool& ok) {
  ok = false;
  try {
    if (base.empty()) throw platform::Exception(L"No base folder");
    folder = core::IncludeTrailingBackslash(core::IncludeTrailingBackslash(base) + title);
    if (!platform::DirectoryExists(folder)) platform::ForceDirectories(folder);
  } catch (const std::exception&) {
    ok = false;
  }
  ok = !folder.empty() && platform::DirectoryExists(folder);
}

void CHOOSE_LOG_FOLDER() {
  LOG_FOLDER_OK = false;
  if (DOCS_DATA_FOLDER_OK) {
    LOG_FOLDER_PATH = DOCS_DATA_FOLDER + L"LOG_FOLDER\\";
    platform::ForceDirectories(LOG_FOLDER_PATH);
  } else {
    LOG_FOLDER_PATH = APPDATA_DATA_FOLDER + L"LOG_FOLDER\\";
    if (APPDATA_DATA_FOLDER_OK) platform::ForceDirectories(LOG_FOLDER_PATH);
  }
  LOG_FOLDER_OK = platform::DirectoryExists(LOG_FOLDER_PATH);
}

bool CREATE_LOG_FILE(const std::wstring& path) {
  try {
    AppendLogLine(path, L"Log file creation");
  } catch (const std::exception& e) {
    if (LOG_FOLDER_OK) WRITE_LOG(LOG_FOLDER_PATH, L"SET_LOG_FOLDER :" + platform::MessageOf(e));
  }
  return platform::FileExists(path);
}

}  // namespace

std::wstring LogFileName() { return core::ChangeFileExt(core::ExtractFileName(platform::ExecutablePath()), L"_LOG.txt"); }

std::wstring UpdateLogPath() { return core::ChangeFileExt(platform::ExecutablePath(), L"_log.txt"); }

void WRITE_LOG(const std::wstring& folder, const std::wstring& message) { AppendLogLine(folder + LogFileName(), message); }

void WRITE_UPDATE_LOG(const std::wstring& message) { AppendLogLine(UpdateLogPath(), message); }

void LogError(const std::wstring& message) {
  try {
    WRITE_LOG(LOG_FOLDER_PATH, message);
  } catch (const std::exception&) {
  }
}

void LogUpdateError(const std::wstring& message) {
  try {
    WRITE_UPDATE_LOG(message);
  } catch (const std::exception&) {
  }
}

void WRITE_LOG_IF_OK(const std::wstring& message) {
  if (!LOG_FOLDER_OK) return;
  try {
    WRITE_LOG(LOG_FOLDER_PATH, message);
  } catch (const std::exception&) {
    // The log itself is failing; there is nowhere left to report it.
  }
}

int32_t CHECK_LOG_FILE(const std::wstring& folder) {
  try {
    std::wstring path = folder + LogFileName();
    if (platform::FileExists(path)) return 0;
    return CREATE_LOG_FILE(path) ? 0 : -4;
  } catch (const std::exception&) {
    return -10;
  }
}

bool SET_LOG_FOLDER(const std::wstring& title, const std::wstring& documents, const std::wstring& appData) {
  try {
    EXE_FOLDER = core::IncludeTrailingBackslash(core::ExtractFileDir(platform::ExecutablePath()));
    SetDataFolder(documents, title, DOCS_DATA_FOLDER, DOCS_DATA_FOLDER_OK);
    SetDataFolder(appData, title, APPDATA_DATA_FOLDER, APPDATA_DATA_FOLDER_OK);
    CHOOSE_LOG_FOLDER();
    if (!DOCS_DATA_FOLDER_OK && !APPDATA_DATA_FOLDER_OK) return false;
    if (DOCS_DATA_FOLDER_OK) CONFIG_FOLDER_1 = DOCS_DATA_FOLDER;
    if (APPDATA_DATA_FOLDER_OK) CONFIG_FOLDER_2 = APPDATA_DATA_FOLDER;
    if (!LOG_FOLDER_OK) return false;
    return CHECK_LOG_FILE(LOG_FOLDER_PATH) == 0;
  } catch (const std::exception&) {
    return false;
  }
}

bool INIT_ERR_SUPPORT(HWND owner, const std::wstring& title, const std::wstring& documents,
                      const std::wstring& appData) {
  try {
    MyDialogs = std::make_unique<TMyDialogs>();
    MyDialogs->MyHandle = owner;
    MyDialogs->SetMyCaption(title);
    return SET_LOG_FOLDER(title, documents, appData);
  } catch (const std::exception&) {
    throw platform::Exception(L"INIT_ERR_SUPPORT");
  }
}
