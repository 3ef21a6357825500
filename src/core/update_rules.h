// The update table's rows and the decisions taken on them: columns, the download identifier,
// the filter, the version and checksum comparisons, and the elevated updater's parameter text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace core {

// An answer of more than 100 characters is a table; its lines are the rows.
bool IsTableAnswer(const std::wstring& answer);

// Column k (1 to 18) of a row "c1","c2",...,"c18", without its quotes.
std::wstring GetTableColumn(int k, const std::wstring& row);

// The characters after the first "id=" up to the next double quote (or the end); empty when none.
std::wstring GetFileId(const std::wstring& row);

// Keeps the rows whose text (without first and last character) contains both the file name and
// the product identifier. A table of fewer than two rows is left alone (false).
bool ParceTable(std::vector<std::wstring>& table, const std::wstring& productId, const std::wstring& fileName);

struct FileVersion4 {
  int32_t major = 1, minor = 0, release = 0, build = 0;
  std::wstring Text() const;
};

struct Comparison {
  bool newer = false;
  std::wstring error;  // a column that is not a number: not newer, and this message is logged
};

// Column 6 equal to the installed version text: not newer. Otherwise the parts of columns 7 to
// 10 compared in order, major first: newer only when the offered version is higher.
Comparison CompareByVersion(const FileVersion4& installed, const std::wstring& row);

// Column 18 differing from the installed file's MD5 (exact text) means newer.
Comparison CompareByMd5(const std::wstring& installedMd5, const std::wstring& row);

// The five tab-separated fields of the elevated updater.
std::wstring UpdaterParameters(const std::wstring& mode, const std::wstring& shortTempPath,
                               const std::wstring& installedPath, const std::wstring& waitValue,
                               const std::wstring& country);

// The shell's refusal codes in English or Bulgarian; empty for every other code.
std::wstring ShellErrorText(int code, bool bulgarian);

}  // namespace core
