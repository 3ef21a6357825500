// Files and folders with wide paths: existence, folder creation with parents, whole-file reads,
// appends, moves and copies, atomic replacement, short names, the temp folder and enumeration.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace platform {

bool FileExists(const std::wstring& path);       // a file, not a folder
bool DirectoryExists(const std::wstring& path);
// Creates the folder and its missing parents; true when it exists afterwards.
bool ForceDirectories(const std::wstring& path);

// Reads the whole file; throws EInOutError when it cannot be opened or read.
std::string ReadFileBytes(const std::wstring& path);

// Writes the file so that readers see the old or the new content, never a part: the bytes go to a
// sibling file that is flushed and then moved over the target. Throws EInOutError.
void WriteFileAtomically(const std::wstring& path, std::string_view bytes);

// Appends to the file (created when absent), opening and closing it. Throws EInOutError.
void AppendToFile(const std::wstring& path, std::string_view bytes);

bool RenameFile(const std::wstring& from, const std::wstring& to);  // fails when `to` exists
bool CopyFileOver(const std::wstring& from, const std::wstring& to);
bool RemoveFile(const std::wstring& path);

// The 8.3 form as the file system reports it; empty for a missing file.
std::wstring ShortPathName(const std::wstring& path);

// TMP, else TEMP, else the current folder; without a trailing backslash.
std::wstring TempFolder();

// Entries matching the pattern (any attributes), in the platform's order; full paths.
// Empty when the folder is missing or unreadable.
std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& pattern);

std::wstring CurrentDirectory();

}  // namespace platform
