#include <gtest/gtest.h>

#include "core/files/cnf_text.h"
#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/snap_to.h"
#include "core/model/kiss_object.h"
#include "core/testing/disk_doll.h"
#include "core/testing/doll_builder.h"
#include "core/testing/doll_description.h"
#include "core/testing/image_files.h"

namespace luma {
namespace {

using testing::DiskDoll;

class PreserverTest : public ::testing::Test {
 protected:
  PreserverTest() { doll_.WritePalettedCels({"a.cel", "b.cel", "c.cel", "d.cel"}); }

  std::unique_ptr<CKissCnfDoc> Open(const std::string& cnf) { return doll_.OpenCnf(cnf); }

  std::string Preserved(CKissCnfDoc& doc, const CnfSaveOptions& options = {}) {
    return FormatPreservedCnf(doc.model(), doc.fkiss(), options, HintValues{50, 7}).text;
  }

  std::unique_ptr<CKissCnfDoc> Reload(const std::string& text) {
    return doll_.OpenCnf(text, "again.cnf");
  }

  // Writes an unchanged doll with the preserving writer and expects that
  // CNF to load to the same doll; returns the CNF.
  std::string RoundTrip(CKissCnfDoc& doc) { return doll_.ExpectLoadsTheSame(doc, Preserved(doc)); }

  DiskDoll doll_;
};

// The first `n` lines of `text`.
std::string Head(const std::string& text, int n) {
  size_t end = 0;
  for (int i = 0; i < n && end != std::string::npos; ++i) {
    end = text.find('\n', end);
    if (end != std::string::npos) ++end;
  }
  return text.substr(0, end);
}

constexpr char kSetsTwoToNine[] =
    "$0 * 0,0\n\n$0 * 0,0\n\n$0 * 0,0\n\n$0 * 0,0\n\n"
    "$0 * 0,0\n\n$0 * 0,0\n\n$0 * 0,0\n\n$0 * 0,0\n\n";

TEST_F(PreserverTest, KeepsEveryLineItNeedNotChange) {
  auto doc = Open(
      "; my doll   \n"
      "(640 x 480)   ; size\n"
      "[5\n"
      "%pal.kcf\n"
      "#0   a.cel   *0 :0 1\t;%t10   keep\n"
      "#1 b.cel ;!hats\n"
      ";!:1 2\n"
      "; positions follow\n"
      "$0 10,10\n"
      "   20,20\n"
      "$0 30,30 40,40 ;@ a comment\n"
      ";@EventHandler\n"
      ";@press(#1) unmap(#0)\n");
  ASSERT_TRUE(doc);
  EXPECT_EQ(RoundTrip(*doc),
            "; my doll   \n"
            "(640 x 480)   ; size\n"
            "[5\n"
            "%pal.kcf\n"
            "#0   a.cel   *0 :0 1\t;%t10   keep\n"
            "#1 b.cel ;!hats\n"
            ";!:1 2\n"
            "; positions follow\n"
            "$0 10,10 20,20\n"
            "$0 30,30 40,40 ;@ a comment\n"
            ";@EventHandler\n"
            ";@press(#1) unmap(#0)\n" +
                std::string(kSetsTwoToNine));
  // Nothing changed, so writing again gives the same text.
  auto again = Reload(Preserved(*doc));
  ASSERT_TRUE(again);
  EXPECT_EQ(Preserved(*again), Preserved(*doc));
}

// A lone "$" above the set lines counts a set and is rewritten with them,
// but where it stood it also ended the cel line above.
TEST_F(PreserverTest, ADroppedSetLineStillEndsTheCelLineAbove) {
  auto doc = Open(
      "#0 a.cel ;!hats\n"
      "$ ;!caps\n"
      ";!shoes\n"
      "#1 b.cel\n"
      "$\n"
      ";!coats\n"
      "$0 1,1 2,2\n");
  ASSERT_TRUE(doc);
  const std::string text = RoundTrip(*doc);
  EXPECT_EQ(Head(text, 6), "#0 a.cel ;!hats\n;\n;!shoes\n#1 b.cel\n;\n;!coats\n");
}

TEST_F(PreserverTest, EditsCelLinesOnlyWhereTheyDiffer) {
  auto doc = Open(
      "%pal.kcf\n"
      "#0 a.cel\n"
      "#1 b.cel ; words\n"
      "#2 c.cel ;%u %t40 !grp ; more words\n"
      "#3 d.cel :0 ;%t9\n"
      "#4 a.cel*0:1 ;%x2\n"
      "#5 b.cel ;%t30 left over ; note\n");
  ASSERT_TRUE(doc);
  DollModel& doll = doc->model();
  CelInstance& a = *doll.instances()[0];
  CelInstance& b = *doll.instances()[1];
  CelInstance& c = *doll.instances()[2];
  CelInstance& d = *doll.instances()[3];
  CelInstance& e = *doll.instances()[4];
  a.mapped = false;
  a.transparency = 5;
  b.mapped = false;
  c.mapped = true;
  c.transparency = 0;
  d.in_set.set(2);
  e.x_offset = 0;  // the cel file's own offset
  e.y_offset = 6;
  // Without "%t30" the rest would no longer read as an extension.
  doll.instances()[5]->transparency = 0;

  // Without the options only the set list and the offsets change.
  std::string text = Preserved(*doc);
  EXPECT_EQ(Head(text, 6),
            "%pal.kcf\n"
            "#0 a.cel\n"
            "#1 b.cel ; words\n"
            "#2 c.cel ;%u %t40 !grp ; more words\n"
            "#3 d.cel :0   2               ;%t9\n"
            "#4 a.cel*0:1 ;%y6\n");
  auto again = Reload(text);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->model().instances()[3]->in_set, d.in_set);
  EXPECT_EQ(again->model().instances()[4]->x_offset, 0);
  EXPECT_EQ(again->model().instances()[4]->y_offset, 6);

