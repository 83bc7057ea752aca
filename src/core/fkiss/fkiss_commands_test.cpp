// Commands by family, each as a doll author relies on it. The families'
// other commands are pinned by fkiss_runtime_test.cpp, the value pool and
// media tests, and the view tests of the mouse events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/host/text.h"
#include "core/testing/script_runtime_fixture.h"

namespace luma {
namespace {

class CommandTest : public testing::ScriptRuntimeTest {};

// --- Variables: what the let commands read ------------------------------------------

TEST_F(CommandTest, QueriesReadInitialPositionsExtentsPointerHeldObjectAndPalette) {
  // #4 has two cels: e.cel at its origin and f.cel 8 right and 2 down.
  Load({"press(#0) move(#4, 5, 7) letinitx(ix, #4) letinity(iy, #4) letobjectx(ox, #4) "
        "letobjecty(oy, #4) letwidth(w, #4) letheight(h, #4) letmousex(mx) letmousey(my) "
        "letcatch(held) letpal(pal) let(n, 4) letheight(hv, n)"},
       {}, {{"e.cel", 6, 4, {}, 0, 0}, {"f.cel", 3, 9, {}, 8, 2}}, "#4 e.cel\n#4 f.cel\n",
       "$3 0,0 20,0 40,0 60,0 50,50");
  Start();
  view_.pointer = {33, 44};
  view_.held = doll_->Object(2);
  Press("a.cel");
  EXPECT_EQ(Var("ix"), 50);
  EXPECT_EQ(Var("iy"), 50);
  EXPECT_EQ(Var("ox"), 55);
  EXPECT_EQ(Var("oy"), 57);
  EXPECT_EQ(Var("w"), 11);
  EXPECT_EQ(Var("h"), 11);
  EXPECT_EQ(Var("hv"), 11);  // the object taken from a variable
  EXPECT_EQ(Var("mx"), 33);
  EXPECT_EQ(Var("my"), 44);
  EXPECT_EQ(Var("held"), 2);
  EXPECT_EQ(Var("pal"), 3);
  view_.held = nullptr;
  Press("a.cel");
  EXPECT_EQ(Var("held"), -1);
}

// --- Display: KCF of cels -------------------------------------------------------------

TEST_F(CommandTest, SetkcfTakesKcfsInRangeAndLetkcfReportsThem) {
  // Two KCF lines; a.cel is true colour, b.cel and #5's e.cel and f.cel are
  // made indexed.
  Load({"press(#0) letkcf(t, #0) setkcf(#1, 1) letkcf(one, #1) setkcf(#1, 2) setkcf(#1, -1) "
        "letkcf(still, #1) setkcf(\"e.cel\", 1) letkcf(mixed, #5) setkcf(#5, 1) "
        "letkcf(same, #5)"},
       {}, {}, "%a.kcf\n%b.kcf\n#5 e.cel\n#5 f.cel\n", "$0 0,0 20,0 40,0 60,0 * 70,70");
  for (const char* name : {"b.cel", "e.cel", "f.cel"}) doll_->Cel(name)->cel->depth = 16;
  Start();
  Press("a.cel");
  EXPECT_EQ(Var("t"), -1);  // a true-colour cel has no KCF
  EXPECT_EQ(Var("one"), 1);
  EXPECT_EQ(Var("still"), 1);   // 2 and -1 are no KCF of this doll
  EXPECT_EQ(Var("mixed"), -1);  // e.cel is on KCF 1, f.cel still on 0
  EXPECT_EQ(Var("same"), 1);
  // The view hears of each cel that changed: b.cel, e.cel, then f.cel.
  EXPECT_EQ(view_.palette_changes, 3);
}

// --- Movement ---------------------------------------------------------------------

TEST_F(CommandTest, RandomMovesStayInsideWhatTheBoundsAllow) {
  Load({"press(#0) movetorand(#1) letobjectx(x, #1) letobjecty(y, #1)",
        "press(#2) moverandy(#3, 3, -2) letobjecty(dy, #3) moverandy(#3, 6, 6) "
        "letobjecty(ey, #3)"});
  Start();
  // x and y each: the low end plus a random number mod the range + 1; a
  // 10 x 10 cel on a 100 x 100 playfield may go from 0 to 91 by script.
  host().set_random_sequence({37, 200});
  Press("a.cel");
  EXPECT_EQ(Var("x"), 37);
  EXPECT_EQ(Var("y"), 200 % 92);
  // moverandy: a random number mod (hi - lo + 1) plus lo, added to y.
  host().set_random_sequence({4});
  Press("c.cel");
  EXPECT_EQ(Var("dy"), 4 % 6 - 2);
  EXPECT_EQ(Var("ey"), Var("dy") + 6);
}

// --- Links ------------------------------------------------------------------------

TEST_F(CommandTest, DetachRunsDetachedOnlyForAChildThatHadAParent) {
  Load({"detached(#1) add(det, det, 1) letparent(p, #1)", "press(#0) detach(#1)",
        "press(#1) attach(#1, #0) letparent(q, #1) detach(#1) move(#0, 5, 0) letobjectx(x, #1)"});
  Start();
  Press("a.cel");
  EXPECT_EQ(Var("det"), 0);
  Press("b.cel");
  EXPECT_EQ(Var("q"), 0);
  EXPECT_EQ(Var("det"), 1);
  EXPECT_EQ(Var("p"), -1);
  EXPECT_EQ(Var("x"), 20);  // no longer carried along
}

// --- Flow -------------------------------------------------------------------------

TEST_F(CommandTest, GotorandomPicksByPercentAndEndsTheEvent) {
  Load({"label(1) let(l, 1)", "label(2) let(l, 2)", "press(#0) gotorandom(30, 1, 2) let(after, 1)",
        "press(#1) gosubrandom(30, 1, 2) let(back, 1)"});
  Start();
  host().set_random_sequence({129});  // 29 < 30: the first label
  Press("a.cel");
  EXPECT_EQ(Var("l"), 1);
  EXPECT_EQ(Var("after"), 0);
  host().set_random_sequence({30});
  Press("a.cel");
  EXPECT_EQ(Var("l"), 2);
  Press("b.cel");
  EXPECT_EQ(Var("back"), 1);
}

TEST_F(CommandTest, EachComparisonTestsItsOwnRelationOnSignedValues) {
  // Label 1 to 4 hold the if form, 11 to 14 the else-if form behind an if
  // that fails; r and s are 1 when the branch ran and 0 when else did.
  const char* relations[] = {"equal", "notequal", "greaterthan", "lessthan"};
  std::vector<std::string> lines;
  for (int i = 0; i < 4; ++i) {
    lines.push_back(StringPrintf("label(%d) if%s(a, b) let(r, 1) else() let(r, 0) endif()", i + 1,
                                 relations[i]));
    lines.push_back(
        StringPrintf("label(%d) ifequal(0, 1) let(s, 9) elseif%s(a, b) let(s, 1) else() "
                     "let(s, 0) endif()",
                     i + 11, relations[i]));
  }
  Load(lines);
  Start();
  // Operands a < b, a = b, a > b; -1 against 1 tells a signed comparison
  // from an unsigned one.
  const int32_t operands[][2] = {{-1, 1}, {1, 1}, {1, -1}};
  const int expected[4][3] = {{0, 1, 0}, {1, 0, 1}, {0, 0, 1}, {1, 0, 0}};
  FkissScript& script = doll_->script;
  for (int i = 0; i < 4; ++i) {
    for (int k = 0; k < 3; ++k) {
      SCOPED_TRACE(StringPrintf("%s(%d, %d)", relations[i], operands[k][0], operands[k][1]));
      script.SetVariable(script.FindVariable("a"), operands[k][0]);
      script.SetVariable(script.FindVariable("b"), operands[k][1]);
      runtime_->RunEvent(Label(i + 1), true);
      runtime_->RunEvent(Label(i + 11), true);
      EXPECT_EQ(Var("r"), expected[i][k]);
      EXPECT_EQ(Var("s"), expected[i][k]);
    }
  }
}

TEST_F(CommandTest, NeverAndEndHoldActionsThatNoStartOrInputRuns) {
  Load({"never() add(n, n, 1)", "end() add(e, e, 1)", "initialize() nop()",
        "press(#0) add(p, p, 1)"});
  EXPECT_EQ(doll_->script.event_count, 4);
  EXPECT_EQ(doll_->script.level, kFkissLevel3);
  Start();
  host().Advance(50);
  runtime_->ProcessAlarms();
  Press("a.cel");
  EXPECT_EQ(Var("p"), 1);
  EXPECT_EQ(Var("n"), 0);
  EXPECT_EQ(Var("e"), 0);
}

// --- Timers -----------------------------------------------------------------------

TEST_F(CommandTest, ConditionalTimersScheduleOnlyWhenTheirTestHolds) {
  // Each alarm adds its own digit; #1 moves and is fixed, #2 stays.
  Load({"alarm(1) add(a, a, 1)", "alarm(2) add(a, a, 10)", "alarm(3) add(a, a, 100)",
        "alarm(4) add(a, a, 1000)", "alarm(5) add(a, a, 10000)", "alarm(6) add(a, a, 100000)",
        "press(#0) move(#1, 1, 0) setfix(#1, 2) unmap(#3) "
        "ifmoved(#1, 1, 5) ifnotmoved(#1, 2, 5) ifnotmoved(#2, 3, 5) "
        "ifnotfixed(#1, 4, 5) ifnotfixed(#2, 5, 5) ifnotmapped(#3, 6, 5) ifnotmapped(#2, 6, 5)"});
  Start();
  Press("a.cel");
  host().Advance(10);
  runtime_->ProcessAlarms();
  EXPECT_EQ(Var("a"), 100000 + 10000 + 100 + 1);
}

// --- Collisions -------------------------------------------------------------------

TEST_F(CommandTest, StilloutRunsOnEveryEvaluationApartAndOutOnlyOnLeaving) {
  Load({"stillout(#0, #1) add(so, so, 1)", "out(#0, #1) add(out, out, 1)",
        "press(#2) move(#0, 1, 0)", "press(#3) moveto(#0, 20, 0)", "press(#1) moveto(#0, 50, 50)"});
  Start();
  EXPECT_EQ(Var("so"), 1);  // the start raises it once
  Press("c.cel");
  Press("c.cel");
  EXPECT_EQ(Var("so"), 3);
  Press("d.cel");  // onto #1: stillout stops
  EXPECT_EQ(Var("so"), 3);
  Press("b.cel");  // off again
  EXPECT_EQ(Var("out"), 1);
  EXPECT_EQ(Var("so"), 4);
}

// --- Mouse event groups -----------------------------------------------------------

TEST_F(CommandTest, TheCatchStepRunsCatchFixcatchAndUnfixInOrder) {
  Load({"catch(#0) mul(o, o, 10) add(o, o, 1)", "fixcatch(#0) mul(o, o, 10) add(o, o, 2)",
        "fixcatch(\"a.cel\") mul(o, o, 10) add(o, o, 3)", "unfix(#0) mul(o, o, 10) add(o, o, 4)",
        "label(1) let(o, 0)"});
  Start();
  runtime_->RaiseCatchStep(doll_->Cel("a.cel"), true, false);
  EXPECT_EQ(Var("o"), 132);  // the cel's fixcatch before its object's
  runtime_->RunEvent(Label(1), true);
  runtime_->RaiseCatchStep(doll_->Cel("a.cel"), false, true);
  EXPECT_EQ(Var("o"), 14);
}

// --- Output -----------------------------------------------------------------------

TEST_F(CommandTest, DebugAndNotifyReachTheirWindows) {
  Load({"press(#0) debug(\"one\") debug(\"two\") notify(\"Hello\")"});
  Start();
  Press("a.cel");
  EXPECT_EQ(runtime_->debug_log().text(), "one\r\ntwo\r\n");
  EXPECT_EQ(view_.notices, std::vector<std::string>{"Hello"});
  EXPECT_EQ(view_.drags_ended, 1);
}

}  // namespace
}  // namespace luma
