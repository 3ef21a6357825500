// The rules of Brevan.exe that need no files: reading the command line the launcher builds,
// restoring blanks in the target path, the time bounds, the choice of language and the log line.
#include "updater_params.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "updater_texts.h"

namespace {

using brevan::ExitCode;
using brevan::Language;
using brevan::Mode;
using brevan::ParamError;

const std::wstring kFields =
    L"0\tC:\\TEMP\\PLUGIN~1.DLL\tC:\\Program+Files\\Kestrum\\plugin.dll\t1500\tBG_CASE";

struct AcceptedCase {
  const char* name;
  std::wstring commandLine;
  Mode mode;
  std::wstring download, target;
  unsigned wait;
  Language language;
};

class AcceptedCommandLine : public testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedCommandLine, GivesTheFields) {
  const AcceptedCase& c = GetParam();
  brevan::ParseResult r = brevan::ParseCommandLine(c.commandLine);
  ASSERT_TRUE(r.params.has_value()) << "error " << static_cast<int>(r.error);
  EXPECT_EQ(r.params->mode, c.mode);
  EXPECT_EQ(r.params->download, c.download);
  EXPECT_EQ(r.params->targetField, c.target);
  EXPECT_EQ(r.params->waitMs, c.wait);
  EXPECT_EQ(r.params->language, c.language);
}

const std::wstring kDl = L"C:\\TEMP\\PLUGIN~1.DLL";
const std::wstring kTg = L"C:\\Program+Files\\Kestrum\\plugin.dll";
constexpr auto kBg = Language::kBulgarian;
constexpr auto kEn = Language::kEnglish;
constexpr auto k0 = Mode::kReplaceWhileWaiting;
constexpr auto k1 = Mode::kReplaceLauncher;

INSTANTIATE_TEST_SUITE_P(
    Brevan, AcceptedCommandLine,
    testing::Values(
        AcceptedCase{"QuotedProgram", L"\"C:\\Program Files\\Kestrum\\Brevan.exe\" " + kFields, k0, kDl, kTg,
                     1500, kBg},
        AcceptedCase{"BareProgram", L"C:\\Kestrum\\Brevan.exe " + kFields, k0, kDl, kTg, 1500, kBg},
        AcceptedCase{"NoBlankAfterQuote", L"\"Brevan.exe\"" + kFields, k0, kDl, kTg, 1500, kBg},
        AcceptedCase{"WrappedByShell", L"\"C:\\K\\Brevan.exe\"  \"" + kFields + L"\"", k0, kDl, kTg, 1500,
                     kBg},
        AcceptedCase{"LineEndAfter", L"Brevan.exe " + kFields + L" \r\n", k0, kDl, kTg, 1500, kBg},
        AcceptedCase{"English", L"Brevan.exe 1\ta.tmp\tC:\\K\\KestrumClient.exe\t3000\tEN_CASE", k1, L"a.tmp",
                     L"C:\\K\\KestrumClient.exe", 3000, kEn},
        AcceptedCase{"NoLanguage", L"Brevan.exe 0\ta.tmp\tC:\\K\\x.dll\t1500", k0, L"a.tmp", L"C:\\K\\x.dll",
                     1500, kEn},
        AcceptedCase{"OtherLanguage", L"Brevan.exe 0\ta.tmp\tC:\\K\\x.dll\t1500\tbg_case", k0, L"a.tmp",
                     L"C:\\K\\x.dll", 1500, kEn},
        AcceptedCase{"QuotedPathFields", L"Brevan.exe 0\t\"a.tmp\"\t\"C:\\K\\x.dll\"\t1500\tEN_CASE", k0,
                     L"a.tmp", L"C:\\K\\x.dll", 1500, kEn}),
    [](const auto& info) { return std::string(info.param.name); });

struct RejectedCase {
  const char* name;
  std::wstring commandLine;
  ParamError error;
  std::wstring detail;
  Language language;
};

class RejectedCommandLine : public testing::TestWithParam<RejectedCase> {};

