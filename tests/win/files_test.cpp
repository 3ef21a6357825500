// Text files and the settings file: encodings, atomic replacement, the two locations.
#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/files.h"
#include "support/err_log.h"
#include "support/settings_file.h"
#include "support/text_file.h"
#include "win_test_support.h"

using namespace std::string_literals;

TEST(TextFile, ReadsEveryEncodingAndLineBreak) {
  kt::TempDir dir;
  struct Case {
    std::string bytes;
    core::TextEncoding encoding;
  } cases[] = {
      {"a\r\n\xD0\xA1\n"s, core::TextEncoding::Ansi},  // ANSI (1252 here): two bytes, two characters
      {"\xEF\xBB\xBF" "a\r\n\xD0\xA1\r"s, core::TextEncoding::Utf8},
      {"\xFF\xFE" "a\0\r\0\n\0\x21\x04\n\0"s, core::TextEncoding::Utf16LE},
      {"\xFE\xFF\0a\0\n\x04\x21"s, core::TextEncoding::Utf16BE},
  };
  for (const auto& c : cases) {
    kt::WriteBytes(dir / L"f.txt", c.bytes);
    TextFileContent t = LoadTextFile(dir / L"f.txt");
    EXPECT_EQ(t.encoding, c.encoding);
    ASSERT_EQ(t.lines.size(), 2u);
    EXPECT_EQ(t.lines[0], L"a");
    if (c.encoding == core::TextEncoding::Ansi) EXPECT_EQ(t.lines[1], L"\u00D0\u00A1");
    else EXPECT_EQ(t.lines[1], L"\u0421");
  }
  EXPECT_THROW(LoadTextFile(dir / L"missing.txt"), platform::EInOutError);
}

TEST(TextFile, AFailedWriteLeavesTheOldFileWhole) {
  kt::TempDir dir;
  std::wstring path = dir / L"Config.txt";
  SaveTextFile(path, L"old\r\n", core::TextEncoding::Ansi);
  // A reader that shuts everyone out: the replacement cannot happen.
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_THROW(SaveTextFile(path, L"new\r\n", core::TextEncoding::Ansi), platform::EInOutError);
  CloseHandle(h);
  EXPECT_EQ(kt::ReadBytes(path), "old\r\n");
  EXPECT_FALSE(kt::Exists(path + L".new"));
  SaveTextFile(path, L"\u0421\r\n", core::TextEncoding::Utf8);
  EXPECT_EQ(kt::ReadBytes(path), "\xEF\xBB\xBF\xD0\xA1\r\n");
}

namespace {
struct SettingsFixture : testing::Test {
  kt::TempDir dir;
  void SetUp() override {
    CONFIG_FOLDER_1 = dir / L"docs\\";
    CONFIG_FOLDER_2 = dir / L"appdata\\";
    platform::ForceDirectories(CONFIG_FOLDER_1);
    platform::ForceDirectories(CONFIG_FOLDER_2);
    DOCS_DATA_FOLDER_OK = APPDATA_DATA_FOLDER_OK = true;
    CONFIG_FILE_NAME_1 = CONFIG_FILE_NAME_2 = L"Config.txt";
    CONFIG_LINES.reset();
    CONFIG_ENCODING = core::TextEncoding::Ansi;
    LOG_FOLDER_PATH = dir.Path();
    LOG_FOLDER_OK = true;
  }
};
}  // namespace

TEST_F(SettingsFixture, SaveWritesBothFilesIdentically) {
  EXPECT_TRUE(SAVE_CONFIG(L"Country:\r\nBULGARIA\r\n"));
  EXPECT_EQ(kt::ReadBytes(CONFIG_FOLDER_1 + L"Config.txt"), "Country:\r\nBULGARIA\r\n");
  EXPECT_EQ(kt::ReadBytes(CONFIG_FOLDER_2 + L"Config.txt"), "Country:\r\nBULGARIA\r\n");
  ASSERT_TRUE(CONFIG_LINES);
  EXPECT_EQ(*CONFIG_LINES, (std::vector<std::wstring>{L"Country:", L"BULGARIA"}));
}

TEST_F(SettingsFixture, LoadReadsTheSecondLocationOnlyWhenTheFirstFolderIsUnavailable) {
  kt::WriteBytes(CONFIG_FOLDER_2 + L"Config.txt", "Country:\r\nPOLAND\r\n");
  EXPECT_FALSE(LOAD_CONFIG()) << "the first folder lacks the file: not taken from the second";
  EXPECT_TRUE(CONFIG_LINES->empty());
  DOCS_DATA_FOLDER_OK = false;
  EXPECT_TRUE(LOAD_CONFIG());
  EXPECT_EQ(CONFIG_LINES->at(1), L"POLAND");
  APPDATA_DATA_FOLDER_OK = false;
  EXPECT_FALSE(LOAD_CONFIG());
  EXPECT_FALSE(SAVE_CONFIG(L"x\r\n"));
}

TEST_F(SettingsFixture, AFileWithAMarkIsWrittenBackInItsEncoding) {
  kt::WriteBytes(CONFIG_FOLDER_1 + L"Config.txt", "\xEF\xBB\xBF" "Country:\r\n\xD0\x91\r\n");
  ASSERT_TRUE(LOAD_CONFIG());
  EXPECT_EQ(CONFIG_LINES->at(1), L"\u0411");
  SAVE_CONFIG(L"Country:\r\n\u0411\r\n");
  EXPECT_EQ(kt::ReadBytes(CONFIG_FOLDER_1 + L"Config.txt"), "\xEF\xBB\xBF" "Country:\r\n\xD0\x91\r\n");
  EXPECT_EQ(kt::ReadBytes(CONFIG_FOLDER_2 + L"Config.txt"), "\xEF\xBB\xBF" "Country:\r\n\xD0\x91\r\n");
}

TEST_F(SettingsFixture, AFailingWriteIsLoggedAndKeepsTheOldFile) {
  SAVE_CONFIG(L"old\r\n");
  HANDLE h = CreateFileW((CONFIG_FOLDER_1 + L"Config.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SAVE_CONFIG(L"new\r\n");
  CloseHandle(h);
  EXPECT_EQ(kt::ReadBytes(CONFIG_FOLDER_1 + L"Config.txt"), "old\r\n");
  EXPECT_EQ(kt::ReadBytes(CONFIG_FOLDER_2 + L"Config.txt"), "old\r\n") << "a failure at the first file leaves the second";
  std::string log = kt::ReadBytes(dir / L"kc_win_tests_LOG.txt");
  EXPECT_NE(log.find(":SAVE_CONFIG :"), std::string::npos) << log;
}
