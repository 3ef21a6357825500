// Reading the launcher's parameter text and turning the target field back into a path; see
// updater_params.h.
#include "updater_params.h"

#include <algorithm>
#include <vector>

namespace brevan {

namespace {

constexpr wchar_t kTab = L'\t';

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\r' || c == L'\n';
}

std::wstring TrimBlanks(const std::wstring& s) {
  size_t begin = 0, end = s.size();
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

std::wstring StripQuotes(const std::wstring& s) {
  if (s.size() >= 2 && s.front() == L'"' && s.back() == L'"') return s.substr(1, s.size() - 2);
  return s;
}

std::vector<std::wstring> SplitAtTabs(const std::wstring& text) {
  std::vector<std::wstring> fields;
  size_t start = 0;
  for (;;) {
    size_t tab = text.find(kTab, start);
    fields.push_back(text.substr(start, tab == std::wstring::npos ? std::wstring::npos : tab - start));
    if (tab == std::wstring::npos) return fields;
    start = tab + 1;
  }
}

// Decimal digits only; the value is capped so that the budgets cannot overflow.
std::optional<unsigned> ParseWait(const std::wstring& s) {
  if (s.empty() || s.size() > 9) return std::nullopt;
  unsigned value = 0;
  for (wchar_t c : s) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - L'0');
  }
  return value;
}

unsigned ClampWait(unsigned waitMs) {
  return std::clamp(waitMs, 100u, 60000u);
}

ParseResult Reject(ParamError error, std::wstring detail, Language language) {
  ParseResult r;
  r.error = error;
  r.detail = std::move(detail);
  r.language = language;
  return r;
}

}  // namespace

std::wstring ParameterText(const std::wstring& commandLine) {
  size_t i = 0;
  const size_t n = commandLine.size();
  while (i < n && (commandLine[i] == L' ' || commandLine[i] == kTab)) ++i;
  if (i < n && commandLine[i] == L'"') {
    size_t close = commandLine.find(L'"', i + 1);
    i = close == std::wstring::npos ? n : close + 1;
  } else {
    while (i < n && commandLine[i] != L' ' && commandLine[i] != kTab) ++i;
  }
  while (i < n && (commandLine[i] == L' ' || commandLine[i] == kTab)) ++i;
  return StripQuotes(TrimBlanks(commandLine.substr(i)));
}

ParseResult ParseParameterText(const std::wstring& text) {
  std::vector<std::wstring> fields = SplitAtTabs(text);
  for (auto& f : fields) f = StripQuotes(TrimBlanks(f));

  // Even a rejected text is answered in the user's language when it says which.
  Language language = std::any_of(fields.begin(), fields.end(), [](const auto& f) { return f == L"BG_CASE"; })
                          ? Language::kBulgarian
                          : Language::kEnglish;

  if (TrimBlanks(text).empty()) return Reject(ParamError::kEmpty, L"", language);
  if (fields.size() != 4 && fields.size() != 5)
    return Reject(ParamError::kFieldCount, std::to_wstring(fields.size()), language);

  Params p;
  p.modeText = fields[0];
  if (fields[0] == L"0") {
    p.mode = Mode::kReplaceWhileWaiting;
  } else if (fields[0] == L"1") {
    p.mode = Mode::kReplaceLauncher;
  } else {
    return Reject(ParamError::kMode, fields[0], language);
  }
  p.download = fields[1];
  if (p.download.empty()) return Reject(ParamError::kDownload, L"", language);
  p.targetField = fields[2];
  if (p.targetField.empty()) return Reject(ParamError::kTarget, L"", language);
  std::optional<unsigned> wait = ParseWait(fields[3]);
  if (!wait) return Reject(ParamError::kWait, fields[3], language);
  p.waitMs = *wait;
  p.language = language;

  ParseResult r;
  r.params = std::move(p);
  r.language = language;
  return r;
}

std::wstring RestoreBlanks(const std::wstring& field) {
  std::wstring s = field;
  std::replace(s.begin(), s.end(), L'+', L' ');
  return s;
}

std::wstring ResolveTarget(const std::wstring& field, const ExistsFn& exists) {
  std::wstring path;
  size_t start = 0;
  for (bool first = true;; first = false) {
    size_t slash = field.find(L'\\', start);
    std::wstring part = field.substr(start, slash == std::wstring::npos ? std::wstring::npos : slash - start);
    if (!first) path += L'\\';
    if (part.find(L'+') == std::wstring::npos) {
      path += part;
    } else {
      std::wstring restored = RestoreBlanks(part);
      bool useLiteral = !exists(path + restored) && exists(path + part);
      path += useLiteral ? part : restored;
    }
    if (slash == std::wstring::npos) return path;
    start = slash + 1;
  }
}

unsigned ReplaceBudgetMs(unsigned waitMs) {
  return ClampWait(waitMs) * 10;
}
unsigned LauncherExitBudgetMs(unsigned waitMs) {
  return ClampWait(waitMs) * 20;
}

}  // namespace brevan
