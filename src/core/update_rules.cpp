// Update table rows and comparisons; see update_rules.h.
#include "core/update_rules.h"

#include "core/text.h"

namespace core {

namespace {
constexpr std::wstring_view kSeparator = L"\",\"";

// Drops the text up to and including the first separator (the first two characters without one).
void DropColumn(std::wstring& rest) {
  size_t p = rest.find(kSeparator);
  rest.erase(0, p == std::wstring::npos ? std::min<size_t>(2, rest.size()) : p + kSeparator.size());
}

std::wstring UpToSeparator(const std::wstring& rest) {
  size_t p = rest.find(kSeparator);
  return p == std::wstring::npos ? std::wstring() : rest.substr(0, p);
}
}  // namespace

bool IsTableAnswer(const std::wstring& answer) { return answer.size() > 100; }

std::wstring GetTableColumn(int k, const std::wstring& row) {
  if (row.empty() || k < 1 || k > 18) return {};
  if (k == 1) return UpToSeparator(row.substr(1));
  std::wstring rest = row;
  for (int i = 0; i < (k == 18 ? 17 : k - 1); ++i) DropColumn(rest);
  if (k == 18) return rest.empty() ? rest : rest.substr(0, rest.size() - 1);
  return UpToSeparator(rest);
}

std::wstring GetFileId(const std::wstring& row) {
  size_t p = row.find(L"id=");
  if (p == std::wstring::npos) return {};
  p += 3;
  size_t q = row.find(L'"', p);
  return row.substr(p, q == std::wstring::npos ? std::wstring::npos : q - p);
}

bool ParceTable(std::vector<std::wstring>& table, const std::wstring& productId, const std::wstring& fileName) {
  if (table.size() < 2) return false;
  for (size_t i = table.size(); i-- > 0;) {
    const std::wstring& line = table[i];
    std::wstring inner = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::wstring();
    if (!(Contains(inner, fileName) && Contains(inner, productId))) table.erase(table.begin() + static_cast<ptrdiff_t>(i));
  }
  return !table.empty();
}

std::wstring FileVersion4::Text() const {
  return ToDecimal(major) + L"." + ToDecimal(minor) + L"." + ToDecimal(release) + L"." + ToDecimal(build);
}

Comparison CompareByVersion(const FileVersion4& installed, const std::wstring& row) {
  if (GetTableColumn(6, row) == installed.Text()) return {};
  int32_t offered[4];
  for (int i = 0; i < 4; ++i) {
    std::wstring column = GetTableColumn(7 + i, row);
    auto v = ParseDecimal(column);
    if (!v) return {false, L"'" + column + L"' is not a valid integer value"};
    offered[i] = *v;
  }
  const int32_t local[4] = {installed.major, installed.minor, installed.release, installed.build};
  for (int i = 0; i < 4; ++i) {
    if (offered[i] > local[i]) return {true, {}};
    if (offered[i] < local[i]) return {};
  }
  return {};
}

Comparison CompareByMd5(const std::wstring& installedMd5, const std::wstring& row) {
  return {GetTableColumn(18, row) != installedMd5, {}};
}

std::wstring UpdaterParameters(const std::wstring& mode, const std::wstring& shortTempPath,
                               const std::wstring& installedPath, const std::wstring& waitValue,
                               const std::wstring& country) {
  return mode + L'\t' + shortTempPath + L'\t' + ReplaceAll(installedPath, L" ", L"+") + L'\t' + waitValue + L'\t' +
         (country == L"BULGARIA" ? L"BG_CASE" : L"EN_CASE");
}

std::wstring ShellErrorText(int code, bool bg) {
  switch (code) {
    case 0:
      return bg ? L"Операционната система е с недостатъчно памет или ресурси."
                : L"The operating system is out of memory or resources.";
    case 2: return bg ? L"Файлът, който се опитвате да стартирате - липсва." : L"The specified file was not found.";
    case 3: return bg ? L"Посочения път до файла липсва." : L"The specified path was not found.";
    case 5:
      return bg ? L"Операционната система забранява достъпа до дадения файл."
                : L"The operating system denied access to the specified file.";
    case 8:
      return bg ? L"Няма достатъчно памет за да се извърши операцията."
                : L"There was not enough memory to complete the operation.";
    case 11:
      return bg ? L"Посочената програма е невалидна (non-Win32 .exe or error in .exe image)."
                : L"The .exe file is invalid (non-Win32 .exe or error in .exe image).";
    case 26: return L"A sharing violation occurred.";
    case 27:
      return bg ? L"Името на файла е непълно или невалидно." : L"The file name association is incomplete or invalid.";
    case 28: return L"The DDE transaction could not be completed because the request timed out.";
    case 29: return L"The DDE transaction failed.";
    case 30: return L"The DDE transaction could not be completed because other DDE transactions were being processed.";
    case 31:
      return bg ? L"Няма програма, която да е асоциирана с даденото разширение на файла."
                  L" Тази грешка се връща също, ако се опитате да изпечатате файл, който е непринтируем."
                : L"There is no application associated with the given file name extension. This error will also be "
                  L"returned if you attempt to print a file that is not printable.";
    case 32: return bg ? L"Посочения DLL файл не е намерен." : L"The specified DLL was not found.";
    default: return {};
  }
}

}  // namespace core
