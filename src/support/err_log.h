// The program's folders and its two logs. INIT_ERR_SUPPORT sets the folder values once, at the
// main window's first showing; afterwards they are only read. Each log line is one
// open-append-close of an ANSI text file; write failures reach the caller as EInOutError.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

inline std::wstring EXE_FOLDER;
inline std::wstring DOCS_DATA_FOLDER;
inline bool DOCS_DATA_FOLDER_OK = false;
inline std::wstring APPDATA_DATA_FOLDER;
inline bool APPDATA_DATA_FOLDER_OK = false;
inline std::wstring CONFIG_FOLDER_1;
inline std::wstring CONFIG_FOLDER_2;
inline std::wstring LOG_FOLDER_PATH;
inline bool LOG_FOLDER_OK = false;

// Creates MyDialogs (owner, caption) and sets up the folders; exceptions arrive as "INIT_ERR_SUPPORT".
bool INIT_ERR_SUPPORT(HWND owner, const std::wstring& title, const std::wstring& documents,
                      const std::wstring& appData);
bool SET_LOG_FOLDER(const std::wstring& title, const std::wstring& documents, const std::wstring& appData);
// 0: the log file exists or was created; -4: creation failed; -10: an exception escaped.
int32_t CHECK_LOG_FILE(const std::wstring& folder);

void WRITE_LOG(const std::wstring& folder, const std::wstring& message);
void WRITE_UPDATE_LOG(const std::wstring& message);

// The error log's name: the executable's file name with "_LOG.txt" for its extension.
std::wstring LogFileName();
std::wstring UpdateLogPath();

// WRITE_LOG into LOG_FOLDER_PATH, and WRITE_UPDATE_LOG, for callers whose own work must go on
// when the log cannot be written (missing folder, full disk). Never throw.
void LogError(const std::wstring& message);
void LogUpdateError(const std::wstring& message);

// WRITE_LOG into LOG_FOLDER_PATH only while LOG_FOLDER_OK: the rule of the settings, log and text
// services. Never throws.
void WRITE_LOG_IF_OK(const std::wstring& message);
