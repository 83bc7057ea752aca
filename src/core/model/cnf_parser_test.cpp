#include "core/model/cnf_parser.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/model/doll_limits.h"
#include "core/testing/fake_host.h"

namespace luma {
namespace {

class CnfParserTest : public ::testing::Test {
 protected:
  // Parses the lines (one per element, kept exactly as given).
  DollModel& Parse(CnfLines lines, bool paletted = false) {
    doll_ = std::make_unique<DollModel>();
    doll_->cnf_lines = std::move(lines);
    EXPECT_TRUE(ParseCnf(*doll_, host_, CnfParseOptions{paletted}).ok());
    return *doll_;
  }
  const CelInstance& Instance(size_t i) const { return *doll_->instances().at(i); }
  std::string Sets(size_t i) const { return Instance(i).in_set.to_string(); }  // set 9 first
  const std::vector<std::string>& Errors() const { return doll_->report.errors(); }
  const std::vector<std::string>& Warnings() const { return doll_->report.warnings(); }

  FakeHost host_;
  std::unique_ptr<DollModel> doll_;
};

TEST_F(CnfParserTest, SetLists) {
  Parse({"#1 a.cel :0 12", "#1 b.cel", "#1 c.cel :x", "#1 d.cel :", "#1 e.cel: 3 5 x 7",
         "#1 f.cel:0:1"});
  EXPECT_EQ(Sets(0), "0000000111");
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_EQ(Errors()[0],
            "Set number (12) out of range in line 1. Assuming sets 0, 1, 2 should be used.");
  EXPECT_EQ(Sets(1), "1111111111");
  EXPECT_EQ(Sets(2), "0000000000");
  EXPECT_EQ(Sets(3), "0000000000");
  EXPECT_EQ(Sets(4), "0000101000");  // the list ends at the first non-number
  EXPECT_EQ(Sets(5), "0000000001");  // a second ":" token is not part of the list
  EXPECT_TRUE(doll_->sets[0].used);
  EXPECT_TRUE(doll_->sets[9].used);
}

TEST_F(CnfParserTest, PaletteTokens) {
  Parse({"%a.kcf", "%b.kcf", "#1 a.cel *1 :2", "#2 b.cel *2", "#3 c.cel *", "#4 d.cel * 7 :1",
         "#5 e.cel *x", "#6 f.cel*0:3", "#7 g.cel *0"});
  EXPECT_EQ(doll_->palette_file_names, (std::vector<std::string>{"a.kcf", "b.kcf"}));
  EXPECT_EQ(Instance(0).palette, 1);
  EXPECT_EQ(Sets(0), "0000000100");
  EXPECT_EQ(Instance(1).palette, 0);  // 2 is not below the two palette lines
  EXPECT_EQ(Instance(2).palette, 0);
  EXPECT_EQ(Instance(3).palette, 7);  // a separate number is checked later, when loading
  EXPECT_EQ(Sets(3), "0000000010");
  EXPECT_EQ(Instance(5).palette, 0);
  EXPECT_EQ(Sets(5), "0000001000");
  EXPECT_EQ(Errors(), (std::vector<std::string>{"Palette out of range (2) in line 4",
                                                "Palette number missing in line 5",
                                                "Palette number missing in line 7"}));
  EXPECT_EQ(Instance(0).cel, doll_->FindCel("a.cel", 1));
  EXPECT_EQ(Instance(0).cnf_palette, 1);
}

TEST_F(CnfParserTest, SameFileWithTwoPalettesIsACloneUnlessTexturesArePaletted) {
  CnfLines lines = {"%a.kcf", "%b.kcf", "%c.kcf", "#1 a.cel *1", "#2 a.cel *2"};
  Parse(lines);
  ASSERT_EQ(doll_->cels().size(), 2u);
  EXPECT_EQ(Instance(1).cel->base, Instance(0).cel);
  Parse(lines, /*paletted=*/true);
  ASSERT_EQ(doll_->cels().size(), 1u);
  EXPECT_EQ(doll_->cels()[0]->palette, 0);
  EXPECT_EQ(Instance(0).palette, 1);
  EXPECT_EQ(Instance(1).palette, 2);
}

TEST_F(CnfParserTest, ObjectNumbersAndFixValues) {
  Parse({"#3.3 a.cel", "#3.10 b.cel", "#3 c.cel", "#70000 d.cel", "#99999999999.5 e.cel", "#",
         "# x.cel", "#1"});
  KissObject* three = doll_->FindObject(3, false);
  ASSERT_NE(three, nullptr);
  EXPECT_EQ(three->fix, 10u);
  EXPECT_EQ(three->cnf_fix, 10u);
  EXPECT_EQ(three->cels.size(), 3u);
  EXPECT_EQ(Instance(3).object_number, 70000 - 65536);  // stored as 16 bits
  EXPECT_EQ(Instance(4).object_number, 0xffff);         // huge numbers saturate first
  EXPECT_EQ(doll_->instances().size(), 5u);
  EXPECT_EQ(Errors(), (std::vector<std::string>{"Syntax error in line 6", "Syntax error in line 7",
                                                "Syntax error in line 8"}));
}

TEST_F(CnfParserTest, CommentExtensions) {
  Parse({"#1 a.cel ;%t128 %g %u %x5 %y7 ; hello there", "#1 b.cel ;%t300", "#1 c.cel ;%t-4",
         "#1 d.cel ;%t %x-5 %q % %t50", "#1 e.cel ; just a comment %t9",
         "#1 f.cel ;%t9 free words"});
  const CelInstance& a = Instance(0);
  EXPECT_EQ(a.transparency, 128);
  EXPECT_EQ(a.cnf_transparency, 128);
  EXPECT_TRUE(a.ghost);
  EXPECT_FALSE(a.mapped);
  EXPECT_FALSE(a.cnf_mapped);
  EXPECT_EQ(a.x_offset, 5);
  EXPECT_TRUE(a.x_offset_given);
  EXPECT_EQ(a.y_offset, 7);
  EXPECT_EQ(a.comment, "hello there");
  EXPECT_EQ(Instance(1).transparency, 255);
  EXPECT_EQ(Instance(2).transparency, 0);  // no digit right after the letter: ignored
  EXPECT_EQ(Instance(3).transparency, 50);
  EXPECT_FALSE(Instance(3).x_offset_given);
  EXPECT_EQ(Instance(4).transparency, 0);
  EXPECT_EQ(Instance(4).comment, " just a comment %t9");  // no extension: kept whole
  EXPECT_EQ(Instance(5).transparency, 9);
  EXPECT_TRUE(Errors().empty());
  EXPECT_EQ(Warnings(), (std::vector<std::string>{"Transparency out of range (300) in line 2",
                                                  "Suspicious comment extension on line 4",
                                                  "Suspicious comment extension on line 4"}));
}

TEST_F(CnfParserTest, GroupExtensionsOnTheCelLineAndFollowingLines) {
  Parse({"#1 a.cel ;%t10 !hat :1 2 !coat", ";!scarf :3", "", ";!hat:1", "   ", ";!late", "#2 b.cel",
         ";!hat :4", "$0 0,0", ";!after"});
  const CelSet* hat = doll_->FindGroup("HAT");
  ASSERT_NE(hat, nullptr);
  EXPECT_EQ(hat->instances.size(), 2u);
  EXPECT_EQ(hat->by_set[1].size(), 1u);
  EXPECT_EQ(hat->by_set[2].size(), 1u);
  EXPECT_EQ(hat->by_set[4].size(), 1u);
  EXPECT_EQ(hat->by_set[4][0], &Instance(1));
  const CelSet* scarf = doll_->FindGroup("scarf");
  ASSERT_NE(scarf, nullptr);
  EXPECT_EQ(scarf->by_set[3].size(), 1u);
  // "!hat:1" in a comment is a name: the blank insertion is for data only.
  EXPECT_NE(doll_->FindGroup("hat:1"), nullptr);
  EXPECT_NE(doll_->FindGroup("coat"), nullptr);
  // The empty line kept the extension going; the line of blanks ended it.
  EXPECT_EQ(doll_->FindGroup("late"), nullptr);
  EXPECT_EQ(doll_->FindGroup("after"), nullptr);
  EXPECT_EQ(Instance(0).extra_lines, 3);
  EXPECT_EQ(Instance(0).cel_sets.size(), 4u);
  EXPECT_EQ(doll_->groups().size(), 4u);
}

TEST_F(CnfParserTest, SetLinesWithContinuationsAndSkips) {
  Parse({"$0 10,10 * 30,30", "$2 1,1", "  2,2 -3,-4", "\t* 5,5 ;@ not fkiss", "$1 * 7", "  8,8",
         "$ 9,9", "$x 1,1", "$12 1,1", "$0", "$0", "$0", "$0", "$0", "$0 1,1"});
  const KissObject* o0 = doll_->FindObject(0, false);
  const KissObject* o1 = doll_->FindObject(1, false);
  const KissObject* o2 = doll_->FindObject(2, false);
  const KissObject* o4 = doll_->FindObject(4, false);
  ASSERT_TRUE(o0 && o1 && o2 && o4);
  EXPECT_EQ(o0->position[0], (Position{10, 10}));
  EXPECT_EQ(o1->position[0], (Position{}));
  EXPECT_EQ(o2->position[0], (Position{30, 30}));
  EXPECT_EQ(o0->initial_position[1], (Position{1, 1}));
  EXPECT_EQ(o0->saved_position[1], (Position{1, 1}));
  EXPECT_EQ(o2->position[1], (Position{-3, -4}));
  EXPECT_EQ(o4->position[1], (Position{5, 5}));
  EXPECT_EQ(doll_->sets[1].palette_group, 2);
  EXPECT_EQ(doll_->sets[1].cnf_palette_group, 2);
  // "7" is no position: the line ends there, its continuation goes on with object 2.
  EXPECT_EQ(o2->position[2], (Position{8, 8}));
  EXPECT_EQ(o0->position[3], (Position{9, 9}));
  EXPECT_EQ(doll_->sets[3].palette_group, 0);
  EXPECT_EQ(doll_->sets[5].palette_group, 0);
  EXPECT_EQ(Errors(), (std::vector<std::string>{"Syntax error in line 5", "Syntax error in line 8",
                                                "Palette group out of range (12) in line 9",
                                                "Set number (10) out of range in line 14.",
                                                "Set number (11) out of range in line 15."}));
  EXPECT_TRUE(doll_->fkiss_lines.empty());  // continuation comments are consumed
}

TEST_F(CnfParserTest, PlayfieldAndBorder) {
  Parse({"(640 x 480)"});
  EXPECT_EQ(doll_->playfield, (PlayfieldSize{640, 480}));
  EXPECT_EQ(doll_->cnf_playfield, doll_->view_playfield);
  Parse({"(640,480)", "[12"});
  EXPECT_EQ(doll_->view_playfield, (PlayfieldSize{640, 480}));
  EXPECT_EQ(doll_->border_color, 12);
  EXPECT_EQ(doll_->cnf_border_color, 12);
  Parse({"( 640,480)", "(640)", "[x", "[ -3"});
  EXPECT_EQ(doll_->playfield, (PlayfieldSize{448, 320}));
  EXPECT_EQ(doll_->border_color, -3);
  EXPECT_EQ(Errors().size(), 3u);
}

// Sizes and coordinates beyond what any doll uses are held to the engine's
// limits where they are read, each with a warning naming the line.
TEST_F(CnfParserTest, ExtremeSizesAndPositionsAreLimitedWithWarnings) {
  Parse({"(2147483647,480)"});
  EXPECT_EQ(doll_->playfield, (PlayfieldSize{kMaxPlayfieldSide, 480}));
  EXPECT_EQ(doll_->view_playfield, doll_->playfield);
  EXPECT_EQ(Warnings(), (std::vector<std::string>{
                            "Playfield size out of range (2147483647 x 480) in line 1; using "
                            "8192 x 480"}));
  Parse({"(65536,2147483647)"});
  EXPECT_EQ(doll_->cnf_playfield, (PlayfieldSize{kMaxPlayfieldSide, kMaxPlayfieldSide}));
  Parse({"(0,0)"});
  EXPECT_EQ(doll_->playfield, (PlayfieldSize{1, 1}));
  Parse({"(8192,1)"});
  EXPECT_TRUE(Warnings().empty());

  Parse({"$0 2147483647,5 -2147483648,-7 500000,-500000 99999999999,1"});
  auto at = [&](int object) { return doll_->FindObject(object, false)->initial_position[0]; };
  EXPECT_EQ(at(0), (Position{kMaxCoordinate, 5}));
  EXPECT_EQ(at(1), (Position{-kMaxCoordinate, -7}));
  EXPECT_EQ(at(2), (Position{kMaxCoordinate, -kMaxCoordinate}));  // at the limit: as written
  EXPECT_EQ(at(3), (Position{kMaxCoordinate, 1}));
  EXPECT_EQ(doll_->FindObject(0, false)->position[0], at(0));
  EXPECT_EQ(Warnings(),
            (std::vector<std::string>{
                "Position of object #0 out of range (2147483647,5) in line 1; using 500000,5",
                "Position of object #1 out of range (-2147483648,-7) in line 1; using -500000,-7",
                "Position of object #3 out of range (2147483647,1) in line 1; using 500000,1"}));
  EXPECT_TRUE(Errors().empty());

  Parse({"#1 a.cel ;%x2147483647 %y65535", "#1 b.cel ;%x70000"});
  EXPECT_EQ(Instance(0).x_offset, kMaxCelOffset);
  EXPECT_EQ(Instance(0).y_offset, 65535);
  EXPECT_EQ(Instance(1).x_offset, kMaxCelOffset);
  EXPECT_EQ(Warnings(),
            (std::vector<std::string>{"Cel offset out of range (2147483647) in line 1; using 65535",
                                      "Cel offset out of range (70000) in line 2; using 65535"}));
}

TEST_F(CnfParserTest, HintLines) {
  Parse({"; HINT stack 50", ";HINT stack 70", ";hint maxfix 30", ";HINT MaxFix 30x",
         ";HINT bounds Limited ; why", ";HINT BOUNDS none", ";HINT colour 3", ";HINT stack",
         ";HINT"});
  EXPECT_EQ(doll_->hints.stack_depth, 50);
  EXPECT_TRUE(doll_->hints.stack_hint);
  EXPECT_EQ(doll_->hints.max_fix, 30);
  EXPECT_EQ(doll_->hints.bounds, BoundsMode::kLimited);
  EXPECT_EQ(doll_->hints.cnf_bounds, BoundsMode::kLimited);
  EXPECT_EQ(Warnings(), std::vector<std::string>{"Unknown HINT in line 7"});
  Parse({";HINT stack 1", ";HINT maxfix 1"});
  EXPECT_EQ(doll_->hints.stack_depth, 20);
  EXPECT_EQ(doll_->hints.max_fix, 100);
}

TEST_F(CnfParserTest, FkissLinesAfterSetAndPaletteLinesButNotAfterCelLines) {
  Parse({";@EventHandler", "#1 a.cel ;@press(#1)", "$0 0,0 ;@begin()", "  ;@initialize()",
         "%a.kcf ;@x()", ";@", ";@a", ";@ab"});
  ASSERT_EQ(doll_->fkiss_lines.size(), 4u);
  EXPECT_EQ(doll_->fkiss_lines[0].text, "EventHandler");
  EXPECT_EQ(doll_->fkiss_lines[0].line, 1);
  EXPECT_EQ(doll_->fkiss_lines[0].column, 0);
  EXPECT_EQ(doll_->fkiss_lines[1].text, "begin()");
  EXPECT_EQ(doll_->fkiss_lines[1].line, 3);
  EXPECT_EQ(doll_->fkiss_lines[1].column, 7);
  // Line 4 continues the set line, so it is consumed there and never handed on.
  EXPECT_EQ(doll_->fkiss_lines[2].line, 5);
  EXPECT_EQ(doll_->fkiss_lines[2].column, 7);
  EXPECT_EQ(doll_->fkiss_lines[3].text, "ab");
  EXPECT_EQ(Instance(0).comment, "@press(#1)");
}

// Japanese (Shift-JIS) and accented (Windows-1252) words in comments are the
// doll's text: free comments and FKiSS lines keep them, control characters
// go. What the line declares is read without them, as it always was.
TEST_F(CnfParserTest, CommentTextKeepsItsBytesButDeclaresWhatItDeclaredWithout) {
  Parse({"#1 caf\xe9.cel ;@sound(\"\xe9t\xe9.wav\")\t ", "$0 0,0 ;@play(\"\x01\xffx.wav\") \r",
         // Double-byte characters around the keywords.
         "#2 b.cel ;%t10 \x93\xfa!hat :2 ;\x93\xfa\x96\x7b\x8c\xea  ",
         ";\x82\xa0HINT stack 40 \x83\x5c", ";\x82\xa0@notify(\"\x83\x5c\x83\x41\")",
         "; \x83\x5c\x83\x8b stray",
         ";!\x82\xa0"
         "coat"});
  EXPECT_EQ(Instance(0).cel->file_name, "caf\xe9.cel");
  EXPECT_EQ(Instance(0).comment, "@sound(\"\xe9t\xe9.wav\")");
  EXPECT_EQ(Instance(1).transparency, 10);
  EXPECT_EQ(Instance(1).comment, "\x93\xfa\x96\x7b\x8c\xea");
  ASSERT_NE(doll_->FindGroup("hat"), nullptr);
  EXPECT_EQ(doll_->FindGroup("hat")->by_set[2].size(), 1u);
  EXPECT_EQ(doll_->hints.stack_depth, 40);
  ASSERT_EQ(doll_->fkiss_lines.size(), 2u);
  EXPECT_EQ(doll_->fkiss_lines[0].text, "play(\"\xffx.wav\")");
  EXPECT_EQ(doll_->fkiss_lines[1].text, "notify(\"\x83\x5c\x83\x41\")");
  // The ";!" line came after a line without a cel: no group, as before.
  EXPECT_EQ(doll_->FindGroup("coat"), nullptr);
  EXPECT_TRUE(Errors().empty());
  EXPECT_TRUE(Warnings().empty());
}

TEST_F(CnfParserTest, ErrorsBeyondTheHundredthAreCountedNotListed) {
  CnfLines lines(102, "#");
  for (auto& l : lines) l = "# x.cel";
  Parse(lines);
  EXPECT_EQ(doll_->report.error_count(), 102);
  ASSERT_EQ(Errors().size(), 101u);
  EXPECT_EQ(Errors()[99], "Syntax error in line 100");
  EXPECT_EQ(Errors()[100],
            "*** There are more errors but Lumadoll will only list the first 100 errors");
}

TEST_F(CnfParserTest, ReportsProgress) {
  CnfLines lines(250, "; nothing");
  Parse(lines);
  EXPECT_EQ(host_.statuses(), std::vector<std::string>{"Parsing CNF..."});
  EXPECT_EQ(host_.progress_range(), 250);
  EXPECT_EQ(host_.progress_position(), 250);
}

}  // namespace
}  // namespace luma
