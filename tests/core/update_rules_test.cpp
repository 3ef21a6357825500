// The update table's rows, the comparisons and the updater's parameters; MD5 and the form body.
#include <gtest/gtest.h>

#include "core/md5.h"
#include "core/multipart.h"
#include "core/text.h"
#include "core/update_rules.h"

using namespace core;

namespace {
// A row of 18 columns; `set` overrides some of them (1-based).
std::wstring Row(std::initializer_list<std::pair<int, std::wstring>> set) {
  std::wstring cols[19];
  for (int k = 1; k <= 18; ++k) cols[k] = L"c" + std::to_wstring(k);
  for (auto& [k, v] : set) cols[k] = v;
  std::wstring row = L"\"";
  for (int k = 1; k <= 18; ++k) row += cols[k] + (k < 18 ? L"\",\"" : L"\"");
  return row;
}
}  // namespace

TEST(Md5, KnownDigests) {
  struct Case {
    std::string in, hex;
  } cases[] = {
      {"", "D41D8CD98F00B204E9800998ECF8427E"},
      {"a", "0CC175B9C0F1B6A831C399E269772661"},
      {"abc", "900150983CD24FB0D6963F7D28E17F72"},
      {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57EDF4A22BE3C955AC49DA2E2107B67A"},
  };
  for (const auto& c : cases) EXPECT_EQ(Md5Hex(c.in), c.hex) << c.in;
  Md5 pieces;  // the same in uneven pieces
  std::string text(1000, 'x');
  for (size_t i = 0; i < text.size(); i += 7) pieces.Update(text.data() + i, std::min<size_t>(7, text.size() - i));
  EXPECT_EQ(pieces.FinalHex(), Md5Hex(text));
}

TEST(Md5, TextDigestsForTheFormFields) {
  EXPECT_EQ(MD5(L"abc"), L"900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(MD5(L"a\u0431c"), MD5(L"a?c")) << "non-ASCII characters count as ?";
  // lowercase(MD5(lowercase(MD5(x)))): the inner digest is lower-cased before hashing again.
  EXPECT_EQ(DoubleDigest(L"abc"), AsciiLowerText(MD5(L"900150983cd24fb0d6963f7d28e17f72")));
  EXPECT_EQ(DoubleDigest(L"abc"), L"ec0405c5aef93e771cd80e0db180b88b");
  EXPECT_EQ(DoubleDigest(L"Pet sinkavi kozi!TOKEN"), DoubleDigest(L"Pet sinkavi kozi!TOKEN"));
  EXPECT_NE(DoubleDigest(L"Orvalis.dll09.12.2026"), DoubleDigest(L"Orvalis.dll10.12.2026"));
  EXPECT_TRUE(IsWellFormedMd5(L"900150983cd24fb0d6963f7d28e17f72"));
  EXPECT_TRUE(IsWellFormedMd5(L"900150983CD24FB0D6963F7D28E17F72"));
  EXPECT_FALSE(IsWellFormedMd5(L"900150983CD24FB0D6963F7D28E17F7"));
  EXPECT_FALSE(IsWellFormedMd5(L"900150983CD24FB0D6963F7D28E17F7G"));
}

TEST(UpdateTable, ColumnsAndIdentifier) {
  std::wstring row = Row({{1, L"7"}, {6, L"1.2.3.4"}, {11, L"100"}, {17, L"file.php?id=57"}, {18, L"ABCDEF"}});
  EXPECT_EQ(GetTableColumn(1, row), L"7");
  EXPECT_EQ(GetTableColumn(6, row), L"1.2.3.4");
  EXPECT_EQ(GetTableColumn(11, row), L"100");
  EXPECT_EQ(GetTableColumn(17, row), L"file.php?id=57");
  EXPECT_EQ(GetTableColumn(18, row), L"ABCDEF");
  EXPECT_EQ(GetTableColumn(18, row + L"\r\n"), L"ABCDEF\"\r") << "a trailing break keeps the quote";
  EXPECT_EQ(GetTableColumn(3, L""), L"");
  EXPECT_EQ(GetTableColumn(3, L"\"only one column\""), L"");
  EXPECT_EQ(GetFileId(row), L"57");
  EXPECT_EQ(GetFileId(L"\"a\",\"file.php?id=57"), L"57");
  EXPECT_EQ(GetFileId(L"\"valid=3\",\"id=9\""), L"3") << "also inside a longer word";
  EXPECT_EQ(GetFileId(Row({})), L"");
  EXPECT_FALSE(IsTableAnswer(std::wstring(100, L'x')));
  EXPECT_TRUE(IsTableAnswer(std::wstring(101, L'x')));
}

TEST(UpdateTable, FilterKeepsRowsHoldingNameAndProduct) {
  std::vector<std::wstring> one = {Row({{2, L"10001"}, {3, L"Orvalis.dll"}})};
  EXPECT_FALSE(ParceTable(one, L"10001", L"Orvalis.dll"));
  EXPECT_EQ(one.size(), 1u);
  std::vector<std::wstring> table = {
      Row({{2, L"10001"}, {3, L"Orvalis.dll"}}),
      Row({{2, L"10001"}, {3, L"Saldrin.dll"}}),
      Row({{2, L"1000123"}, {3, L"xOrvalis.dll.bak"}}),  // substrings match
      Row({{2, L"20002"}, {3, L"Orvalis.dll"}}),
  };
  EXPECT_TRUE(ParceTable(table, L"10001", L"Orvalis.dll"));
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(GetTableColumn(3, table[1]), L"xOrvalis.dll.bak");
  std::vector<std::wstring> none = {Row({}), Row({})};
  EXPECT_FALSE(ParceTable(none, L"10001", L"Orvalis.dll"));
  EXPECT_TRUE(none.empty());
}

TEST(UpdateTable, VersionComparisonOnlyHigherIsNewer) {
  struct Case {
    FileVersion4 installed;
    std::wstring col6, c7, c8, c9, c10;
    bool newer;
    bool error;
  } cases[] = {
      {{1, 2, 3, 4}, L"1.2.3.4", L"x", L"x", L"x", L"x", false, false},  // text shortcut: 7-10 not read
      {{1, 1, 0, 0}, L"1.0.5.0", L"1", L"0", L"5", L"0", false, false},  // lower: not newer
      {{2, 0, 0, 5}, L"1.9.9.9", L"1", L"9", L"9", L"9", false, false},  // no downgrade
      {{1, 2, 3, 4}, L"1.2.3.4 ", L"1", L"2", L"3", L"4", false, false},
      {{1, 0, 0, 9}, L"1.0.0.10", L"1", L"0", L"0", L"10", true, false},  // integers, not texts
      {{1, 9, 9, 9}, L"2.0.0.0", L"2", L"0", L"0", L"0", true, false},
      {{1, 0, 0, 0}, L"1.0.0.0", L"1", L"0", L"0", L"0", false, false},
      {{1, 0, 0, 0}, L"1.0.0.1", L"1", L"0", L"0", L"1", true, false},
      {{1, 0, 0, 0}, L"x", L"one", L"0", L"0", L"1", false, true},
      {{1, 0, 0, 0}, L"x", L"1", L"0", L"", L"1", false, true},
  };
  for (const auto& c : cases) {
    std::wstring row = Row({{6, c.col6}, {7, c.c7}, {8, c.c8}, {9, c.c9}, {10, c.c10}});
    Comparison r = CompareByVersion(c.installed, row);
    EXPECT_EQ(r.newer, c.newer) << testing::PrintToString(c.installed.Text()) << " vs " << testing::PrintToString(c.col6);
    EXPECT_EQ(!r.error.empty(), c.error);
  }
}

TEST(UpdateTable, ChecksumComparison) {
  std::wstring md5 = L"900150983CD24FB0D6963F7D28E17F72";
  EXPECT_FALSE(CompareByMd5(md5, Row({{18, md5}})).newer);
  EXPECT_TRUE(CompareByMd5(md5, Row({{18, L"900150983cd24fb0d6963f7d28e17f72"}})).newer);
  EXPECT_TRUE(CompareByMd5(L"", Row({{18, md5}})).newer) << "a missing file is outdated";
  EXPECT_FALSE(CompareByMd5(L"", Row({{18, L""}})).newer);
}

TEST(UpdateTable, UpdaterParameterText) {
  EXPECT_EQ(UpdaterParameters(L"0", L"C:\\TEMP\\ORVALI~1.DLL", L"C:\\Program Files\\K C\\PLUGINS\\Orvalis.dll", L"1500",
                              L"BULGARIA"),
            L"0\tC:\\TEMP\\ORVALI~1.DLL\tC:\\Program+Files\\K+C\\PLUGINS\\Orvalis.dll\t1500\tBG_CASE");
  EXPECT_EQ(UpdaterParameters(L"1", L"T", L"K.exe", L"3000", L"Bulgaria"), L"1\tT\tK.exe\t3000\tEN_CASE");
}

TEST(UpdateTable, ShellErrorTexts) {
  EXPECT_EQ(ShellErrorText(2, false), L"The specified file was not found.");
  EXPECT_EQ(ShellErrorText(2, true), L"Файлът, който се опитвате да стартирате - липсва.");
  EXPECT_EQ(ShellErrorText(26, true), ShellErrorText(26, false));
  EXPECT_EQ(ShellErrorText(31, true).find(L" Тази грешка"), std::wstring(L"Няма програма, която да е асоциирана с даденото разширение на файла.").size());
  for (int code : {1, 4, 33, 42, -1}) {
    EXPECT_EQ(ShellErrorText(code, false), L"");
    EXPECT_EQ(ShellErrorText(code, true), L"");
  }
}

TEST(Multipart, FieldsInOrderWithTheirHeaders) {
  MultipartForm form("BOUNDARY");
  form.Add("key", "k1");
  form.Add("id", "57");
  EXPECT_EQ(form.ContentType(), "multipart/form-data; boundary=BOUNDARY");
  EXPECT_EQ(form.Body(),
            "--BOUNDARY\r\nContent-Disposition: form-data; name=\"key\"\r\nContent-Type: text/plain\r\n"
            "Content-Transfer-Encoding: quoted-printable\r\n\r\nk1\r\n"
            "--BOUNDARY\r\nContent-Disposition: form-data; name=\"id\"\r\nContent-Type: text/plain\r\n"
            "Content-Transfer-Encoding: quoted-printable\r\n\r\n57\r\n--BOUNDARY--\r\n");
}