  CnfSaveOptions live;
  live.mapping = live.transparencies = true;
  text = Preserved(*doc, live);
  EXPECT_EQ(Head(text, 6),
            "%pal.kcf\n"
            "#0 a.cel\t;%t5 %u\n"
            "#1 b.cel ;%u ; words\n"
            "#2 c.cel ;!grp ; more words\n"
            "#3 d.cel :0   2               ;%t9\n"
            "#4 a.cel*0:1 ;%y6\n");
  again = Reload(text);
  ASSERT_TRUE(again);
  for (size_t i = 0; i < 6; ++i) {
    const CelInstance& read = *again->model().instances()[i];
    const CelInstance& saved = *doll.instances()[i];
    EXPECT_EQ(read.mapped, saved.mapped) << i;
    EXPECT_EQ(read.transparency, saved.transparency) << i;
  }
  EXPECT_EQ(again->model().instances()[1]->comment, "words");
  EXPECT_EQ(again->model().instances()[2]->comment, "more words");
  EXPECT_EQ(again->model().instances()[5]->comment, "note");
  EXPECT_EQ(again->model().groups().size(), 1u);
}

// A line the edits cannot handle is written anew; "* n" is how it names a
// palette beyond the palette lines above it, and "%" alone is no such line.
TEST_F(PreserverTest, ALineWrittenAnewNamesItsPaletteTheWayItWasRead) {
  auto doc = Open("%pal.kcf\n%  ; no palette here\n#0 a.cel * 1 5\n");
  ASSERT_TRUE(doc);
  DollModel& doll = doc->model();
  ASSERT_EQ(doll.instances()[0]->palette, 1);
  doll.instances()[0]->in_set.reset(3);
  const std::string text = Preserved(*doc);
  EXPECT_EQ(Head(text, 3), "%pal.kcf\n%  ; no palette here\n#0 a.cel * 1  :0 1 2   4 5 6 7 8 9\n");
  auto again = Reload(text);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->model().instances()[0]->palette, 1);
  EXPECT_EQ(again->model().instances()[0]->in_set, doll.instances()[0]->in_set);
}

