// Language-file lines to captions.
#include <gtest/gtest.h>

#include "core/lang_file.h"

using namespace core;

TEST(LangFile, OnlyListedLinesUpToSixtyFourAreRead) {
  std::vector<std::wstring> lines;
  for (int i = 1; i <= 70; ++i) lines.push_back(L"L" + std::to_wstring(i));
  auto a = LanguageAssignments(lines);
  ASSERT_EQ(a.size(), 20u);
  EXPECT_EQ(a.front().first, LangTarget::lb_Country);
  EXPECT_EQ(a.front().second, L"L2");
  EXPECT_EQ(a[7].first, LangTarget::btn_StartPlugin);
  EXPECT_EQ(a[7].second, L"L26");
  EXPECT_EQ(a[9].first, LangTarget::btn_StartPluginHint);
  EXPECT_EQ(a[9].second, L"L36");
  EXPECT_EQ(a.back().first, LangTarget::mn_CheckUpdatesOnStart);
  EXPECT_EQ(a.back().second, L"L64");
}

TEST(LangFile, ShortFileChangesOnlyItsLines) {
  std::vector<std::wstring> lines(20, L"  x  ");
  auto a = LanguageAssignments(lines);
  ASSERT_EQ(a.size(), 6u);  // lines 2, 12, 14, 16, 18, 20
  EXPECT_EQ(a[5].first, LangTarget::lb_IPPORT);
  EXPECT_EQ(a[5].second, L"  x  ");  // blanks are part of the caption
  EXPECT_TRUE(LanguageAssignments({}).empty());
}
