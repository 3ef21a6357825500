// Message boxes: which kinds show a box, with which buttons, caption and owner.
#include <gtest/gtest.h>

#include "app/my_dialogs.h"
#include "win_test_support.h"

namespace {
struct DialogsFixture : testing::Test {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
  TMyDialogs dialogs;
  void SetUp() override {
    dialogs.MyHandle = owner;
    dialogs.SetMyCaption(L"Kestrum Client");
  }
  void TearDown() override { DestroyWindow(owner); }
};
}  // namespace

TEST_F(DialogsFixture, AlertAndInformationShowOnlyForTheOkKind) {
  {
    kt::DialogWatcher watcher;
    dialogs.MyAlert(nullptr, L"Warning text", L"", inf_OkBtn);
    dialogs.MyInformation(nullptr, L"Info text", L"Own caption", inf_OkBtn);
    dialogs.MyAlert(nullptr, L"never", L"", qstn_YesNo_FBtn);
    dialogs.MyInformation(nullptr, L"never", L"", qstn_YesNo_SBtn);
    dialogs.MyAlert(nullptr, L"never", L"", static_cast<TMyDialogTypes>(9));
    auto seen = watcher.Dialogs();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, L"Kestrum Client");
    EXPECT_EQ(seen[0].text, L"Warning text");
    EXPECT_EQ(seen[0].owner, owner);
    EXPECT_TRUE(seen[0].hasOk);
    EXPECT_FALSE(seen[0].hasYes);
    EXPECT_EQ(seen[1].caption, L"Own caption");
  }
}

TEST_F(DialogsFixture, QuestionsAnswerWithTheBoxOrNo) {
  {
    kt::DialogWatcher watcher(IDYES);
    EXPECT_EQ(dialogs.MyQuestion(nullptr, L"Go on?", L"", qstn_YesNo_FBtn), IDYES);
    auto seen = watcher.Dialogs();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].hasYes && seen[0].hasNo);
    EXPECT_EQ(seen[0].defaultButton, IDYES);
  }
  {
    kt::DialogWatcher watcher(IDNO);
    EXPECT_EQ(dialogs.MyQuestion(nullptr, L"Go on?", L"", qstn_YesNo_SBtn), IDNO);
    auto seen = watcher.Dialogs();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].defaultButton, IDNO);
  }
  kt::DialogWatcher none;
  EXPECT_EQ(dialogs.MyQuestion(nullptr, L"x", L"", inf_OkBtn), 7);
  EXPECT_TRUE(none.Dialogs().empty());
}
