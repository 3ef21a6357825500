// The error log and the update log: names, encoding, line format and I/O errors.
#include <gtest/gtest.h>

#include "core/format_settings.h"
#include "platform/errors.h"
#include "platform/process.h"
#include "support/err_log.h"
#include "support/text_services.h"
#include "win_test_support.h"

namespace {
struct LogFixture : testing::Test {
  kt::TempDir dir;
  void SetUp() override {
    platform::OverrideExecutablePath(dir / L"KestrumClient.exe");
    FORCE_LOCAL_FORMATS();
  }
  void TearDown() override { platform::OverrideExecutablePath(L""); }
};
}  // namespace

TEST_F(LogFixture, LinesAreAppendedInAnsiWithCrLf) {
  WRITE_LOG(dir.Path(), L"Tfm_MAIN_FORM.LoadInfo :first");
  WRITE_LOG(dir.Path(), L"caf\u00e9 \u0416");  // é is in the ANSI code page here, Ж is not
  std::string bytes = kt::ReadBytes(dir / L"KestrumClient_LOG.txt");
  auto lines = kt::ReadLines(dir / L"KestrumClient_LOG.txt");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(19), ":Tfm_MAIN_FORM.LoadInfo :first");
  EXPECT_EQ(lines[1].substr(19), ":caf\xE9 ?");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 2);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 2);
}

TEST_F(LogFixture, AMessageWithLineBreaksSpansLines) {
  WRITE_LOG(dir.Path(), L"one\r\ntwo");
  auto lines = kt::ReadLines(dir / L"KestrumClient_LOG.txt");
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(19), ":one");
  EXPECT_EQ(lines[1], "two");
}

TEST_F(LogFixture, NamesFollowTheExecutable) {
  platform::OverrideExecutablePath(dir / L"Renamed.exe");
  WRITE_LOG(dir.Path(), L"x");
  WRITE_UPDATE_LOG(L"y");
  EXPECT_TRUE(kt::Exists(dir / L"Renamed_LOG.txt"));
  EXPECT_TRUE(kt::Exists(dir / L"Renamed_log.txt"));
  EXPECT_NE(kt::ReadBytes(dir / L"Renamed_log.txt").find(":y\r\n"), std::string::npos);
}

TEST_F(LogFixture, MissingFolderRaisesAnInputOutputError) {
  EXPECT_THROW(WRITE_LOG(dir / L"missing\\", L"x"), platform::EInOutError);
}

TEST_F(LogFixture, SetLogFolderWithNeitherDataFolder) {
  // Base folders that are files: neither data folder can exist.
  kt::WriteBytes(dir / L"docs", "file");
  kt::WriteBytes(dir / L"appdata", "file");
  EXPECT_FALSE(SET_LOG_FOLDER(L"Kestrum Client", dir / L"docs", dir / L"appdata"));
  EXPECT_FALSE(DOCS_DATA_FOLDER_OK);
  EXPECT_FALSE(APPDATA_DATA_FOLDER_OK);
  EXPECT_EQ(LOG_FOLDER_PATH, dir / L"appdata\\Kestrum Client\\LOG_FOLDER\\");
  EXPECT_FALSE(LOG_FOLDER_OK);
  EXPECT_EQ(EXE_FOLDER, dir.Path());
}

TEST_F(LogFixture, CheckLogFileCreatesOnceAndReportsFailure) {
  EXPECT_EQ(CHECK_LOG_FILE(dir.Path()), 0);
  EXPECT_EQ(kt::ReadLines(dir / L"KestrumClient_LOG.txt").size(), 1u);
  EXPECT_EQ(CHECK_LOG_FILE(dir.Path()), 0);
  EXPECT_EQ(kt::ReadLines(dir / L"KestrumClient_LOG.txt").size(), 1u);
  LOG_FOLDER_OK = false;
  EXPECT_EQ(CHECK_LOG_FILE(dir / L"missing\\"), -4);
}
