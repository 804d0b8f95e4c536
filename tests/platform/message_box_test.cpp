#include "platform/message_box.h"

#include <gtest/gtest.h>

#include "support/scoped_message_boxes.h"

namespace {

using namespace platform;

TEST(MessageBox, UnansweredBoxesGiveTheAnswerOfClosingThem) {
  ScopedMessageBoxes boxes;
  const std::pair<unsigned, int> cases[] = {
      {MB_OK, IDOK},
      {MB_OKCANCEL, IDCANCEL},
      {MB_YESNO | MB_ICONQUESTION, IDNO},
      {MB_YESNOCANCEL, IDCANCEL},
      {MB_RETRYCANCEL, IDCANCEL},
      {MB_ABORTRETRYIGNORE, IDABORT},
  };
  for (const auto& [type, answer] : cases) EXPECT_EQ(MessageBoxA("text", "caption", type), answer);
  EXPECT_EQ(boxes.Shown().size(), std::size(cases));
}

TEST(MessageBox, QueuedAnswersAreGivenInOrderAndEveryBoxIsRecorded) {
  ScopedMessageBoxes boxes;
  boxes.QueueAnswer(IDYES);
  boxes.QueueAnswer(IDNO);
  EXPECT_EQ(MessageBoxA("「data」フォルダがありません", "確認", MB_YESNO), IDYES);
  EXPECT_EQ(MessageBoxA("second", nullptr, MB_YESNO), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "third", MB_YESNO), IDNO);  // queue empty: the safe answer
  const auto shown = boxes.Shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, "「data」フォルダがありません");
  EXPECT_EQ(shown[0].caption, "確認");
  EXPECT_EQ(shown[0].type, MB_YESNO);
  EXPECT_EQ(shown[0].answer, IDYES);
  EXPECT_EQ(shown[1].caption, "");
  EXPECT_EQ(shown[2].text, "");
}

TEST(MessageBox, BackendsNestAndUnwind) {
  ScopedMessageBoxes outer;
  {
    ScopedMessageBoxes inner;
    MessageBoxA("inner", "", MB_OK);
    EXPECT_EQ(inner.Shown().size(), 1u);
  }
  MessageBoxA("outer", "", MB_OK);
  ASSERT_EQ(outer.Shown().size(), 1u);
  EXPECT_EQ(outer.Shown()[0].text, "outer");
}

}  // namespace
