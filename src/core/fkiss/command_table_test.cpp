#include "core/fkiss/command_table.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "core/fkiss/key_codes.h"

namespace luma {
namespace {

// The vocabulary as doll authors know it, one line per command: code, name,
// the three parameter masks, block role and level.
struct ExpectedRow {
  int code;
  const char* name;
  uint32_t mask[3];
  BlockRole block;
  int level;
};

constexpr int L1 = kFkissLevel1, L1b = kFkissLevel1b, L2 = kFkissLevel2, L21 = kFkissLevel21,
              L3 = kFkissLevel3, L4 = kFkissLevel4;

constexpr ExpectedRow kExpected[] = {
    {0, "alarm", {0x050, 0x000, 0x000}, kBlockNone, L1},
    {1, "apart", {0x00b, 0x00b, 0x000}, kBlockNone, L21},
    {2, "begin", {0x000, 0x000, 0x000}, kBlockNone, L1},
    {3, "catch", {0x00b, 0x000, 0x000}, kBlockNone, L1},
    {4, "col", {0x010, 0x000, 0x000}, kBlockNone, L1},
    {5, "collide", {0x00b, 0x00b, 0x000}, kBlockNone, L21},
    {6, "detached", {0x002, 0x000, 0x000}, kBlockNone, L4},
    {7, "drop", {0x00b, 0x000, 0x000}, kBlockNone, L1},
    {8, "end", {0x000, 0x000, 0x000}, kBlockNone, L1},
    {9, "fixcatch", {0x00b, 0x000, 0x000}, kBlockNone, L1},
    {10, "fixdrop", {0x00b, 0x000, 0x000}, kBlockNone, L1},
    {11, "in", {0x00b, 0x00b, 0x000}, kBlockNone, L2},
    {12, "initialize", {0x000, 0x000, 0x000}, kBlockNone, L1},
    {13, "keypress", {0x200, 0x000, 0x000}, kBlockNone, L4},
    {14, "keyrelease", {0x200, 0x000, 0x000}, kBlockNone, L4},
    {15, "label", {0x090, 0x000, 0x000}, kBlockNone, L3},
    {16, "mousein", {0x00b, 0x000, 0x000}, kBlockNone, L4},
    {17, "mouseout", {0x00b, 0x000, 0x000}, kBlockNone, L4},
    {18, "never", {0x000, 0x000, 0x000}, kBlockNone, L1b},
    {19, "out", {0x00b, 0x00b, 0x000}, kBlockNone, L2},
    {20, "overflow", {0x000, 0x000, 0x000}, kBlockNone, L3},
    {21, "press", {0x00b, 0x000, 0x000}, kBlockNone, L1},
    {22, "release", {0x00b, 0x000, 0x000}, kBlockNone, L1},
    {23, "set", {0x010, 0x000, 0x000}, kBlockNone, L1},
    {24, "stillin", {0x00b, 0x00b, 0x000}, kBlockNone, L2},
    {25, "stillout", {0x00b, 0x00b, 0x000}, kBlockNone, L2},
    {26, "unfix", {0x00b, 0x000, 0x000}, kBlockNone, L1},
    {27, "version", {0x010, 0x000, 0x000}, kBlockNone, L2},
    {28, "add", {0x004, 0x014, 0x014}, kBlockNone, L3},
    {29, "altmap", {0x00f, 0x000, 0x000}, kBlockNone, L1},
    {30, "attach", {0x006, 0x006, 0x000}, kBlockNone, L4},
    {31, "changecol", {0x014, 0x000, 0x000}, kBlockNone, L1},
    {32, "changeset", {0x014, 0x000, 0x000}, kBlockNone, L1},
    {33, "debug", {0x020, 0x000, 0x000}, kBlockNone, L1b},
    {34, "deletevalue", {0x800, 0x000, 0x000}, kBlockNone, L4},
    {35, "detach", {0x006, 0x000, 0x000}, kBlockNone, L4},
    {36, "div", {0x004, 0x014, 0x014}, kBlockNone, L3},
    {37, "else", {0x000, 0x000, 0x000}, kBlockElse, L3},
    {38, "elseifequal", {0x014, 0x014, 0x000}, kBlockElseIf, L4},
    {39, "elseifgreaterthan", {0x014, 0x014, 0x000}, kBlockElseIf, L4},
    {40, "elseiflessthan", {0x014, 0x014, 0x000}, kBlockElseIf, L4},
    {41, "elseifnotequal", {0x014, 0x014, 0x000}, kBlockElseIf, L4},
    {42, "endif", {0x000, 0x000, 0x000}, kBlockEndif, L3},
    {43, "exitevent", {0x000, 0x000, 0x000}, kBlockNone, L3},
    {44, "exitloop", {0x000, 0x000, 0x000}, kBlockNone, L4},
    {45, "ghost", {0x00f, 0x014, 0x000}, kBlockNone, L3},
    {46, "glue", {0x006, 0x006, 0x000}, kBlockNone, L4},
    {47, "gosub", {0x094, 0x000, 0x000}, kBlockNone, L3},
    {48, "gosubrandom", {0x014, 0x094, 0x094}, kBlockNone, L3},
    {49, "goto", {0x094, 0x000, 0x000}, kBlockNone, L3},
    {50, "gotorandom", {0x014, 0x094, 0x094}, kBlockNone, L3},
    {51, "ifequal", {0x014, 0x014, 0x000}, kBlockIf, L3},
    {52, "iffixed", {0x006, 0x054, 0x014}, kBlockNone, L21},
    {53, "ifgreaterthan", {0x014, 0x014, 0x000}, kBlockIf, L3},
    {54, "iflessthan", {0x014, 0x014, 0x000}, kBlockIf, L3},
    {55, "ifmapped", {0x00f, 0x054, 0x014}, kBlockNone, L21},
    {56, "ifmoved", {0x006, 0x054, 0x014}, kBlockNone, L21},
    {57, "ifnotequal", {0x014, 0x014, 0x000}, kBlockIf, L3},
    {58, "ifnotfixed", {0x006, 0x054, 0x014}, kBlockNone, L21},
    {59, "ifnotmapped", {0x00f, 0x054, 0x014}, kBlockNone, L21},
    {60, "ifnotmoved", {0x006, 0x054, 0x014}, kBlockNone, L21},
    {61, "let", {0x004, 0x014, 0x000}, kBlockNone, L3},
    {62, "letcatch", {0x004, 0x000, 0x000}, kBlockNone, L3},
    {63, "letchild", {0x004, 0x006, 0x000}, kBlockNone, L4},
    {64, "letcollide", {0x004, 0x00f, 0x00f}, kBlockNone, L3},
    {65, "letfix", {0x004, 0x006, 0x000}, kBlockNone, L3},
    {66, "letframe", {0x004, 0x008, 0x000}, kBlockNone, L4},
    {67, "letheight", {0x004, 0x006, 0x000}, kBlockNone, L4},
    {68, "letinitx", {0x004, 0x006, 0x000}, kBlockNone, L4},
    {69, "letinity", {0x004, 0x006, 0x000}, kBlockNone, L4},
    {70, "letinside", {0x004, 0x00f, 0x00f}, kBlockNone, L3},
    {71, "letkcf", {0x004, 0x00f, 0x000}, kBlockNone, L4},
    {72, "letkey", {0x004, 0x200, 0x000}, kBlockNone, L4},
    {73, "letkeymap", {0x004, 0x200, 0x000}, kBlockNone, L4},
    {74, "letmapped", {0x004, 0x00f, 0x000}, kBlockNone, L3},
    {75, "letmousex", {0x004, 0x000, 0x000}, kBlockNone, L3},
    {76, "letmousey", {0x004, 0x000, 0x000}, kBlockNone, L3},
    {77, "letobjectx", {0x004, 0x006, 0x000}, kBlockNone, L3},
    {78, "letobjecty", {0x004, 0x006, 0x000}, kBlockNone, L3},
    {79, "letpal", {0x004, 0x000, 0x000}, kBlockNone, L3},
    {80, "letparent", {0x004, 0x006, 0x000}, kBlockNone, L4},
    {81, "letset", {0x004, 0x000, 0x000}, kBlockNone, L3},
    {82, "letsibling", {0x004, 0x006, 0x000}, kBlockNone, L4},
    {83, "lettimer", {0x004, 0x054, 0x000}, kBlockNone, L4},
    {84, "lettransparent", {0x004, 0x00f, 0x000}, kBlockNone, L3},
    {85, "letwidth", {0x004, 0x006, 0x000}, kBlockNone, L4},
    {86, "loadvalue", {0x004, 0x800, 0x000}, kBlockNone, L4},
    {87, "map", {0x00f, 0x000, 0x000}, kBlockNone, L1},
    {88, "mod", {0x004, 0x014, 0x014}, kBlockNone, L3},
    {89, "move", {0x006, 0x014, 0x014}, kBlockNone, L1},
    {90, "movebyx", {0x006, 0x006, 0x014}, kBlockNone, L2},
    {91, "movebyy", {0x006, 0x006, 0x014}, kBlockNone, L2},
    {92, "moverandx", {0x006, 0x014, 0x014}, kBlockNone, L21},
    {93, "moverandy", {0x006, 0x014, 0x014}, kBlockNone, L21},
    {94, "moveto", {0x006, 0x014, 0x014}, kBlockNone, L2},
    {95, "movetorand", {0x006, 0x000, 0x000}, kBlockNone, L21},
    {96, "mul", {0x004, 0x014, 0x014}, kBlockNone, L3},
    {97, "music", {0x100, 0x000, 0x000}, kBlockNone, L2},
    {98, "nop", {0x000, 0x000, 0x000}, kBlockNone, L1},
    {99, "notify", {0x020, 0x000, 0x000}, kBlockNone, L2},
    {100, "quit", {0x000, 0x000, 0x000}, kBlockNone, L1b},
    {101, "random", {0x004, 0x014, 0x014}, kBlockNone, L3},
    {102, "randomtimer", {0x054, 0x014, 0x014}, kBlockNone, L1},
    {103, "repeat", {0x094, 0x014, 0x004}, kBlockNone, L4},
    {104, "restrictx", {0x006, 0x014, 0x014}, kBlockNone, L4},
    {105, "restricty", {0x006, 0x014, 0x014}, kBlockNone, L4},
    {106, "savevalue", {0x800, 0x014, 0x000}, kBlockNone, L4},
    {107, "setfix", {0x006, 0x014, 0x000}, kBlockNone, L21},
    {108, "setframe", {0x008, 0x014, 0x000}, kBlockNone, L4},
    {109, "setkcf", {0x00f, 0x014, 0x000}, kBlockNone, L4},
    {110, "shell", {0x020, 0x000, 0x000}, kBlockNone, L21},
    {111, "sound", {0x100, 0x000, 0x000}, kBlockNone, L1},
    {112, "sub", {0x004, 0x014, 0x014}, kBlockNone, L3},
    {113, "timer", {0x054, 0x014, 0x000}, kBlockNone, L1},
    {114, "transparent", {0x00f, 0x014, 0x000}, kBlockNone, L1b},
    {115, "unmap", {0x00f, 0x000, 0x000}, kBlockNone, L1},
    {116, "valuepool", {0x400, 0x000, 0x000}, kBlockNone, L4},
    {117, "viewport", {0x014, 0x014, 0x000}, kBlockNone, L1b},
    {118, "windowsize", {0x014, 0x014, 0x000}, kBlockNone, L1},
};

TEST(FkissCommandTableTest, EveryRowMatchesTheVocabulary) {
  ASSERT_EQ(std::size(kExpected), static_cast<size_t>(FkissCommandTable::kCount));
  for (const ExpectedRow& want : kExpected) {
    SCOPED_TRACE(want.name);
    ASSERT_TRUE(FkissCommandTable::IsValid(want.code));
    const FkissCommandInfo& row = FkissCommandTable::Row(want.code);
    EXPECT_STREQ(row.name, want.name);
    EXPECT_EQ(FkissCommandTable::FindExact(want.name), want.code);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(row.mask[i], want.mask[i]) << "position " << i + 1;
    EXPECT_EQ(row.block, want.block);
    EXPECT_EQ(row.level, want.level);
    EXPECT_EQ(FkissCommandTable::IsEvent(want.code), want.code < 28);
  }
  // The code names agree with the rows at the ends of both groups.
  EXPECT_EQ(kCmdAlarm, 0);
  EXPECT_EQ(kCmdVersion, 27);
  EXPECT_EQ(kCmdAdd, 28);
  EXPECT_EQ(kCmdWindowsize, 118);
}

TEST(FkissCommandTableTest, CodesOutsideTheTableAreReportedNotLookedUp) {
  for (int code : {-1, 119, 1000}) {
    const Result<const FkissCommandInfo*> row = FkissCommandTable::Lookup(code);
    EXPECT_FALSE(row.ok());
    EXPECT_EQ(row.status().message(), "Error! " + std::to_string(code) + " out of function range");
  }
  ASSERT_TRUE(FkissCommandTable::Lookup(118).ok());
  EXPECT_STREQ((*FkissCommandTable::Lookup(118))->name, "windowsize");
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
