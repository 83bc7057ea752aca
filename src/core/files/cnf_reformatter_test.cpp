#include <gtest/gtest.h>

#include "core/files/cnf_text.h"
#include "core/fkiss/fkiss_script.h"
#include "core/host/text.h"
#include "core/testing/disk_doll.h"
#include "core/testing/doll_builder.h"
#include "core/testing/doll_description.h"

namespace luma {
namespace {

using testing::DescribeDoll;
using testing::DiskDoll;
using testing::TestCel;
using testing::TestKcf;

std::string Reformatted(CKissCnfDoc& doc, const CnfSaveOptions& options = {}) {
  return FormatReformattedCnf(doc.model(), doc.fkiss(), options, HintValues{50, 7}).text;
}

class ReformatterTest : public ::testing::Test {
 protected:
  ReformatterTest() {
    doll_.WritePalettedCels({"body.cel", "hat.cel", "shoe.cel", "a.cel", "b.cel"});
  }
  // Writes the doll with the reformatting writer and expects that CNF to
  // load to the same doll; returns the CNF.
  std::string RoundTrip(CKissCnfDoc& doc, const CnfSaveOptions& options = {}) {
    return doll_.ExpectLoadsTheSame(doc, Reformatted(doc, options));
  }

  DiskDoll doll_;
};

// The lines of `text` from the one starting with `first` up to the next empty line.
std::string Section(const std::string& text, const std::string& first) {
  const size_t start = text.find(first);
  if (start == std::string::npos) return "";
  const size_t end = text.find("\n\n", start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start);
}

TEST_F(ReformatterTest, WritesTheWholeLayout) {
  auto doc = doll_.OpenCnf(
      "; made by hand\n"
      "(300,200)\n"
      "[3\n"
      "%pal.kcf\n"
      ";HINT stack 40\n"
      "#0 body.cel *0 :0 1\n"
      "#1.3 hat.cel :2 ;%t128 %u %g !hats :2 ; my hat\n"
      "#12 shoe.cel\n"
      "$1 10,20 * 5,6\n"
      " 7,8\n");
  ASSERT_TRUE(doc);
  EXPECT_EQ(Reformatted(*doc),
            ";; This CNF file was written by Lumadoll\n"
            ";; Please edit this comment before distributing your KiSS set\n"
            "\n"
            ";HINT stack 40\n"
            "\n"
            ";;Screen size\n"
            "(300,200\n"
            "\n"
            ";;Border color index\n"
            "[3\n"
            "\n"
            ";;Palettes\n"
            "%pal.kcf\n"
            "\n"
            ";; Cel Declarations\n"
            "#0    body.cel *0  :0 1                \n"
            "#1.3  hat.cel  *0  :    2               ;%t128 %u %g !hats :2 ;my hat\n"
            "#12   shoe.cel *0  :0 1 2 3 4 5 6 7 8 9\n"
            "\n"
            ";;Positional data\n"
            ";; Set 0\n"
            "$1 10,20 * 5,6 7,8 * * * * * *\n"
            " * * 0,0\n"
            ";; Set 1\n"
            "$0 0,0 * 0,0 0,0 * * * * * *\n"
            " * * 0,0\n"
            ";; Set 2\n"
            "$0 * 0,0 0,0 0,0 * * * * * *\n"
            " * * 0,0\n"
            ";; Set 3\n"
            "$0 * * 0,0 0,0 * * * * * *\n"
            " * * 0,0\n"
            ";; Set 4\n"
            "$0 * * 0,0 0,0 * * * * * *\n"
            " * * 0,0\n"
            ";; Set 5\n"
            "$0 * * 0,0 0,0 * * * * * *\n"
            " * * 0,0\n"
            ";; Set 6\n"
            "$0 * * 0,0 0,0 * * * * * *\n"
            " * * 0,0\n"
            ";; Set 7\n"
            "$0 * * 0,0 0,0 * * * * * *\n"
            " * * 0,0\n"
            ";; Set 8\n"
            "$0 * * 0,0 0,0 * * * * * *\n"
            " * * 0,0\n"
            ";; Set 9\n"
            "$0 * * 0,0 0,0 * * * * * *\n"
            " * * 0,0\n");
}

TEST_F(ReformatterTest, WritesTheLineEndingTheCnfHad) {
  auto doc = doll_.OpenCnf("; mine\r\n%pal.kcf\r\n#0 a.cel *0 :0\r\n$0 1,2\r\n");
  ASSERT_TRUE(doc);
  const std::string text = Reformatted(*doc);
  size_t lines = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n') continue;
    ++lines;
    EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "line " << lines;
  }
  EXPECT_GT(lines, 10u);
  EXPECT_EQ(RoundTrip(*doc), text);

  doll_.Write("lf.cnf", "%pal.kcf\n#0 a.cel *0 :0\n$0 1,2\n");
  auto lf = doll_.Open("lf.cnf");
  ASSERT_TRUE(lf);
  EXPECT_EQ(Reformatted(*lf).find('\r'), std::string::npos);

