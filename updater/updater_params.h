// What Brevan.exe reads from the launcher and what it answers: the parameter text, the exit codes,
// the target path with its blanks restored and the time bounds. Kept free of <windows.h> so these
// rules can be read, and tested, apart from the file handling.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace brevan {

// Exit codes of Brevan.exe. The launcher only tells 0 from the rest; the others tell the log and the
// tests what happened.
enum class ExitCode : int {
  kOk = 0,               // the downloaded file is in place at the target path
  kUnexpected = 1,       // an unforeseen error inside Brevan itself
  kBadParameters = 2,    // the parameter text could not be read; nothing was touched
  kDownloadMissing = 3,  // the downloaded file does not exist; nothing was touched
  kTargetBusy = 4,       // the target (or the launcher) stayed in use for the whole bounded wait
  kCopyFailed = 5,       // the new file could not be written complete; the previous one was put back
  kRestartFailed = 6,    // mode "1": the launcher was replaced but could not be started again
};

enum class Mode {
  kReplaceWhileWaiting,  // "0": the launcher waits for Brevan to end
  kReplaceLauncher,      // "1": the launcher's own executable, once the launcher has ended
};

enum class Language { kEnglish, kBulgarian };

enum class ParamError { kNone, kEmpty, kFieldCount, kMode, kDownload, kTarget, kWait };

struct Params {
  Mode mode = Mode::kReplaceWhileWaiting;
  std::wstring modeText;     // "0" or "1", for the log
  std::wstring download;     // the downloaded file, as given
  std::wstring targetField;  // the target path as given, with "+" for every blank
  unsigned waitMs = 0;
  Language language = Language::kEnglish;
};

struct ParseResult {
  std::optional<Params> params;            // set when the text was accepted
  ParamError error = ParamError::kNone;    // why it was not
  std::wstring detail;                     // the offending value, or the field count
  Language language = Language::kEnglish;  // best guess, also for a rejected text
};

// The parameter text within a whole command line: the program name (quoted or not) and the blanks
// after it skipped, surrounding blanks and line ends dropped, and one pair of enclosing double
// quotes removed (the shell may or may not add them).
std::wstring ParameterText(const std::wstring& commandLine);

// Five fields joined by tabs: mode, downloaded file, target, wait value in ms, language ("BG_CASE"
// selects Bulgarian; anything else, or a missing fifth field, English).
ParseResult ParseParameterText(const std::wstring& text);
inline ParseResult ParseCommandLine(const std::wstring& commandLine) {
  return ParseParameterText(ParameterText(commandLine));
}

// Every "+" back to a blank.
std::wstring RestoreBlanks(const std::wstring& field);

// The target path from its field. A "+" of a real name cannot be told from a blank, so each part of
// the path that holds one is looked up: the part with blanks restored is taken when it exists or
// when the literal part does not; otherwise the literal part. `exists` says whether a path exists.
using ExistsFn = std::function<bool(const std::wstring& path)>;
std::wstring ResolveTarget(const std::wstring& field, const ExistsFn& exists);

// How long a busy target is retried: ten times the wait value (1500 gives 15 s). The wait value is
// taken as at least 100 and at most 60000 ms.
unsigned ReplaceBudgetMs(unsigned waitMs);
// How long mode "1" waits for the launcher to end: twenty times the wait value (3000 gives 60 s).
unsigned LauncherExitBudgetMs(unsigned waitMs);

}  // namespace brevan
