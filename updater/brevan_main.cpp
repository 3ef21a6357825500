// Brevan.exe: started elevated by the launcher to put a downloaded file where the launcher may not
// write (mode "0", while the launcher waits), or to replace the launcher's own executable once the
// launcher has ended and start it again (mode "1"). The exit codes are listed in updater_params.h.
#include <windows.h>

#include <string>

#include "file_replace.h"
#include "unique_handle.h"
#include "updater_params.h"
#include "updater_texts.h"

namespace brevan {

namespace {

// What a run ends with: the exit code, and what the log and the user are told.
struct Outcome {
  ExitCode code = ExitCode::kOk;
  std::wstring message;  // for the user; empty when all went well
  std::wstring note;     // for the log
};

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ModuleFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return L"";
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::string Utf8(const std::wstring& s) {
  if (s.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Timestamp() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  wchar_t buf[32];
  swprintf(buf, 32, L"%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
           t.wSecond);
  return buf;
}

// One line per run beside Brevan.exe, in UTF-8. The log is a help, not a duty: failures to write it
// are ignored.
void AppendLog(const std::wstring& line) {
  std::wstring folder = ModuleFolder();
  if (folder.empty()) return;
  UniqueHandle file = Own(CreateFileW((folder + L"Brevan_log.txt").c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  bool created = GetLastError() != ERROR_ALREADY_EXISTS;
  std::string bytes = (created ? "\xEF\xBB\xBF" : "") + Utf8(line + L"\r\n");
  DWORD written = 0;
  WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool Silent() {
  wchar_t value[8] = {};
  DWORD n = GetEnvironmentVariableW(L"KESTRUM_UPDATER_SILENT", value, 8);
  return n > 0 && n < 8 && std::wstring(value) == L"1";
}

void Warn(const std::wstring& message, Language language) {
  if (message.empty() || Silent()) return;
  MessageBoxW(nullptr, message.c_str(), Text(Message::kCaption, language),
              MB_OK | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
}

// Starts the program in its own folder, the way a double click would.
bool StartProgram(const std::wstring& exe, DWORD& error) {
  std::wstring folder = exe.substr(0, exe.find_last_of(L'\\') + 1);
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  AllowSetForegroundWindow(ASFW_ANY);
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    error = GetLastError();
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

void AddNote(std::wstring& note, const std::wstring& more) {
  if (more.empty()) return;
  if (!note.empty()) note += L"  ";
  note += more;
}

std::wstring ErrorNote(const ReplaceResult& r) {
  std::wstring note = r.code != ExitCode::kOk ? L"error=" + std::to_wstring(r.error) : L"";
  AddNote(note, r.note);
  return note;
}

Outcome FromReplace(const ReplaceResult& r, const Params& p, const std::wstring& target) {
  return {r.code, FailureText(r.code, p.mode, p.language, target, p.download), ErrorNote(r)};
}

Outcome ReplaceWhileWaiting(const Params& p, const std::wstring& target) {
  // The launcher deletes the download once we have ended.
  return FromReplace(PutInPlace(p.download, target, ReplaceBudgetMs(p.waitMs)), p, target);
}

Outcome ReplaceLauncher(const Params& p, const std::wstring& target) {
  // While the launcher runs its executable cannot be opened for writing; a launcher that does not
  // end is still there for the user, so it is not started a second time.
  if (!WaitUntilReleased(target, LauncherExitBudgetMs(p.waitMs)))
    return {ExitCode::kTargetBusy, FailureText(ExitCode::kTargetBusy, p.mode, p.language, target, p.download),
            L"the launcher did not end"};

  ReplaceResult r = PutInPlace(p.download, target, ReplaceBudgetMs(p.waitMs));
  if (r.code == ExitCode::kOk) DeleteFileW(p.download.c_str());
  Outcome outcome = FromReplace(r, p, target);

  // The updated launcher, or after a failure the previous one, so the user is not left without it.
  DWORD error = ERROR_FILE_NOT_FOUND;
  if (Exists(target) && StartProgram(target, error)) return outcome;
  AddNote(outcome.note, L"start error=" + std::to_wstring(error));
  if (outcome.code == ExitCode::kOk) {
    outcome.code = ExitCode::kRestartFailed;
    outcome.message = FailureText(ExitCode::kRestartFailed, p.mode, p.language, target, p.download);
  }
  return outcome;
}

ExitCode Run() {
  std::wstring text = ParameterText(GetCommandLineW());
  ParseResult parsed = ParseParameterText(text);
  if (!parsed.params) {
    AppendLog(LogLine(Timestamp(), L"?", L"-", ExitCode::kBadParameters, L"parameters=[" + text + L"]"));
    Warn(BadParametersText(parsed), parsed.language);
    return ExitCode::kBadParameters;
  }
  const Params& p = *parsed.params;
  std::wstring target = ResolveTarget(p.targetField, Exists);
  Outcome outcome =
      p.mode == Mode::kReplaceLauncher ? ReplaceLauncher(p, target) : ReplaceWhileWaiting(p, target);
  AppendLog(LogLine(Timestamp(), p.modeText, target, outcome.code, outcome.note));
  Warn(outcome.message, p.language);
  return outcome.code;
}

}  // namespace

}  // namespace brevan

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    return static_cast<int>(brevan::Run());
  } catch (...) {
    // Nothing may escape to the system; the launcher only needs a non-zero code.
    return static_cast<int>(brevan::ExitCode::kUnexpected);
  }
}
