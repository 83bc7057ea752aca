#include "core/model/messages.h"

#include <gtest/gtest.h>

#include <string>

namespace luma {
namespace {

TEST(MessagesTest, TableCoversTheWholeRangeWithTexts) {
  // The report's own range, then the engine's limit messages from 62600.
  EXPECT_EQ(AllMessageIds().size(), 72u);
  for (const int id : AllMessageIds()) {
    EXPECT_GE(id, 61900);
    EXPECT_TRUE(id <= 62539 || (id >= 62600 && id <= kMsgFkissAlarmPassLimit)) << id;
    EXPECT_FALSE(MessageText(id).empty()) << id;
  }
  EXPECT_TRUE(MessageText(62003).empty());
  EXPECT_TRUE(MessageText(0).empty());
}

TEST(MessagesTest, FormatsArgumentsInOrder) {
  EXPECT_EQ(FormatMessage(kMsgSyntaxError, 12), "Syntax error in line 12\n");
  EXPECT_EQ(FormatMessage(kMsgSetListOutOfRange, 12, 3, std::string("0, 1, 2")),
            "Set number (12) out of range in line 3. Assuming sets 0, 1, 2 should be used.\n");
  EXPECT_EQ(FormatMessage(kMsgBadBitsPerColor, "a.kcf", 16),
            "a.kcf: Bits per color is not 12 or 24 (16)\n");
  EXPECT_EQ(FormatMessage(kMsgFileSuspiciousChar, "a b.cel", " "),
            "Filename \"a b.cel\" has suspicious character \" \".\n");
  EXPECT_EQ(FormatMessage(kMsgUnableToOpen, "/x/doll.cnf"), "Unable to open\n/x/doll.cnf");
}

TEST(MessagesTest, MismatchedArgumentsPrintAMarkerInsteadOfGarbage) {
  EXPECT_EQ(FormatMessage(kMsgSyntaxError), "Syntax error in line ?\n");
  EXPECT_EQ(FormatMessage(kMsgSyntaxError, "seven"), "Syntax error in line ?\n");
  EXPECT_EQ(FormatMessage(kMsgFileNotFound, 7), "? file not found\n");
  EXPECT_EQ(FormatText("100%% %d", {5}), "100% 5");
  EXPECT_EQ(FormatText("ends in %", {}), "ends in %");
}

}  // namespace
}  // namespace luma
