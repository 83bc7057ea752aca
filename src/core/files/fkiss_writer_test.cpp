#include "core/files/fkiss_writer.h"

#include <gtest/gtest.h>

#include "core/files/cnf_text.h"
#include "core/fkiss/fkiss_script.h"
#include "core/testing/disk_doll.h"
#include "core/testing/doll_builder.h"
#include "core/testing/doll_description.h"

namespace luma {
namespace {

using testing::DiskDoll;

class FkissWriterTest : public ::testing::Test {
 protected:
  FkissWriterTest() { doll_.WritePalettedCels({"body.cel", "hat.cel", "hat2.cel", "shoe.cel"}); }

  // Loads the doll, writes it with the reformatting writer, loads that and
  // expects the same doll back; returns the script section written.
  std::string RoundTrip(const std::string& cnf) {
    auto doc = doll_.OpenCnf(cnf);
    EXPECT_TRUE(doc);
    if (!doc) return "";
    const std::string script = FormatFkissScript(*doc->fkiss(), doc->model());
    doll_.ExpectLoadsTheSame(
        *doc, FormatReformattedCnf(doc->model(), doc->fkiss(), {}, HintValues{}).text);
    return script;
  }

  DiskDoll doll_;
};

constexpr char kCels[] =
    "%pal.kcf\n"
    "#0 body.cel\n"
    "#1 hat.cel ;!hats\n"
    "#1 hat2.cel ;!hats\n"
    "#2 shoe.cel\n"
    "#2 shoe.cel :3\n";

TEST_F(FkissWriterTest, WritesEveryParameterKindSoItReadsBack) {
  const std::string script =
      RoundTrip(std::string(kCels) +
                ";@EventHandler\n"
                ";@alarm(tick) notify(\"hi there\") ; a comment\n"
                ";@label(jump) map(!hats)\n"
                ";@begin() timer(tick, 10) goto(jump) gosub(5) let(ab, -3) randomtimer(ab, 1, 2)\n"
                ";@label(5) nop()\n"
                ";@press(!hats) unmap(\"shoe.cel\") ghost(\"body.cel\", 1) sound(\"boom.wav\")\n"
                ";@  valuepool(\"store\") savevalue(\"store.x\", ab) loadvalue(cd, \".y\")\n"
                ";@  deletevalue(\"z\") valuepool(\"\") music(\"\")\n"
                ";@collide(\"shoe.cel\", #0) altmap(#1)\n"
                ";@in(\"body.cel\", !hats) move(#2, 1, 2)\n"
                ";@keypress(\"a\") debug(\"x\")\n"
                ";@set(3) changeset(0)\n");
  EXPECT_EQ(script,
            ";@EventHandler\n\n"
            ";@alarm(tick)\n;@  notify(\"hi there\")\n\n"
            ";@label(jump)\n;@  map(!hats)\n\n"
            ";@begin()\n;@  timer(tick, 10)\n;@  goto(jump)\n;@  gosub(5)\n"
            ";@  let(ab, -3)\n;@  randomtimer(ab, 1, 2)\n\n"
            ";@label(5)\n;@  nop()\n\n"
            ";@press(!hats)\n;@  unmap(\"shoe.cel\")\n;@  ghost(\"body.cel\", 1)\n"
            ";@  sound(\"boom.wav\")\n;@  valuepool(\"store\")\n;@  savevalue(\"store.x\", ab)\n"
            ";@  loadvalue(cd, \".y\")\n;@  deletevalue(\"z\")\n;@  valuepool(\"\")\n"
            ";@  music(\"\")\n\n"
            ";@collide(\"shoe.cel\", #0)\n;@  altmap(#1)\n\n"
            ";@in(\"body.cel\", !hats)\n;@  move(#2, 1, 2)\n\n"
            ";@keypress(\"a\")\n;@  debug(\"x\")\n\n"
            ";@set(3)\n;@  changeset(0)\n\n");
}

TEST_F(FkissWriterTest, IndentsIfBlocksOneLevel) {
  const std::string script =
      RoundTrip(std::string(kCels) +
                ";@EventHandler\n"
                ";@begin() let(a1, 1) ifequal(a1, 1) map(#0) elseifgreaterthan(a1, 5) unmap(#0)\n"
                ";@ else() map(#1) endif() ifnotequal(a1, 2) nop() endif() altmap(#2)\n"
                ";@drop(#1) iflessthan(a1, 2) nop()\n");
  EXPECT_EQ(script,
            ";@EventHandler\n\n"
            ";@begin()\n"
            ";@  let(a1, 1)\n"
            ";@  ifequal(a1, 1)\n"
            ";@    map(#0)\n"
            ";@  elseifgreaterthan(a1, 5)\n"
            ";@    unmap(#0)\n"
            ";@  else()\n"
            ";@    map(#1)\n"
            ";@  endif()\n"
            ";@  ifnotequal(a1, 2)\n"
            ";@    nop()\n"
            ";@  endif()\n"
            ";@  altmap(#2)\n\n"
            ";@drop(#1)\n"
            ";@  iflessthan(a1, 2)\n"
            ";@    nop()\n\n");
}

// Commands the tables cannot hold go back where they stood, so the doll
// reads back the same: inside their event (in an if-block too), after a head
// that did not resolve, or before every event. A second head of an event
// stays, as it ends the if-block and so decides whether the endif counts.
TEST_F(FkissWriterTest, KeepsWhatTheScriptCouldNotUseInPlace) {
  const std::string script =
      RoundTrip(std::string(kCels) +
                ";@EventHandler\n"
                ";@map(#0)\n"
                ";@press(#0) ifequal(a, 1) map(\"gone.cel\") unmap(#1) mapp(#2, 3) map(#0\n"
                ";@press(#9) unmap(#0)\n"
                ";@release(#1) nop()\n"
                ";@press(#0) altmap(#2) endif()\n");
  EXPECT_EQ(script,
            ";@EventHandler\n\n"
            ";@map(#0)\n\n"
            ";@press(#0)\n"
            ";@  ifequal(a, 1)\n"
            ";@    map(\"gone.cel\")\n"
            ";@    unmap(#1)\n"
            ";@    mapp(#2, 3)\n"
            ";@    map(#0\n"
            ";@press(#0)\n"
            ";@  altmap(#2)\n"
            ";@  endif()\n\n"
            ";@press(#9)\n"
            ";@unmap(#0)\n\n"
            ";@release(#1)\n"
            ";@  nop()\n\n");
}

TEST_F(FkissWriterTest, WritesNothingWithoutActions) {
  auto doc = doll_.OpenCnf(std::string(kCels) + ";@EventHandler\n;@begin()\n");
  ASSERT_TRUE(doc);
  EXPECT_EQ(FormatFkissScript(*doc->fkiss(), doc->model()), "");
}

}  // namespace
}  // namespace luma
