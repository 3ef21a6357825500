// Text rules that settings, panel and launch depend on.
#include <gtest/gtest.h>

#include "core/text.h"

using namespace core;

TEST(Text, TrimRemovesBlanksAndControlCharacters) {
  EXPECT_EQ(Trim(L" \t\r\n BULGARIA \x01"), L"BULGARIA");
  EXPECT_EQ(Trim(L"   "), L"");
  EXPECT_EQ(Trim(L"a b"), L"a b");
  EXPECT_TRUE(IsBlank(L" \t "));
  EXPECT_FALSE(IsBlank(L" x "));
}

TEST(Text, CaseSelectFoldsOnlyAsciiLetters) {
  std::vector<std::wstring> list = {L"BULGARIA", L"\u0411\u042A\u041B\u0413\u0410\u0420\u0418\u042F", L"SPAIN"};
  EXPECT_EQ(StringToCaseSelect(L"bulgaria", list), 0);
  EXPECT_EQ(StringToCaseSelect(L"Spain", list), 2);
  // Cyrillic letters differ in case only: not equal.
  EXPECT_EQ(StringToCaseSelect(L"\u0431\u044A\u043B\u0433\u0430\u0440\u0438\u044F", list), -1);
  EXPECT_EQ(StringToCaseSelect(L"BULGARIA ", list), -1);
  EXPECT_EQ(StringToCaseSelect(L"x", {}), -1);
}

TEST(Text, SplitLinesHandlesEveryBreakAndNoTrailingEmptyLine) {
  struct Case {
    std::wstring text;
    std::vector<std::wstring> lines;
  } cases[] = {
      {L"", {}},
      {L"a", {L"a"}},
      {L"a\r\n", {L"a"}},
      {L"a\r\nb\nc\rd", {L"a", L"b", L"c", L"d"}},
      {L"a\r\n\r\nb", {L"a", L"", L"b"}},
      {L"a\n\n", {L"a", L""}},
      {L"\r\n", {L""}},
      {L"a\n\r", {L"a", L""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << testing::PrintToString(c.text);
}

TEST(Text, ParseDecimalIsStrictButAllowsLeadingBlanks) {
  struct Case {
    const wchar_t* text;
    std::optional<int32_t> value;
  } cases[] = {
      {L"7", 7},          {L"-1", -1},          {L"+3", 3},         {L"  12", 12},
      {L"12 ", {}},       {L"", {}},            {L" ", {}},         {L"COM 3", {}},
      {L"abc", {}},       {L"1.5", {}},         {L"-", {}},         {L"2147483647", 2147483647},
      {L"2147483648", {}}, {L"-2147483648", INT32_MIN}, {L"99999999999999999999", {}}, {L"\t5", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.value) << testing::PrintToString(std::wstring(c.text));
}

TEST(Text, ReadLeadingIntegerTakesTheDigitsBeforeOtherCharacters) {
  struct Case {
    const wchar_t* text;
    std::optional<int32_t> value;
  } cases[] = {
      {L"12", 12}, {L" 12abc", 12}, {L"abc", 0}, {L"", 0}, {L"-4x", -4}, {L"99999999999", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadLeadingInteger(c.text), c.value) << testing::PrintToString(std::wstring(c.text));
}

TEST(Text, PathPieces) {
  EXPECT_EQ(ExtractFileName(L"C:\\Program Files\\K\\PLUGINS\\Orvalis.dll"), L"Orvalis.dll");
  EXPECT_EQ(ExtractFileDir(L"C:\\K\\KestrumClient.exe"), L"C:\\K");
  EXPECT_EQ(ExtractFileDir(L"C:\\a.exe"), L"C:\\");
  EXPECT_EQ(ExtractFileExt(L"C:\\K.d\\file"), L"");
  EXPECT_EQ(ExtractFileExt(L"C:\\K\\file.PDF"), L".PDF");
  EXPECT_EQ(ChangeFileExt(L"C:\\K\\KestrumClient.exe", L"_LOG.txt"), L"C:\\K\\KestrumClient_LOG.txt");
  EXPECT_EQ(ChangeFileExt(L"C:\\K.d\\Run", L"_log.txt"), L"C:\\K.d\\Run_log.txt");
  EXPECT_EQ(IncludeTrailingBackslash(L"C:\\K"), L"C:\\K\\");
  EXPECT_EQ(IncludeTrailingBackslash(L"C:\\K\\"), L"C:\\K\\");
  EXPECT_EQ(ReplaceAll(L"C:\\Program Files\\A B", L" ", L"+"), L"C:\\Program+Files\\A+B");
}
