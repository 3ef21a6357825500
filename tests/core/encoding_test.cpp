// Byte-order marks and Unicode round trips of the editable text files.
#include <gtest/gtest.h>

#include "core/encoding.h"

using namespace core;
using namespace std::string_literals;

TEST(Encoding, DetectsMarks) {
  struct Case {
    std::string bytes;
    TextEncoding encoding;
    size_t length;
  } cases[] = {
      {"\xEF\xBB\xBFx"s, TextEncoding::Utf8, 3},  {"\xFF\xFEx\0"s, TextEncoding::Utf16LE, 2},
      {"\xFE\xFF\0x"s, TextEncoding::Utf16BE, 2}, {"Country:"s, TextEncoding::Ansi, 0},
      {"\xEF\xBB"s, TextEncoding::Ansi, 0},       {""s, TextEncoding::Ansi, 0},
  };
  for (const auto& c : cases) {
    BomInfo b = DetectBom(c.bytes);
    EXPECT_EQ(b.encoding, c.encoding);
    EXPECT_EQ(b.bomLength, c.length);
  }
}

TEST(Encoding, RoundTripsCyrillicAndAstralText) {
  const std::wstring text = L"\u0421\u0442\u0430\u0440\u0442 \u20ac x\U0001F600";
  EXPECT_EQ(DecodeUtf8(EncodeUtf8(text)), text);
  EXPECT_EQ(DecodeUtf16(EncodeUtf16(text, false), false), text);
  EXPECT_EQ(DecodeUtf16(EncodeUtf16(text, true), true), text);
  EXPECT_EQ(EncodeUtf8(L"\u0421"), "\xD0\xA1");
  EXPECT_EQ(EncodeUtf16(L"A", true), "\0A"s);
}

TEST(Encoding, BrokenUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(DecodeUtf8("a\xFF" "b"), L"a\uFFFDb");
  EXPECT_EQ(DecodeUtf8("a\xD0"), L"a\uFFFD");            // cut sequence at the end
  EXPECT_EQ(DecodeUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");    // overlong form
  EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(DecodeUtf16("A\0B"s, false), L"A\uFFFD");     // odd byte count
}
