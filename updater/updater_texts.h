// The texts Brevan.exe shows when an update fails, in Bulgarian or English, and its log line. Kept
// apart from the Win32 code so that the choice of text can be checked directly.
#pragma once

#include <string>

#include "updater_params.h"

namespace brevan {

enum class Message {
  kCaption,
  kBadParameters,    // %1: the reason
  kDownloadMissing,  // %1: the target, %2: the downloaded file
  kTargetBusy,       // %1: the target
  kLauncherBusy,     // %1: the target
  kCopyFailed,       // %1: the target
  kRestartFailed,    // %1: the target
  kUnexpected,
};

// The text in the language, with its %1 and %2 still in it.
const wchar_t* Text(Message message, Language language);

// Why a parameter text was rejected, in the language.
std::wstring ParamErrorText(const ParseResult& result);

// The whole text for the user about a rejected parameter text.
std::wstring BadParametersText(const ParseResult& result);

// The text for the user about a failed run after the parameters were accepted (empty for kOk).
std::wstring FailureText(ExitCode code, Mode mode, Language language, const std::wstring& target,
                         const std::wstring& download);

// "%1" and "%2" replaced by the arguments.
std::wstring Fill(const std::wstring& text, const std::wstring& arg1, const std::wstring& arg2 = L"");

// Short name of an exit code for the log: "ok", "target-busy", ...
const wchar_t* ExitCodeName(ExitCode code);

// One line of Brevan_log.txt, without the line end. Tabs in the values are shown as "<TAB>".
std::wstring LogLine(const std::wstring& timestamp, const std::wstring& mode, const std::wstring& target,
                     ExitCode code, const std::wstring& note);

}  // namespace brevan