  // A doll that never had a CNF gets the line ending KiSS dolls were made with.
  lf->model().cnf_lines.clear();
  lf->model().cnf_raw_lines.clear();
  EXPECT_NE(Reformatted(*lf).find("\r\n"), std::string::npos);
}

TEST_F(ReformatterTest, SetLinesBreakAfterEveryTenthObject) {
  std::string cnf;
  for (int k = 0; k < 24; ++k) cnf += StringPrintf("#%d a.cel :0\n", k);
  cnf += "$0";
  for (int k = 0; k < 24; ++k) cnf += StringPrintf(" %d,%d", k, 2 * k);
  auto doc = doll_.OpenCnf(cnf + "\n");
  ASSERT_TRUE(doc);
  const std::string text = RoundTrip(*doc);
  const size_t start = text.find(";; Set 0\n");
  EXPECT_EQ(text.substr(start, text.find(";; Set 2\n") - start),
            ";; Set 0\n"
            "$0 0,0 1,2 2,4 3,6 4,8 5,10 6,12 7,14 8,16 9,18\n"
            " 10,20 11,22 12,24 13,26 14,28 15,30 16,32 17,34 18,36 19,38\n"
            " 20,40 21,42 22,44 23,46\n"
            ";; Set 1\n"
            "$0\n");
}

// A palette line may double its "%"; a file name that itself starts with
// "%" must come back as that name, not lose a "%" to the doubling.
TEST_F(ReformatterTest, PaletteNamesStartingWithAPercentSignReadBackTheSame) {
  auto doc = doll_.OpenCnf("%%%odd.kcf\n%%even.kcf\n#0 a.cel :0\n$0 1,1\n");
  ASSERT_TRUE(doc);
  ASSERT_EQ(doc->model().palette_file_names, (std::vector<std::string>{"%odd.kcf", "even.kcf"}));
  const std::string written = RoundTrip(*doc);
  EXPECT_NE(written.find("\n%%%odd.kcf\n%even.kcf\n"), std::string::npos) << written;
}

// An object that only a set line places has no cel line, but the script
// may name it: both writers keep it.
TEST_F(ReformatterTest, KeepsObjectsWithoutCels) {
  auto doc = doll_.OpenCnf(
      "#0 a.cel :0\n"
      ";@EventHandler\n"
      ";@press(#0) unmap(#2)\n"
      "$0 1,1 * 5,6\n");
  ASSERT_TRUE(doc);
  EXPECT_NE(RoundTrip(*doc).find(";; Set 0\n$0 1,1 * 5,6\n;; Set 1\n$0 * * 0,0\n"),
            std::string::npos);
  const std::string preserved =
      FormatPreservedCnf(doc->model(), doc->fkiss(), {}, HintValues{}).text;
  doll_.Write("again.cnf", preserved);
  auto again = doll_.Open("again.cnf");
  ASSERT_TRUE(again);
  EXPECT_EQ(DescribeDoll(again->model(), again->fkiss()), DescribeDoll(doc->model(), doc->fkiss()));
}

TEST_F(ReformatterTest, ThirtyTwoBitDollHasNoPaletteColumn) {
  doll_.Write("true.cel", TestCel(4, 4, 32));
  doll_.Write("other.cel", TestCel(4, 4, 32));
  auto doc = doll_.OpenCnf(
      "#0 true.cel :\n"
      "#1 other.cel :1 3\n"
      "$0 5,5 6,6\n");
  ASSERT_TRUE(doc);
  EXPECT_EQ(Section(RoundTrip(*doc), ";; Cel"),
            ";; Cel Declarations\n"
            "#0 true.cel   :                   \n"
            "#1 other.cel  :  1   3            \n");

  // A 32-bit cel registered with another palette keeps it: it is a cel of
  // its own in the doll.
  doc = doll_.OpenCnf("#0 true.cel\n#1 true.cel * 2\n");
  ASSERT_TRUE(doc);
  EXPECT_EQ(Section(RoundTrip(*doc), ";; Cel"),
            ";; Cel Declarations\n"
            "#0 true.cel     :0 1 2 3 4 5 6 7 8 9\n"
            "#1 true.cel * 2  :0 1 2 3 4 5 6 7 8 9\n");
}

TEST_F(ReformatterTest, ExtensionsOnlyWhereTheyDifferAndCommentsKept) {
  std::string offset_cel = TestCel(4, 4, 4);
  offset_cel[12] = 3;  // x offset in the cel header
  offset_cel[14] = 4;  // y offset
  doll_.Write("off.cel", offset_cel);
  auto doc = doll_.OpenCnf(
      "%pal.kcf\n"
      "#0 off.cel ;%x3 %y9 ;  note\n"
      "#1 a.cel ;%t0 ;%not an extension\n"
      "#2 b.cel ; plain words\n"
      "#3 body.cel ;%t255 %u\n");
  ASSERT_TRUE(doc);
  EXPECT_EQ(Section(RoundTrip(*doc), ";; Cel"),
            ";; Cel Declarations\n"
            "#0 off.cel  *0  :0 1 2 3 4 5 6 7 8 9 ;%y9 ;note\n"
            "#1 a.cel    *0  :0 1 2 3 4 5 6 7 8 9 ;%t0 ;%not an extension\n"
            "#2 b.cel    *0  :0 1 2 3 4 5 6 7 8 9 ; plain words\n"
            "#3 body.cel *0  :0 1 2 3 4 5 6 7 8 9 ;%t255 %u\n");
}

// A ";" ends the extension, so a group whose name holds one goes on a ;!
// line, and the groups after it follow it there to keep their order.
TEST_F(ReformatterTest, GroupNamesWithASemicolonGoOnTheirOwnLine) {
  auto doc = doll_.OpenCnf(
      "#0 a.cel ;!hats :2\n"
      ";!odd;one :1 !caps\n");
  ASSERT_TRUE(doc);
  EXPECT_EQ(Section(RoundTrip(*doc), ";; Cel"),
            ";; Cel Declarations\n"
            "#0 a.cel *0  :0 1 2 3 4 5 6 7 8 9 ;!hats :2\n"
            ";!odd;one :1 !caps\n");
}

TEST_F(ReformatterTest, LiveValuesOnlyWhereTheOptionsAskForThem) {
  doll_.settings().boundary_enforcement = 1;
  auto doc = doll_.OpenCnf(
      ";HINT maxfix 30\n"
      ";HINT bounds none\n"
      "#0 a.cel\n"
      "#1 b.cel ;%u\n"
      "$0 1,1 2,2\n");
  ASSERT_TRUE(doc);
  DollModel& doll = doc->model();
  doll.instances()[0]->transparency = 77;
  doll.instances()[0]->mapped = false;
  doll.instances()[1]->mapped = true;
  doll.objects()[1]->position[0] = Position{40, 50};
  doll.hints.bounds = BoundsMode::kLimited;

  const std::string as_read = Reformatted(*doc);
  EXPECT_NE(as_read.find(";HINT maxfix 30\n;HINT bounds none\n\n"), std::string::npos);
  EXPECT_NE(
      as_read.find("#0 a.cel *0  :0 1 2 3 4 5 6 7 8 9\n#1 b.cel *0  :0 1 2 3 4 5 6 7 8 9 ;%u\n"),
      std::string::npos);
  EXPECT_NE(as_read.find("$0 1,1 2,2\n"), std::string::npos);

  CnfSaveOptions live;
  live.transparencies = live.mapping = live.positions = true;
  live.stack_hint = live.maxfix_hint = live.bounds_hint = true;
  const std::string current = Reformatted(*doc, live);
  EXPECT_NE(current.find(";HINT maxfix 7\n;HINT stack 50\n;HINT bounds limited\n\n"),
            std::string::npos);
  EXPECT_NE(current.find(
                "#0 a.cel *0  :0 1 2 3 4 5 6 7 8 9 ;%t77 %u\n#1 b.cel *0  :0 1 2 3 4 5 6 7 8 9\n"),
            std::string::npos);
  EXPECT_NE(current.find("$0 1,1 40,50\n"), std::string::npos);
}

// A cel whose file is missing has no instance, but its line, its object's
// positions and the script lines naming it are part of the doll: they come
// back with the file.
TEST_F(ReformatterTest, KeepsCelLinesWhoseFileIsMissing) {
  auto doc = doll_.OpenCnf(
      "#0 a.cel\n"
      "#1 gone.cel :2 ;%t5\n"
      "\n"
      ";!grp\n"
      "#2 b.cel\n"
      ";@EventHandler\n"
      ";@press(#0) map(\"gone.cel\") unmap(\"a.cel\")\n"
      ";@release(\"gone.cel\") unmap(#2)\n"
      "$0 1,1 2,2 3,3\n$0 4,4 5,5 6,6\n$0 7,7 8,8 9,9\n");
  ASSERT_TRUE(doc);
  const std::string text = RoundTrip(*doc);
  EXPECT_EQ(Section(text, ";; Cel"),
            ";; Cel Declarations\n"
            "#0 a.cel *0  :0 1 2 3 4 5 6 7 8 9\n"
            "#1 gone.cel :2 ;%t5\n"
            ";!grp\n"
            "#2 b.cel *0  :0 1 2 3 4 5 6 7 8 9\n");
  EXPECT_NE(text.find(";; Set 2\n$0 7,7 8,8 9,9\n"), std::string::npos);
  const size_t script = text.find(";@EventHandler");
  EXPECT_EQ(text.substr(script, text.find(";;Positional") - script),
            ";@EventHandler\n"
            "\n"
            ";@press(#0)\n"
            ";@  map(\"gone.cel\")\n"
            ";@  unmap(\"a.cel\")\n"
            "\n"
            ";@release(\"gone.cel\")\n"
            ";@unmap(#2)\n"
            "\n");

  doll_.Write("gone.cel", TestCel(4, 4, 4));
  auto original = doll_.Open("doll.cnf");
  auto rewritten = doll_.Open("again.cnf");
  ASSERT_TRUE(original && rewritten);
  EXPECT_EQ(DescribeDoll(rewritten->model(), rewritten->fkiss()),
            DescribeDoll(original->model(), original->fkiss()));
  EXPECT_EQ(rewritten->fkiss()->action_count, 3);
}

}  // namespace
}  // namespace luma