TEST_F(PreserverTest, NewLinesGoAboveInAFixedOrder) {
  auto doc = Open("; title\n#0 a.cel\n$0 1,1\n");
  ASSERT_TRUE(doc);
  DollModel& doll = doc->model();
  doll.border_color = 9;
  doll.playfield = PlayfieldSize{800, 600};
  doll.hints.bounds = BoundsMode::kLimited;
  CnfSaveOptions hints;
  hints.stack_hint = hints.maxfix_hint = hints.bounds_hint = true;
  EXPECT_EQ(Head(Preserved(*doc, hints), 8),
            "(800,600\n"
            "[9\n"
            ";HINT bounds limited\n"
            ";HINT maxfix 7\n"
            ";HINT stack 50\n"
            "; title\n"
            "#0 a.cel\n"
            "$0 1,1\n");
}

TEST_F(PreserverTest, ExistingLinesAreReplacedAndNewOnesFollowTheLastHint) {
  auto doc = Open(
      "(640 x 480)   ; size\n"
      "[5 ;border\n"
      ";HINT maxfix 3\n"
      "; HINT stack 9\n"
      ";HINT stack 12\n"
      "#0 a.cel\n");
  ASSERT_TRUE(doc);
  DollModel& doll = doc->model();
  doll.border_color = 9;
  doll.playfield = PlayfieldSize{800, 600};
  CnfSaveOptions hints;
  hints.stack_hint = hints.bounds_hint = true;
  const std::string text = Preserved(*doc, hints);
  EXPECT_EQ(Head(text, 7),
            "(800,600)   ; size\n"
            "[9 ;border\n"
            ";HINT maxfix 3\n"
            ";HINT stack 50\n"
            ";HINT stack 12\n"
            ";HINT bounds visible\n"
            "#0 a.cel\n");
  auto again = Reload(text);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->model().hints.stack_depth, 50);
  EXPECT_EQ(again->model().hints.max_fix, 3);
  EXPECT_EQ(again->model().border_color, 9);
  EXPECT_EQ(again->model().playfield, (PlayfieldSize{800, 600}));
}

// A snap-to effect added since loading is saved as script text.
class AddedScriptTest : public PreserverTest {
 protected:
  std::string WithSnapTo(const std::string& cnf) {
    auto doc = Open(cnf);
    EXPECT_TRUE(doc);
    if (!doc) return "";
    DollModel& doll = doc->model();
    AddSnapTo(*doc->fkiss(), doll, doll.FindObject(0, false), doll.FindObject(1, false), false, 0);
    return doll_.ExpectLoadsTheSame(*doc, Preserved(*doc));
  }
};

TEST_F(AddedScriptTest, GoesAboveTheCommentsHeadingTheSetLines) {
  EXPECT_EQ(WithSnapTo("#0 a.cel\n"
                       "#1 b.cel\n"
                       ";@EventHandler\n"
                       ";@begin() nop()\n"
                       ";; positions\n"
                       ";\n"
                       "$0 1,1 5,7\n"),
            "#0 a.cel\n"
            "#1 b.cel\n"
            ";@EventHandler\n"
            ";@begin() nop()\n"
            ";\n"
            ";@in(#1, #0) movebyx(#1, #0, 4) movebyy(#1, #0, 6)\n"
            "\n"
            ";; positions\n"
            ";\n"
            "$0 1,1 5,7\n"
            "$0 0,0 0,0\n\n$0 0,0 0,0\n\n$0 0,0 0,0\n\n$0 0,0 0,0\n\n$0 0,0 0,0\n\n"
            "$0 0,0 0,0\n\n$0 0,0 0,0\n\n$0 0,0 0,0\n\n$0 0,0 0,0\n\n");
}