TEST_P(RejectedCommandLine, SaysWhy) {
  const RejectedCase& c = GetParam();
  brevan::ParseResult r = brevan::ParseCommandLine(c.commandLine);
  EXPECT_FALSE(r.params.has_value());
  EXPECT_EQ(r.error, c.error);
  EXPECT_EQ(r.detail, c.detail);
  EXPECT_EQ(r.language, c.language);
}

INSTANTIATE_TEST_SUITE_P(
    Brevan, RejectedCommandLine,
    testing::Values(
        RejectedCase{"Nothing", L"\"C:\\K\\Brevan.exe\"", ParamError::kEmpty, L"", kEn},
        RejectedCase{"OnlyQuotes", L"Brevan.exe \"\"", ParamError::kEmpty, L"", kEn},
        RejectedCase{"ThreeFields", L"Brevan.exe 0\ta.tmp\tC:\\x.dll", ParamError::kFieldCount, L"3", kEn},
        RejectedCase{"SixFields", L"Brevan.exe " + kFields + L"\tmore", ParamError::kFieldCount, L"6", kBg},
        RejectedCase{"TrailingTab", L"Brevan.exe " + kFields + L"\t", ParamError::kFieldCount, L"6", kBg},
        RejectedCase{"BlanksForTabs", L"Brevan.exe 0 a.tmp C:\\x.dll 1500 EN_CASE", ParamError::kFieldCount,
                     L"1", kEn},
        RejectedCase{"ModeSeven", L"Brevan.exe 7\ta.tmp\tC:\\x.dll\t1500\tBG_CASE", ParamError::kMode, L"7",
                     kBg},
        RejectedCase{"NoDownload", L"Brevan.exe 0\t\tC:\\x.dll\t1500\tEN_CASE", ParamError::kDownload, L"",
                     kEn},
        RejectedCase{"NoTarget", L"Brevan.exe 0\ta.tmp\t\t1500\tEN_CASE", ParamError::kTarget, L"", kEn},
        RejectedCase{"WaitNotNumber", L"Brevan.exe 0\ta.tmp\tC:\\x.dll\t1,5s\tEN_CASE", ParamError::kWait,
                     L"1,5s", kEn}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BrevanTarget, RestoresEveryBlank) {
  EXPECT_EQ(brevan::RestoreBlanks(L"C:\\Program+Files+(x86)\\Kestrum+Client\\a+b.dll"),
            L"C:\\Program Files (x86)\\Kestrum Client\\a b.dll");
}

// A file system given as the set of existing paths.
brevan::ExistsFn Existing(std::set<std::wstring> paths) {
  return [paths = std::move(paths)](const std::wstring& p) { return paths.count(p) > 0; };
}

struct ResolveCase {
  const char* name;
  std::wstring field;
  std::set<std::wstring> existing;
  std::wstring expected;
};

class ResolveTarget : public testing::TestWithParam<ResolveCase> {};

TEST_P(ResolveTarget, PrefersBlanksUnlessOnlyThePlusExists) {
  const ResolveCase& c = GetParam();
  EXPECT_EQ(brevan::ResolveTarget(c.field, Existing(c.existing)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Brevan, ResolveTarget,
    testing::Values(
        ResolveCase{"BlankFolderExists",
                    L"C:\\Program+Files\\K\\a.dll",
                    {L"C:\\Program Files"},
                    L"C:\\Program Files\\K\\a.dll"},
        ResolveCase{"NeitherExists", L"C:\\New+Folder\\a+b.dll", {}, L"C:\\New Folder\\a b.dll"},
        ResolveCase{"OnlyPlusFolderExists",
                    L"C:\\C+\\Kestrum+Client\\a.dll",
                    {L"C:\\C+", L"C:\\C+\\Kestrum Client"},
                    L"C:\\C+\\Kestrum Client\\a.dll"},
        ResolveCase{
            "OnlyPlusFileExists", L"C:\\K\\lib+plus.dll", {L"C:\\K\\lib+plus.dll"}, L"C:\\K\\lib+plus.dll"},
        ResolveCase{"BothExistBlankWins", L"D:\\a+b", {L"D:\\a b", L"D:\\a+b"}, L"D:\\a b"},
        ResolveCase{"NoPlusUntouched", L"\\\\server\\share\\K\\a.dll", {}, L"\\\\server\\share\\K\\a.dll"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BrevanBudgets, FollowTheWaitValueWithinBounds) {
  EXPECT_EQ(brevan::ReplaceBudgetMs(1500), 15000u);
  EXPECT_EQ(brevan::LauncherExitBudgetMs(3000), 60000u);
  EXPECT_EQ(brevan::ReplaceBudgetMs(0), 1000u);
  EXPECT_EQ(brevan::ReplaceBudgetMs(999999999), 600000u);
}

TEST(BrevanTexts, FollowTheLanguageField) {
  using brevan::Message;
  EXPECT_EQ(std::wstring(brevan::Text(Message::kCopyFailed, kBg)).rfind(L"Неуспешно обновяване на файла", 0),
            0u);
  EXPECT_EQ(std::wstring(brevan::Text(Message::kCopyFailed, kEn)).rfind(L"Updating the file failed", 0), 0u);
  for (Message m :
       {Message::kCaption, Message::kBadParameters, Message::kDownloadMissing, Message::kTargetBusy,
        Message::kLauncherBusy, Message::kCopyFailed, Message::kRestartFailed, Message::kUnexpected}) {
    EXPECT_NE(std::wstring(brevan::Text(m, kBg)), brevan::Text(m, kEn)) << static_cast<int>(m);
    EXPECT_FALSE(std::wstring(brevan::Text(m, kEn)).empty());
  }
}

TEST(BrevanTexts, NameTheFilesAndTheReason) {
  std::wstring busy = brevan::FailureText(ExitCode::kTargetBusy, k0, kBg, L"C:\\K\\a.dll", L"C:\\T\\A~1.DLL");
  EXPECT_NE(busy.find(L"C:\\K\\a.dll"), std::wstring::npos);
  EXPECT_NE(busy.find(L"се използва от друга програма"), std::wstring::npos);
  std::wstring launcher =
      brevan::FailureText(ExitCode::kTargetBusy, k1, kEn, L"C:\\K\\KestrumClient.exe", L"x");
  EXPECT_NE(launcher.find(L"did not close in time"), std::wstring::npos);
  std::wstring missing =
      brevan::FailureText(ExitCode::kDownloadMissing, k0, kEn, L"C:\\K\\a.dll", L"C:\\T\\A~1.DLL");
  EXPECT_NE(missing.find(L"C:\\T\\A~1.DLL"), std::wstring::npos);
  EXPECT_TRUE(brevan::FailureText(ExitCode::kOk, k0, kEn, L"t", L"d").empty());

  brevan::ParseResult r = brevan::ParseCommandLine(L"Brevan.exe 0\ta\tBG_CASE");
  EXPECT_EQ(brevan::BadParametersText(r),
            L"Програмата за обновяване е стартирана с невалидни параметри: очакват се 5 полета, разделени с "
            L"табулация, а са получени 3.\n\nНито един файл не е променен.");
  r = brevan::ParseCommandLine(L"Brevan.exe 7\ta\tb\t1500\tEN_CASE");
  EXPECT_EQ(brevan::BadParametersText(r),
            L"The updater was started with invalid parameters: unknown mode \"7\".\n\nNo file was changed.");
}

TEST(BrevanLog, OneReadableLine) {
  EXPECT_EQ(
      brevan::LogLine(L"2024-03-01 09:05:00", L"1", L"C:\\K\\KestrumClient.exe", ExitCode::kTargetBusy,
                      L"the launcher did not end"),
      L"2024-03-01 09:05:00  mode=1  target=C:\\K\\KestrumClient.exe  result=4 target-busy  the launcher did "
      L"not end");
  EXPECT_EQ(brevan::LogLine(L"t", L"?", L"-", ExitCode::kBadParameters, L"parameters=[0\ta\r\n]"),
            L"t  mode=?  target=-  result=2 bad-parameters  parameters=[0<TAB>a  ]");
}

}  // namespace
