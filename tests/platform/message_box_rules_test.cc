#include "platform/message_box_rules.h"

#include <gtest/gtest.h>

#include "platform/env.h"

namespace platform {
namespace {

TEST(MessageBoxRules, DefaultButtonFollowsFlags) {
  EXPECT_EQ(DefaultAnswer(mb::kOk | mb::kIconError), mb::kIdOk);
  EXPECT_EQ(DefaultAnswer(mb::kYesNo | mb::kIconQuestion), mb::kIdYes);
  EXPECT_EQ(DefaultAnswer(mb::kYesNo | mb::kIconWarning | mb::kDefButton2), mb::kIdNo);
  EXPECT_TRUE(BoxOffers(mb::kYesNo, mb::kIdNo));
  EXPECT_FALSE(BoxOffers(mb::kOk, mb::kIdYes));
}

TEST(MessageBoxRules, AnswerListKeepsUnknownWordsAsPlaceholders) {
  const auto answers = ParseAnswerList(" Yes,no ,maybe,OK");
  ASSERT_EQ(answers.size(), 4u);
  EXPECT_EQ(answers[0], mb::kIdYes);
  EXPECT_EQ(answers[1], mb::kIdNo);
  EXPECT_EQ(answers[2], std::nullopt);
  EXPECT_EQ(answers[3], mb::kIdOk);
  EXPECT_TRUE(ParseAnswerList("").empty());
}

TEST(MessageBoxRules, TranscriptLineEscapesLikeJson) {
  EXPECT_EQ(TranscriptLine("a \"b\"\\\n\r\tc\x01", "T\u00E4", 0x24, mb::kIdNo),
            "{\"title\":\"T\u00E4\",\"flags\":36,\"text\":\"a \\\"b\\\"\\\\\\n\\r\\tc\\u0001\","
            "\"answer\":\"no\"}\n");
}

}  // namespace
}  // namespace platform