TEST_F(AddedScriptTest, NeverSplitsACelLineFromItsGroupLines) {
  const std::string text = WithSnapTo(
      "#0 a.cel\n"
      "#1 b.cel\n"
      ";!hats\n"
      "$0 1,1 5,7\n"
      ";@EventHandler\n"
      ";@begin() nop()\n");
  EXPECT_EQ(Head(text, 4), "#0 a.cel\n#1 b.cel\n;!hats\n$0 1,1 5,7\n");
  // Script lines below the set lines: the added events go to the very end.
  EXPECT_NE(text.find(";@begin() nop()\n$0 0,0 0,0\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 54),
            ";\n;@in(#1, #0) movebyx(#1, #0, 4) movebyy(#1, #0, 6)\n\n");
}

TEST_F(AddedScriptTest, BringsItsOwnEventHandlerLine) {
  const std::string text = WithSnapTo("#0 a.cel\n#1 b.cel\n; positions\n$0 1,1 5,7\n");
  EXPECT_EQ(text.substr(text.find("$0 0,0 0,0\n\n;\n")),
            "$0 0,0 0,0\n\n"
            ";\n"
            ";@EventHandler\n"
            ";@in(#1, #0) movebyx(#1, #0, 4) movebyy(#1, #0, 6)\n"
            "\n");
}

// The palette group chosen for a set (toolbar or script) is part of what
// "Save current positions" saves, and a reset then returns to it.
TEST_F(PreserverTest, SavedPositionsTakeThePaletteGroupEachSetShows) {
  // Three groups, each with colours of its own.
  std::vector<std::vector<uint32_t>> groups(3, std::vector<uint32_t>(16, 0));
  for (int g = 0; g < 3; ++g) groups[g][1] = 0x100000u * static_cast<uint32_t>(g + 1);
  const std::vector<uint8_t> kcf = testing::MakeKcf(groups);
  doll_.Write("pal.kcf", std::string(kcf.begin(), kcf.end()));
  auto doc = Open("%pal.kcf\n#0 a.cel *0 :0 1\n$0 1,1\n$2 2,2\n");
  ASSERT_TRUE(doc);
  ASSERT_EQ(doc->model().palette_group_count, 3);
  doc->model().sets[0].palette_group = 1;
  doc->model().sets[1].palette_group = 0;
  EXPECT_NE(Preserved(*doc).find("$0 1,1\n$2 2,2\n"), std::string::npos) << "as read";
  CnfSaveOptions options;
  options.positions = true;
  const std::string saved = Preserved(*doc, options);
  EXPECT_NE(saved.find("$1 1,1\n$0 2,2\n"), std::string::npos) << saved;
  auto again = Reload(saved);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->model().sets[0].palette_group, 1);
  EXPECT_EQ(again->model().sets[1].cnf_palette_group, 0);
}

// Every '\n' of `text` comes after a '\r'.
bool AllCrLf(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
  }
  return !text.empty();
}

constexpr char kCrLfHead[] =
    "; my doll   \r\n"
    "(64,48)\r\n"
    "%pal.kcf\r\n"
    "#0 a.cel *0 :0 1\t; note \r\n"
    "#1 b.cel *0 :0\r\n"
    "\r\n";

TEST_F(PreserverTest, KeepsTheLineEndingsOfACrLfCnf) {
  auto doc = Open(std::string(kCrLfHead) + "$0 10,10 20,20\r\n$0 30,30 40,40\r\n");
  ASSERT_TRUE(doc);
  const std::string text = Preserved(*doc);
  EXPECT_EQ(Head(text, 6), kCrLfHead);
  EXPECT_TRUE(AllCrLf(text)) << text;
  // Written again, the writer's own CNF comes back byte for byte.
  auto again = Reload(text);
  ASSERT_TRUE(again);
  EXPECT_EQ(Preserved(*again), text);

  // Lines changed or added take the CNF's line ending too.
  doc->model().border_color = 3;
  doc->model().instances()[1]->transparency = 40;
  CnfSaveOptions options;
  options.transparencies = true;
  options.stack_hint = true;
  const std::string edited = Preserved(*doc, options);
  EXPECT_TRUE(AllCrLf(edited)) << edited;
  EXPECT_NE(edited.find("[3\r\n"), std::string::npos);
  EXPECT_NE(edited.find(";HINT stack 50\r\n"), std::string::npos);
  EXPECT_NE(edited.find("%t40"), std::string::npos);
  EXPECT_NE(edited.find("; my doll   \r\n"), std::string::npos);
}

