// Code-page conversion, forced formats and version numbers.
#include <gtest/gtest.h>

#include "support/dstr_parser.h"
#include "support/text_services.h"
#include "core/format_settings.h"
#include "win_test_support.h"

using namespace DStrParser;

TEST(DStrParser, WideToCodePageGivesExactBytesAndQuestionMarksForMissingCharacters) {
  struct Case {
    std::wstring text;
    UINT cp;
    std::string bytes;
  } cases[] = {
      {L"\u0421\u0442\u0430\u0440\u0442", 1251, "\xD1\xF2\xE0\xF0\xF2"},  // "Старт"
      {L"caf\u00e9", 1251, "caf?"},                                      // no "best fit" e
      {L"caf\u00e9", 1252, "caf\xE9"},
      {L"e\u0301", 1252, "\xE9"},             // composed where the code page has the character
      {L"\u0416\u20ac\u4e2d", 1251, "\xC6\x88?"},  // Ж, euro sign, a character 1251 lacks
      {L"\u041f\u041e\u041b\u0410\u041d\u0414", 1252, "??????"},
      {L"", 1251, ""},
  };
  for (const auto& c : cases) {
    std::string out = WideStringToAnsiString(c.text, c.cp);
    EXPECT_EQ(kt::Hex(out), kt::Hex(c.bytes)) << kt::Narrow(c.text) << " cp" << c.cp;
  }
}

TEST(DStrParser, InvalidCodePageGivesEmptyText) {
  EXPECT_EQ(WideStringToAnsiString(L"abc", 12345), "");
  EXPECT_EQ(AnsiStringToWideString("abc", 12345), L"");
}

TEST(DStrParser, AnsiBufferStopsAtTheFirstZeroAndHonoursTheCount) {
  char buffer[256] = {};
  memcpy(buffer, "\xC1\xC3\xD0", 3);  // "БГР"
  EXPECT_EQ(AnsiBufferToString(buffer, 256, 1251), L"\u0411\u0413\u0420");
  EXPECT_EQ(AnsiBufferToString(buffer, 2, 1251), L"\u0411\u0413");
  EXPECT_EQ(AnsiBufferToString(buffer, 0, 1251), L"");
  EXPECT_EQ(AnsiBufferToString(buffer, -5, 1251), L"");
  EXPECT_EQ(AnsiBufferToString(nullptr, 5, 1251), L"");
  buffer[0] = 0;
  EXPECT_EQ(AnsiBufferToString(buffer, 256, 1251), L"");
  EXPECT_EQ(AnsiStringToWideString(WideStringToAnsiString(L"\u0416\u0435\u043b", 1251), 1251), L"\u0416\u0435\u043b");
}

TEST(TextServices, ForcedFormats) {
  core::ProcessFormatSettings() = core::FormatSettings{};
  FORCE_LOCAL_FORMATS();
  const core::FormatSettings& fs = core::ProcessFormatSettings();
  EXPECT_EQ(fs.DateSeparator, L'.');
  EXPECT_EQ(fs.TimeSeparator, L':');
  EXPECT_EQ(fs.DecimalSeparator, L'.');
  EXPECT_EQ(fs.ShortDateFormat, L"dd.mm.yyyy");
  EXPECT_EQ(fs.ShortTimeFormat, L"hh:mm:ss");
  EXPECT_EQ(fs.LongTimeFormat, L"hh:mm:ss");
}

TEST(TextServices, VersionNumbersFromTheResourceOrTheCallersValues) {
  int32_t a = 1, b = 0, c = 0, d = 0;
  std::wstring text;
  GET_VERSION_NUMBERS(KC_BUILD_DIR L"\\src\\KestrumClient.exe", a, b, c, d, text);
  EXPECT_EQ(text, L"1.0.0.49");
  EXPECT_EQ(d, 49);
  kt::TempDir dir;
  kt::WriteBytes(dir / L"manual.pdf", "%PDF-1.4 not a program");
  a = 1, b = 0, c = 0, d = 0;
  text.clear();
  GET_VERSION_NUMBERS(dir / L"manual.pdf", a, b, c, d, text);
  EXPECT_EQ(text, L"1.0.0.0");
  EXPECT_EQ(a, 1);
  a = 7, b = 8, c = 9, d = 10;
  GET_VERSION_NUMBERS(dir / L"missing.dll", a, b, c, d, text);
  EXPECT_EQ(text, L"7.8.9.10");
}
