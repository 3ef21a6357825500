// Brevan.exe's texts for the user in both languages and the format of its log line; see
// updater_texts.h.
#include "updater_texts.h"

namespace brevan {

namespace {

struct Pair {
  const wchar_t* english;
  const wchar_t* bulgarian;
};

Pair Texts(Message message) {
  switch (message) {
    case Message::kCaption:
      return {L"Kestrum Client - update", L"Kestrum Client - обновяване"};
    case Message::kBadParameters:
      return {L"The updater was started with invalid parameters: %1.\n\nNo file was changed.",
              L"Програмата за обновяване е стартирана с невалидни параметри: %1.\n\n"
              L"Нито един файл не е променен."};
    case Message::kDownloadMissing:
      return {L"The file was not updated:\n%1\n\nThe downloaded file was not found:\n%2",
              L"Файлът не е обновен:\n%1\n\nИзтегленият файл не е намерен:\n%2"};
    case Message::kTargetBusy:
      return {
          L"Updating the file failed:\n%1\n\nThe file is in use by another program. Close that program "
          L"and run the update again.",
          L"Неуспешно обновяване на файла:\n%1\n\nФайлът се използва от друга програма. Затворете я и "
          L"стартирайте обновяването отново."};
    case Message::kLauncherBusy:
      return {
          L"Kestrum Client did not close in time and could not be updated:\n%1\n\nClose the program and "
          L"run the update again.",
          L"Kestrum Client не беше затворен навреме и не може да бъде обновен:\n%1\n\nЗатворете "
          L"програмата и стартирайте обновяването отново."};
    case Message::kCopyFailed:
      return {
          L"Updating the file failed:\n%1\n\nThe new version could not be written; the previous version "
          L"was kept.",
          L"Неуспешно обновяване на файла:\n%1\n\nНовата версия не може да бъде записана; запазена е "
          L"предишната версия."};
    case Message::kRestartFailed:
      return {L"Kestrum Client was updated but could not be started again:\n%1\n\nPlease start it yourself.",
              L"Kestrum Client е обновен, но не може да бъде стартиран отново:\n%1\n\nМоля, стартирайте го "
              L"ръчно."};
    case Message::kUnexpected:
      return {L"The update stopped because of an unexpected error.",
              L"Обновяването спря поради неочаквана грешка."};
  }
  return {L"", L""};
}

}  // namespace

const wchar_t* Text(Message message, Language language) {
  Pair p = Texts(message);
  return language == Language::kBulgarian ? p.bulgarian : p.english;
}

std::wstring ParamErrorText(const ParseResult& r) {
  const bool bg = r.language == Language::kBulgarian;
  switch (r.error) {
    case ParamError::kNone:
      return L"";
    case ParamError::kEmpty:
      return bg ? L"не са подадени параметри" : L"no parameters were given";
    case ParamError::kFieldCount:
      return Fill(bg ? L"очакват се 5 полета, разделени с табулация, а са получени %1"
                     : L"5 fields separated by tabs were expected, %1 were given",
                  r.detail);
    case ParamError::kMode:
      return Fill(bg ? L"непознат режим „%1“" : L"unknown mode \"%1\"", r.detail);
    case ParamError::kDownload:
      return bg ? L"липсва името на изтегления файл" : L"the downloaded file is not named";
    case ParamError::kTarget:
      return bg ? L"липсва името на файла за обновяване" : L"the file to update is not named";
    case ParamError::kWait:
      return Fill(bg ? L"стойността за изчакване „%1“ не е число" : L"the wait value \"%1\" is not a number",
                  r.detail);
  }
  return L"";
}

std::wstring BadParametersText(const ParseResult& r) {
  return Fill(Text(Message::kBadParameters, r.language), ParamErrorText(r));
}

std::wstring FailureText(ExitCode code, Mode mode, Language language, const std::wstring& target,
                         const std::wstring& download) {
  switch (code) {
    case ExitCode::kOk:
      return L"";
    case ExitCode::kBadParameters:  // told with its reason by BadParametersText
    case ExitCode::kUnexpected:
      break;
    case ExitCode::kDownloadMissing:
      return Fill(Text(Message::kDownloadMissing, language), target, download);
    case ExitCode::kTargetBusy:
      return Fill(
          Text(mode == Mode::kReplaceLauncher ? Message::kLauncherBusy : Message::kTargetBusy, language),
          target);
    case ExitCode::kCopyFailed:
      return Fill(Text(Message::kCopyFailed, language), target);
    case ExitCode::kRestartFailed:
      return Fill(Text(Message::kRestartFailed, language), target);
  }
  return Text(Message::kUnexpected, language);
}

std::wstring Fill(const std::wstring& text, const std::wstring& arg1, const std::wstring& arg2) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'%' && i + 1 < text.size() && (text[i + 1] == L'1' || text[i + 1] == L'2')) {
      out += text[i + 1] == L'1' ? arg1 : arg2;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

const wchar_t* ExitCodeName(ExitCode code) {
  switch (code) {
    case ExitCode::kOk:
      return L"ok";
    case ExitCode::kUnexpected:
      return L"unexpected-error";
    case ExitCode::kBadParameters:
      return L"bad-parameters";
    case ExitCode::kDownloadMissing:
      return L"download-missing";
    case ExitCode::kTargetBusy:
      return L"target-busy";
    case ExitCode::kCopyFailed:
      return L"copy-failed";
    case ExitCode::kRestartFailed:
      return L"restart-failed";
  }
  return L"unknown";
}

std::wstring LogLine(const std::wstring& timestamp, const std::wstring& mode, const std::wstring& target,
                     ExitCode code, const std::wstring& note) {
  std::wstring line = timestamp + L"  mode=" + mode + L"  target=" + target + L"  result=" +
                      std::to_wstring(static_cast<int>(code)) + L" " + ExitCodeName(code);
  if (!note.empty()) line += L"  " + note;
  std::wstring shown;
  for (wchar_t c : line) {
    if (c == L'\t')
      shown += L"<TAB>";
    else if (c == L'\r' || c == L'\n')
      shown += L' ';
    else
      shown += c;
  }
  return shown;
}

}  // namespace brevan