TEST_F(PreserverTest, KeepsTheBytesOfAnArchivedCnf) {
  // Trailing blanks, a control byte and the end-of-file mark that old
  // editors wrote: the loader reads past them, the writer keeps them.
  const std::string head = "; archived\t \r\n(64,48)\r\n%pal.kcf\r\n#0 a.cel *0 :0 ;\x01 x\r\n";
  const std::string cnf = head + "$0 10,10\r\n\x1A";
  const std::vector<uint8_t> archive = testing::TestDollArchive(
      {{"doll.cnf", cnf}, {"pal.kcf", testing::TestKcf(16)}, {"a.cel", testing::TestCel(4, 4, 4)}});
  doll_.Write("doll.lzh", std::string(archive.begin(), archive.end()));
  auto doc = doll_.Open("doll.lzh");
  ASSERT_TRUE(doc);
  const std::string text = Preserved(*doc);
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_TRUE(AllCrLf(text.substr(0, text.find('\x1A')))) << text;
}

TEST_F(PreserverTest, ACnfWithLoneCrEndingsIsWrittenWithCrLf) {
  // Old Macintosh dolls end their lines with CR alone. The archive reader
  // splits on it, a CNF on disk would be one long line: saved, every line
  // ends in CR LF, for both writers, and the doll reads back the same.
  const std::string cnf =
      "; mac doll\r(64,48)\r%pal.kcf\r#0 a.cel *0 :0\r#1 b.cel *0 :0\r$0 1,2 3,4\r";
  const std::vector<uint8_t> archive =
      testing::TestDollArchive({{"doll.cnf", cnf},
                                {"pal.kcf", testing::TestKcf(16)},
                                {"a.cel", testing::TestCel(4, 4, 4)},
                                {"b.cel", testing::TestCel(4, 4, 4)}});
  doll_.Write("doll.lzh", std::string(archive.begin(), archive.end()));
  auto doc = doll_.Open("doll.lzh");
  ASSERT_TRUE(doc);
  const std::string preserved = RoundTrip(*doc);
  EXPECT_TRUE(AllCrLf(preserved)) << preserved;
  EXPECT_EQ(Head(preserved, 2), "; mac doll\r\n(64,48)\r\n");

  const std::string reformatted =
      FormatReformattedCnf(doc->model(), doc->fkiss(), {}, HintValues{50, 7}).text;
  EXPECT_TRUE(AllCrLf(reformatted)) << reformatted;
  auto again = Reload(reformatted);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->model().instances().size(), 2u);
}

TEST_F(PreserverTest, ALoneCrInsideADiskLineIsPartOfThatLine) {
  // On disk only LF ends a line: the CRs below are bytes of their lines.
  // Unchanged, every line is written as it was; the text after the CR of
  // the last line must not turn into a line of its own (a palette line).
  const std::string kept = "%pal.kcf\r\n#0 a.cel *0 :0 ;x\ry\n$0 1,2\n";
  const std::string last = "\x1a;\r%p.kcf\n";
  auto doc = Open(kept + last);
  ASSERT_TRUE(doc);
  const std::string text = RoundTrip(*doc);
  EXPECT_EQ(Head(text, 2), "%pal.kcf\r\n#0 a.cel *0 :0 ;x\ry\n");
  EXPECT_EQ(text.find("\n%p.kcf"), std::string::npos) << text;
  EXPECT_NE(text.find(last), std::string::npos) << text;
  auto again = Reload(text);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->model().palette_file_names, std::vector<std::string>{"pal.kcf"});
}

TEST_F(PreserverTest, ALfCnfStaysLf) {
  auto doc = Open("; plain\n#0 a.cel *0 :0\n$0 1,2\n");
  ASSERT_TRUE(doc);
  const std::string text = Preserved(*doc);
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(Head(text, 2), "; plain\n#0 a.cel *0 :0\n");
}

}  // namespace
}  // namespace luma
