// Reading and writing the settings file; see settings_file.h.
#include "support/settings_file.h"

#include "core/text.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "support/err_log.h"
#include "support/text_file.h"

namespace {
void EnsureLines() {
  if (!CONFIG_LINES) CONFIG_LINES = std::make_unique<std::vector<std::wstring>>();
}

bool ReadConfig(const std::wstring& path) {
  try {
    if (!platform::FileExists(path)) return false;
    TextFileContent content = LoadTextFile(path);
    *CONFIG_LINES = std::move(content.lines);
    CONFIG_ENCODING = content.encoding;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
}  // namespace

bool SAVE_CONFIG(const std::wstring& text) {
  const std::wstring first = CONFIG_FOLDER_1 + CONFIG_FILE_NAME_1;
  const std::wstring second = CONFIG_FOLDER_2 + CONFIG_FILE_NAME_2;
  try {
    EnsureLines();
    *CONFIG_LINES = core::SplitLines(text);
    if (DOCS_DATA_FOLDER_OK) SaveTextFile(first, text, CONFIG_ENCODING);
    if (APPDATA_DATA_FOLDER_OK) SaveTextFile(second, text, CONFIG_ENCODING);
  } catch (const std::exception& e) {
    WRITE_LOG_IF_OK(L"SAVE_CONFIG :" + platform::MessageOf(e));
  }
  return (DOCS_DATA_FOLDER_OK && platform::FileExists(first)) || (APPDATA_DATA_FOLDER_OK && platform::FileExists(second));
}

bool LOAD_CONFIG() {
  try {
    EnsureLines();
    CONFIG_LINES->clear();
  } catch (const std::exception& e) {
    WRITE_LOG_IF_OK(L"LOAD_CONFIG :" + platform::MessageOf(e));
    return false;
  }
  if (DOCS_DATA_FOLDER_OK) return ReadConfig(CONFIG_FOLDER_1 + CONFIG_FILE_NAME_1);
  if (APPDATA_DATA_FOLDER_OK) return ReadConfig(CONFIG_FOLDER_2 + CONFIG_FILE_NAME_2);
  return false;
}
