#include "core/fkiss/command_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/fkiss/key_codes.h"

namespace luma {
namespace {

TEST(FkissCommandTableTest, RowsAreSortedWithinEventsAndActionsAndMasksEndAtFirstGap) {
  for (int code = 0; code < FkissCommandTable::kCount; ++code) {
    const FkissCommandInfo& row = FkissCommandTable::Row(code);
    if (code != 0 && code != FkissCommandTable::kFirstAction) {
      EXPECT_LT(std::strcmp(FkissCommandTable::Name(code - 1), row.name), 0) << row.name;
    }
    for (const char* c = row.name; *c; ++c) EXPECT_TRUE(*c >= 'a' && *c <= 'z') << row.name;
    for (int i = 1; i < 3; ++i) {
      if (row.mask[i - 1] == 0) {
        EXPECT_EQ(row.mask[i], 0u) << row.name;
      }
    }
    EXPECT_GE(row.level, kFkissLevel1);
    EXPECT_LE(row.level, kFkissLevel4);
  }
  EXPECT_STREQ(FkissCommandTable::Name(kCmdVersion), "version");
  EXPECT_STREQ(FkissCommandTable::Name(kCmdAdd), "add");
  EXPECT_STREQ(FkissCommandTable::Name(kCmdWindowsize), "windowsize");
  EXPECT_EQ(kCmdWindowsize, 118);
}

TEST(FkissCommandTableTest, SpotChecksOfMasksRolesAndLevels) {
  const FkissCommandInfo& repeat = FkissCommandTable::Row(kCmdRepeat);
  EXPECT_EQ(repeat.mask[0], 0x094u);
  EXPECT_EQ(repeat.mask[1], 0x014u);
  EXPECT_EQ(repeat.mask[2], 0x004u);
  EXPECT_EQ(FkissCommandTable::Row(kCmdIfmapped).mask[0], 0x00fu);
  EXPECT_EQ(FkissCommandTable::Row(kCmdIfmapped).mask[1], 0x054u);
  EXPECT_EQ(FkissCommandTable::Row(kCmdSavevalue).mask[0], 0x800u);
  EXPECT_EQ(FkissCommandTable::Row(kCmdLabel).mask[0], 0x090u);
  EXPECT_EQ(FkissCommandTable::Row(kCmdIfequal).block, kBlockIf);
  EXPECT_EQ(FkissCommandTable::Row(kCmdElseiflessthan).block, kBlockElseIf);
  EXPECT_EQ(FkissCommandTable::Row(kCmdElse).block, kBlockElse);
  EXPECT_EQ(FkissCommandTable::Row(kCmdEndif).block, kBlockEndif);
  EXPECT_EQ(FkissCommandTable::Row(kCmdIffixed).block, kBlockNone);
  // else and endif are FKiSS 3 while the else-if rows are FKiSS 4.
  EXPECT_EQ(FkissCommandTable::Row(kCmdElse).level, kFkissLevel3);
  EXPECT_EQ(FkissCommandTable::Row(kCmdEndif).level, kFkissLevel3);
  EXPECT_EQ(FkissCommandTable::Row(kCmdElseifequal).level, kFkissLevel4);
  EXPECT_EQ(FkissCommandTable::Row(kCmdTransparent).level, kFkissLevel1b);
  EXPECT_EQ(FkissCommandTable::Row(kCmdIn).level, kFkissLevel2);
  EXPECT_EQ(FkissCommandTable::Row(kCmdCollide).level, kFkissLevel21);
}

TEST(FkissCommandTableTest, ExactMatchIgnoresCaseAndBeatsSubstrings) {
  EXPECT_EQ(FkissCommandTable::FindExact("MAP"), kCmdMap);
  EXPECT_EQ(FkissCommandTable::FindExact("LetKeyMap"), kCmdLetkeymap);
  EXPECT_EQ(FkissCommandTable::FindExact("letkey"), kCmdLetkey);
  EXPECT_EQ(FkissCommandTable::FindExact("maps"), -1);
  EXPECT_EQ(FkissCommandTable::FindExact(""), -1);
}

TEST(FkissCommandTableTest, ClosestMatchTakesLongestContainedNameAndHighestCodeOnTies) {
  EXPECT_EQ(FkissCommandTable::FindClosest("movebyxx"), kCmdMovebyx);
  // "set" (23) and "map" (87) are both three letters long.
  EXPECT_EQ(FkissCommandTable::FindClosest("setmap"), kCmdMap);
  // Longer wins over higher: "unmap" (115) beats "map" and "nop" is absent.
  EXPECT_EQ(FkissCommandTable::FindClosest("xunmapx"), kCmdUnmap);
  // The substring search is case-sensitive.
  EXPECT_EQ(FkissCommandTable::FindClosest("MOVEBYXX"), -1);
  EXPECT_EQ(FkissCommandTable::FindClosest("zzz"), -1);
}

TEST(FkissCommandTableTest, LevelNames) {
  EXPECT_STREQ(FkissCommandTable::LevelName(kFkissLevel1), "FKiSS 1");
  EXPECT_STREQ(FkissCommandTable::LevelName(kFkissLevel21), "FKiSS 2.1");
  EXPECT_STREQ(FkissCommandTable::LevelName(kFkissLevel4), "FKiSS 4");
  EXPECT_EQ(FkissCommandTable::LevelName(kFkissLevelNone), nullptr);
  EXPECT_EQ(FkissCommandTable::LevelName(6), nullptr);
}

TEST(KeyCodesTest, NamesDigitsAndLetters) {
  EXPECT_EQ(KeyCodeFromName("A"), 15);
  EXPECT_EQ(KeyCodeFromName("z"), 40);
  EXPECT_EQ(KeyCodeFromName("9"), 14);
  EXPECT_EQ(KeyCodeFromName("0"), 5);
  EXPECT_EQ(KeyCodeFromName("Up"), 0);
  EXPECT_EQ(KeyCodeFromName("RIGHT"), 3);
  EXPECT_EQ(KeyCodeFromName("space"), 4);
  EXPECT_EQ(KeyCodeFromName("enter"), -1);
  EXPECT_EQ(KeyCodeFromName(" "), -1);
  EXPECT_EQ(KeyCodeFromName(""), -1);
  EXPECT_EQ(KeyCodeFromName("ab"), -1);
}

}  // namespace
}  // namespace luma
