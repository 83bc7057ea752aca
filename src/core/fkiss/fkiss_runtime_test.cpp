#include "core/fkiss/fkiss_runtime.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/host/text.h"
#include "core/model/doll_limits.h"
#include "core/testing/script_runtime_fixture.h"

namespace luma {
namespace {

using testing::FakeScriptView;
using testing::ScriptedDoll;
using testing::TestCelImage;

class RuntimeTest : public testing::ScriptRuntimeTest {};

// --- Dispatch -------------------------------------------------------------------

TEST_F(RuntimeTest, GosubToItselfRunsToTheLimitAndReportsOnce) {
  Load({"label(1) add(n, n, 1) gosub(1)"});
  Start();
  runtime_->RunEvent(Label(1), true);
  EXPECT_EQ(Var("n"), 20);
  EXPECT_EQ(runtime_->deepest_stack(), 20);
  ASSERT_EQ(view_.warnings.size(), 1u);
  const std::string& text = view_.warnings[0];
  EXPECT_EQ(text.substr(0, 24), "Total stack depth: 21\r\n1");
  EXPECT_NE(text.find("\r\n21: label(1)\r\n"), std::string::npos);
  EXPECT_NE(text.find("Event stack has exceeded the maximum depth of 20 in label(1)."),
            std::string::npos);
  runtime_->RunEvent(Label(1), true);
  EXPECT_EQ(Var("n"), 40);
  EXPECT_EQ(view_.warnings.size(), 1u);
}

TEST_F(RuntimeTest, AStackHintMayGoBelowTwentyButNotBeyondSixteenMillion) {
  RuntimeSettings settings;
  settings.max_stack = 5;
  Load({"label(1) add(n, n, 1) gosub(1)"}, settings);
  Start();
  runtime_->RunEvent(Label(1), true);
  EXPECT_EQ(Var("n"), 5);
  EXPECT_NE(view_.warnings.at(0).find("maximum depth of 5 in"), std::string::npos);

  settings.max_stack = INT32_MAX;
  FkissRuntime huge(doll_->doll, doll_->script, view_, host(), settings);
  EXPECT_EQ(huge.max_stack(), 16000000);
}

TEST_F(RuntimeTest, AChainMillionsDeepRunsWithoutNativeRecursion) {
  RuntimeSettings settings;
  settings.max_stack = 2000000;
  Load({"label(1) add(n, n, 1) gosub(1)",
        "label(2) add(m, m, 1) iflessthan(m, 1500000) goto(2) endif()",
        "label(3) add(r, r, 1) repeat(3, 1, i)"},
       settings);
  Start();
  runtime_->RunEvent(Label(1), true);
  EXPECT_EQ(Var("n"), 2000000);
  ASSERT_EQ(view_.warnings.size(), 1u);
  const std::string& text = view_.warnings[0];
  // 20 entries, "...", 20 entries, and the summary.
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 20 + 1 + 20);
  EXPECT_NE(text.find("\r\n20: label(1)\r\n...\r\n1999982: label(1)\r\n"), std::string::npos);
  EXPECT_NE(text.find("2000001: label(1)\r\nEvent stack"), std::string::npos);
  runtime_->RunEvent(Label(2), true);
  EXPECT_EQ(Var("m"), 1500000);
  runtime_->RunEvent(Label(3), true);
  EXPECT_EQ(Var("r"), 2000000);
}

// A repeat count near 2^31, or recursion at the deepest stack hint, would
// hold the program for minutes: one dispatch runs at most its share of
// actions, then stops with a trace line and, once per event, a warning in
// the error report. The next dispatch starts afresh.
TEST_F(RuntimeTest, ARunawayDispatchStopsAtItsActionBound) {
  EXPECT_EQ(RuntimeSettings().max_dispatch_actions, 50000000);
  RuntimeSettings settings;
  settings.max_dispatch_actions = 1000;
  Load({"label(1) add(n, n, 1)", "press(#0) repeat(1, 2147483647, i) let(after, 1)",
        "press(#1) add(m, m, 1)"},
       settings);
  Start();
  runtime_->SetTrace(true);
  Press("a.cel");
  EXPECT_EQ(Var("n"), 999);  // the repeat itself was the first action
  EXPECT_EQ(Var("after"), 0);
  EXPECT_NE(runtime_->trace().text().find("*** press(#0) STOPPED AFTER 1000 ACTIONS ***\r\n"),
            std::string::npos);
  const std::vector<std::string> warning{
      "FKiSS: press(#0) stopped after 1000 actions; one event may run at most that many."};
  EXPECT_EQ(doll_->doll.report.warnings(), warning);
  Press("a.cel");
  EXPECT_EQ(Var("n"), 2 * 999);
  EXPECT_EQ(doll_->doll.report.warnings(), warning);
  Press("b.cel");
  EXPECT_EQ(Var("m"), 1);
  EXPECT_EQ(runtime_->most_commands(), 1000);

  settings.max_stack = 16000000;
  settings.max_dispatch_actions = 100000;
  Load({"label(2) add(d, d, 1) gosub(2)", "press(#0) gosub(2)"}, settings);
  Start();
  Press("a.cel");
  EXPECT_EQ(Var("d"), 50000);
  EXPECT_TRUE(view_.warnings.empty());  // stopped long before the stack limit
  EXPECT_EQ(doll_->doll.report.warnings(),
            std::vector<std::string>{"FKiSS: press(#0) stopped after 100000 actions; one event "
                                     "may run at most that many."});
}

// Runaway alarms due together, each re-arming itself and moving an object
// into a collision on every round of its loop: one pass stops once all of
// them together ran its share of actions, whatever the "Quick Timer" count.
// The alarm cut short by the pass bound is not reported as a runaway of its
// own; the alarms left wait for the next pass.
TEST_F(RuntimeTest, OneAlarmPassStopsAtItsActionBound) {
  EXPECT_EQ(RuntimeSettings().max_alarm_pass_actions, 50000000);
  RuntimeSettings settings;
  settings.max_dispatch_actions = 1000;
  settings.max_alarm_pass_actions = 1500;
  Load({"begin() timer(1, 1) timer(2, 1) timer(3, 1)",
        "alarm(1) add(runs, runs, 1) timer(1, 2) repeat(2, 2147483647, k)",
        "alarm(2) add(runs, runs, 1) timer(2, 2) repeat(2, 2147483647, k)",
        "alarm(3) add(runs, runs, 1) timer(3, 2) repeat(2, 2147483647, k)",
        "label(2) add(n, n, 1) moveto(#0, 15, 0) moveto(#0, 0, 0)", "collide(#0, #1) add(c, c, 1)"},
       settings);
  std::vector<std::string> stops;
  runtime_->trace().set_listener([&stops](std::string_view line) {
    if (line.starts_with("***")) stops.emplace_back(line);
  });
  Start();
  runtime_->SetTrace(true);
  host().Advance(1);
  runtime_->ProcessAlarms();  // begin
  host().Advance(1);
  // alarm(1): 3 actions, 249 rounds of 4 and the first action of the next;
  // alarm(2): 3, 124 rounds and one action more (1500 in all).
  EXPECT_EQ(runtime_->ProcessAlarms(), 1u);
  EXPECT_EQ(Var("runs"), 2);
  EXPECT_EQ(Var("n"), 250 + 125);
  EXPECT_EQ(Var("c"), 249 + 124);
  EXPECT_EQ(stops, (std::vector<std::string>{"*** alarm(1) STOPPED AFTER 1000 ACTIONS ***",
                                             "*** ALARM PASS STOPPED AFTER 1500 ACTIONS ***"}));
  const std::vector<std::string> warnings{
      "FKiSS: alarm(1) stopped after 1000 actions; one event may run at most that many.",
      "FKiSS: one alarm pass stopped after 1500 actions; one pass may run at most that many."};
  EXPECT_EQ(doll_->doll.report.warnings(), warnings);

  // The next pass begins with the alarm left over; the pass warning stays one.
  runtime_->ProcessAlarms();
  EXPECT_EQ(Var("runs"), 3);
  host().Advance(2);
  runtime_->ProcessAlarms();
  EXPECT_EQ(Var("runs"), 5);
  EXPECT_EQ(doll_->doll.report.warnings().size(), 3u);
  EXPECT_EQ(doll_->doll.report.warnings()[2],
            "FKiSS: alarm(3) stopped after 1000 actions; one event may run at most that many.");
}

TEST_F(RuntimeTest, ExiteventEndsOnlyTheTargetAndExitloopEndsTheRepeat) {
  Load({"label(1) add(a, a, 1) exitevent() add(a, a, 100)",
        "label(2) add(c, c, 1) ifequal(i, 2) exitloop() endif() add(c, c, 10)",
        "press(#0) gosub(1) add(b, b, 1)", "press(#1) repeat(2, 5, i) add(d, d, 1)",
        "press(#2) gosub(2) add(e, e, 1)"});
  Start();
  Press("a.cel");
  EXPECT_EQ(Var("a"), 1);
  EXPECT_EQ(Var("b"), 1);
  Press("b.cel");
  EXPECT_EQ(Var("c"), 12);  // i = 1 runs through, i = 2 leaves the loop
  EXPECT_EQ(Var("d"), 1);
  Press("c.cel");  // under gosub, exitloop ends only the label
  EXPECT_EQ(Var("e"), 1);
}

TEST_F(RuntimeTest, ExactlyOneBranchRuns) {
  Load(
      {"label(1) let(r, 0) ifequal(x, 1) add(r, r, 1) elseifequal(x, 2) add(r, r, 2) "
       "elseifgreaterthan(x, 1) add(r, r, 4) else() add(r, r, 8) endif() add(r, r, 16)"});
  Start();
  const int32_t expected[] = {0, 1 + 16, 2 + 16, 4 + 16};
  for (int32_t x = 1; x <= 3; ++x) {
    doll_->script.SetVariable(doll_->script.FindVariable("x"), x);
    runtime_->RunEvent(Label(1), true);
    EXPECT_EQ(Var("r"), expected[x]) << x;
  }
  doll_->script.SetVariable(doll_->script.FindVariable("x"), 0);
  runtime_->RunEvent(Label(1), true);
  EXPECT_EQ(Var("r"), 8 + 16);
}

TEST_F(RuntimeTest, OnlyEndifClearsATakenBranch) {
  // The second if is illegally nested; it does not undo the first one's
  // taken branch, so the else after it stays shut.
  Load(
      {"label(1) ifequal(1, 1) add(a, a, 1) ifequal(1, 0) add(b, b, 1) else() add(c, c, 1) "
       "endif() add(d, d, 1) ifequal(1, 0) add(e, e, 1) else() add(f, f, 1) endif()",
       "label(2) iflessthan(2, 1) add(g, g, 1) ifgreaterthan(2, 1) add(h, h, 1) "
       "elseifnotequal(2, 1) add(i, i, 1) elseiflessthan(1, 2) add(j, j, 1) endif()"});
  Start();
  runtime_->RunEvent(Label(1), true);
  EXPECT_EQ(Var("a"), 1);
  EXPECT_EQ(Var("b"), 0);
  EXPECT_EQ(Var("c"), 0);
  EXPECT_EQ(Var("d"), 1);
  EXPECT_EQ(Var("e"), 0);
  EXPECT_EQ(Var("f"), 1);  // after endif a fresh block begins
  runtime_->RunEvent(Label(2), true);
  EXPECT_EQ(Var("g"), 0);
  EXPECT_EQ(Var("h"), 1);
  EXPECT_EQ(Var("i"), 0);  // a taken branch passes over every else-if
  EXPECT_EQ(Var("j"), 0);
}

TEST_F(RuntimeTest, RepeatSetsTheCounterFromOne) {
  Load({"label(1) mul(s, s, 10) add(s, s, i)", "press(#0) repeat(1, 3, i)",
        "press(#1) repeat(1, 0, j) repeat(1, -4, j) let(t, j)"});
  Start();
  Press("a.cel");
  EXPECT_EQ(Var("s"), 123);
  EXPECT_EQ(Var("i"), 3);
  Press("b.cel");
  EXPECT_EQ(Var("t"), 0);
  EXPECT_EQ(Var("s"), 123);
}

TEST_F(RuntimeTest, StartOrderPutsBeginAfterTheSetAndColEvents) {
  Load({"initialize() mul(o, o, 10) add(o, o, 1)", "version(1) mul(o, o, 10) add(o, o, 2)",
        "set(0) mul(o, o, 10) add(o, o, 3)", "col(0) mul(o, o, 10) add(o, o, 4)",
        "begin() mul(o, o, 10) add(o, o, 5)", "set(1) let(o, -1)"});
  Start();
  EXPECT_EQ(Var("o"), 1234);
  host().Advance(1);
  runtime_->ProcessAlarms();
  EXPECT_EQ(Var("o"), 12345);
  EXPECT_EQ(view_.palette_groups, std::vector<int>{0});
}

TEST_F(RuntimeTest, QuitStopsEverythingAndAsksToClose) {
  Load({"label(1) add(a, a, 1)", "press(#0) gosub(2) add(a, a, 100)",
        "label(2) quit() add(a, a, 10)", "press(#1) add(a, a, 1000)"});
  Start();
  Press("a.cel");
  EXPECT_EQ(Var("a"), 0);
  EXPECT_EQ(view_.close_requests, 1);
  EXPECT_TRUE(runtime_->quit_requested());
  Press("b.cel");
  runtime_->RunEvent(Label(1), true);
  EXPECT_EQ(Var("a"), 0);
}

TEST_F(RuntimeTest, KeysIgnoreAutoRepeatAndFeedLetkeymap) {
  Load({"keypress(\"space\") add(k, k, 1) letkeymap(m, \"upspace\") letkey(f, \"xUp space\")",
        "keyrelease(\"space\") add(r, r, 1) letkeymap(m, \"upspace\")"});
  Start();
  runtime_->KeyDown(kKeySpace, false);
  runtime_->KeyDown(kKeySpace, true);
  EXPECT_EQ(Var("k"), 1);
  EXPECT_EQ(Var("m"), 2);
  EXPECT_EQ(Var("f"), 4);  // x, up, blank, then space
  runtime_->KeyUp(kKeySpace);
  EXPECT_EQ(Var("r"), 1);
  EXPECT_EQ(Var("m"), 0);
}

// --- Alarms ---------------------------------------------------------------------

TEST_F(RuntimeTest, QuickTimerBudgetRunsFiveFiveTwo) {
  std::vector<std::string> lines;
  std::string begin = "begin()";
  for (int i = 1; i <= 12; ++i) {
    begin += StringPrintf(" timer(%d, 10)", i);
    lines.push_back(StringPrintf("alarm(%d) add(n, n, 1)", i));
  }
  lines.push_back(begin);
  Load(lines);
  Start();
  host().Advance(1);
  runtime_->ProcessAlarms();  // begin
  host().Advance(50);
  EXPECT_EQ(runtime_->ProcessAlarms(), 1u);
  EXPECT_EQ(Var("n"), 5);
  runtime_->ProcessAlarms();
  EXPECT_EQ(Var("n"), 10);
  EXPECT_EQ(runtime_->ProcessAlarms(), 0u);
  EXPECT_EQ(Var("n"), 12);
}

TEST_F(RuntimeTest, AlarmsDueTogetherRunInSchedulingOrder) {
  Load({"begin() timer(3, 10) timer(1, 10) timer(2, 10) timer(4, 5)",
        "alarm(1) mul(o, o, 10) add(o, o, 1)", "alarm(2) mul(o, o, 10) add(o, o, 2)",
        "alarm(3) mul(o, o, 10) add(o, o, 3)", "alarm(4) mul(o, o, 10) add(o, o, 4)"});
  Start();
  host().Advance(1);
  EXPECT_EQ(runtime_->ProcessAlarms(), 5u);  // all count from begin's time base
  host().Advance(20);
  runtime_->ProcessAlarms();
  EXPECT_EQ(Var("o"), 4312);
}

TEST_F(RuntimeTest, AnAlarmReschedulingItselfRunsOncePerPass) {
  Load({"begin() timer(1, 1)", "alarm(1) add(n, n, 1) timer(1, 1)"});
  Start();
  host().Advance(1);
  runtime_->ProcessAlarms();
  host().Advance(5);
  runtime_->ProcessAlarms();
  EXPECT_EQ(Var("n"), 1);
  runtime_->ProcessAlarms();
  EXPECT_EQ(Var("n"), 1);
  host().Advance(1);
  runtime_->ProcessAlarms();
  EXPECT_EQ(Var("n"), 2);
}

TEST_F(RuntimeTest, TimerZeroCancelsAndLettimerMeasuresFromTheTimeBase) {
  Load({"press(#0) timer(5, 100) lettimer(a, 5) timer(5, 0) lettimer(b, 5) lettimer(c, 6)",
        "alarm(5) add(fired, fired, 1)", "alarm(6) nop()", "press(#1) timer(6, 30)",
        "press(#2) lettimer(d, 6)"});
  Start();
  Press("a.cel");
  EXPECT_EQ(Var("a"), 100);
  EXPECT_EQ(Var("b"), -1);
  EXPECT_EQ(Var("c"), -1);
  Press("b.cel");
  host().Advance(10);
  Press("c.cel");
  EXPECT_EQ(Var("d"), 20);
  host().Advance(30);
  Press("c.cel");
  EXPECT_EQ(Var("d"), 0);  // overdue but not yet run
  host().Advance(200);
  runtime_->ProcessAlarms();
  EXPECT_EQ(Var("fired"), 0);
}

TEST_F(RuntimeTest, PendingAlarmsNeverOutliveTheirScript) {
  Load({"press(#0) timer(1, 100) timer(2, 200)", "alarm(1) nop()", "alarm(2) nop()",
        "press(#1) lettimer(t, 2)"});
  Start();
  Press("a.cel");
  // A new run-time for the same script (the view restarts the doll).
  runtime_ =
      std::make_unique<FkissRuntime>(doll_->doll, doll_->script, view_, host(), RuntimeSettings());
  Start();
  Press("b.cel");
  EXPECT_EQ(Var("t"), -1);
  // The document drops its script under a run-time with alarms queued (a
  // reload or a close): neither a restart nor the end of the run-time may
  // touch the events that went with it.
  const std::vector<std::string> lines = {"press(#0) timer(1, 100) timer(2, 200)", "alarm(1) nop()",
                                          "alarm(2) nop()"};
  Press("a.cel");
  doll_->script.Clear();
  Start();
  EXPECT_TRUE(runtime_->alarms().empty());
  Load(lines);
  Start();
  Press("a.cel");
  ASSERT_EQ(runtime_->alarms().size(), 2u);
  doll_->script.Clear();
  runtime_.reset();
}

TEST_F(RuntimeTest, AlarmsKeepOrderAndFireAcrossTheClockWrap) {
  Load({"press(#0) timer(2, 512) timer(1, 128)", "alarm(1) mul(o, o, 10) add(o, o, 1)",
        "alarm(2) mul(o, o, 10) add(o, o, 2)"});
  Start();
  host().set_now(0xFFFFFF00u);
  Press("a.cel");
  host().Advance(127);
  runtime_->ProcessAlarms();
  EXPECT_EQ(Var("o"), 0);
  host().Advance(1);
  runtime_->ProcessAlarms();
  EXPECT_EQ(Var("o"), 1);
  host().Advance(384);  // alarm 2 falls due after the clock wrapped
  runtime_->ProcessAlarms();
  EXPECT_EQ(Var("o"), 12);
}

// --- Actions --------------------------------------------------------------------

TEST_F(RuntimeTest, ArithmeticOverflowAndDivisionRunOverflow) {
  Load({"overflow() add(over, over, 1)",
        "press(#0) let(a, 7) add(a, 2147483647, 1) sub(a, -2147483648, 1) mul(a, 65536, 65536) "
        "div(a, 5, 0) mod(a, 5, 0) div(a, -2147483648, -1) mod(a, -2147483648, -1)",
        "press(#1) div(q, -7, 2) mod(m, -7, 2) mul(p, -46341, 46340) sub(s, -2147483647, 1)"});
  Start();
  Press("a.cel");
  EXPECT_EQ(Var("a"), 7);
  EXPECT_EQ(Var("over"), 7);
  Press("b.cel");
  EXPECT_EQ(Var("q"), -3);
  EXPECT_EQ(Var("m"), -1);
  EXPECT_EQ(Var("p"), -2147441940);
  EXPECT_EQ(Var("s"), INT32_MIN);
  EXPECT_EQ(Var("over"), 7);
}

TEST_F(RuntimeTest, RandomValuesStayInTheirRange) {
  Load(
      {"press(#0) random(a, 5, 5) random(b, 7, 3) moverandx(#1, 4, 4) "
       "random(c, -2147483648, 2147483647)"});
  Start();
  host().set_random_sequence({32767});
  Press("a.cel");
  EXPECT_EQ(Var("a"), 5);
  EXPECT_EQ(Var("b"), 3 + 32767 % 5);
  EXPECT_EQ(At(1).x, 24);
  EXPECT_EQ(Var("c"), INT32_MIN + 32767);
}

TEST_F(RuntimeTest, TransparencyIsClampedAndGhostAndMappingChange) {
  Load(
      {"press(#0) transparent(#1, 300) transparent(#2, -300) ghost(\"d.cel\", 1) altmap(#3) "
       "lettransparent(t, #1) letmapped(m, #3)"});
  Start();
  doll_->Cel("c.cel")->transparency = 40;
  Press("a.cel");
  EXPECT_EQ(doll_->Cel("b.cel")->transparency, 255);
  EXPECT_EQ(doll_->Cel("c.cel")->transparency, 0);
  EXPECT_TRUE(doll_->Cel("d.cel")->ghost);
  EXPECT_FALSE(doll_->Cel("d.cel")->mapped);
  EXPECT_EQ(Var("t"), 255);
  EXPECT_EQ(Var("m"), 0);
  EXPECT_EQ(view_.transparency_changes, 2);
}

TEST_F(RuntimeTest, ChangesetToTheCurrentSetRaisesNoSetEventButEvaluatesPairs) {
  Load({"set(0) add(s, s, 1)", "stillin(#0, #1) add(hits, hits, 1)",
        "press(#0) unmap(#1) moveto(#0, 15, 0) map(#1) changeset(0)", "press(#1) changeset(1)",
        "set(1) add(s1, s1, 1) letset(now)"});
  Start();
  EXPECT_EQ(Var("s"), 1);
  Press("a.cel");
  EXPECT_EQ(Var("s"), 1);
  EXPECT_EQ(Var("hits"), 1);
  EXPECT_EQ(view_.set, 0);
  Press("b.cel");
  EXPECT_EQ(Var("s1"), 1);
  EXPECT_EQ(Var("now"), 1);
}

TEST_F(RuntimeTest, ScriptMovesKeepToThePlayfieldAndRestrictions) {
  Load({"press(#0) moveto(#1, 500, -5) letobjectx(x1, #1) letobjecty(y1, #1)",
        "press(#1) restrictx(#2, 30, 35) letobjectx(x2, #2) move(#2, 100, 0) letobjectx(x3, #2) "
        "restrictx(#2, 1, 0) moveto(#2, 95, 0) letobjectx(x4, #2)"});
  Start();
  Press("a.cel");
  EXPECT_EQ(Var("x1"), 91);  // one unit further than a user drag
  EXPECT_EQ(Var("y1"), 0);
  Press("b.cel");
  EXPECT_EQ(Var("x2"), 35);
  EXPECT_EQ(Var("x3"), 35);
  EXPECT_EQ(Var("x4"), 91);

  // Restrictions at the ends of the 32-bit range are held to the engine's
  // coordinate limit, where pairs, mouse regions and size still work out.
  Load({"in(#3, #0) add(in, in, 1)", "collide(#3, #0) add(hit, hit, 1)", "mousein(#3) nop()",
        "press(#2) restrictx(#3, 2147483647, 2147483647) restricty(#3, -2147483648, -2147483648) "
        "letobjectx(x, #3) letwidth(w, #3) letinside(i, #3, #0) letcollide(c, #3, #0) "
        "moveto(#3, 0, 0) moveto(#0, 2147483647, -2147483648)"});
  Start();
  Press("c.cel");
  EXPECT_EQ(Var("x"), kMaxCoordinate);
  EXPECT_EQ(At(3).y, -kMaxCoordinate);
  EXPECT_EQ(Var("w"), 10);
  EXPECT_EQ(Var("i"), 0);
  EXPECT_EQ(Var("c"), 0);
  EXPECT_EQ(Var("in"), 0);
}

TEST_F(RuntimeTest, AttachedChildrenFollowAndLinksNeverLoop) {
  Load(
      {"press(#0) attach(#1, #0) glue(#2, #1) attach(#0, #2) move(#0, 5, 7) "
       "letparent(p0, #0) letchild(c0, #0) letsibling(s1, #1)",
       "press(#1) attach(#1, #3) letparent(p1, #1)",
       "detached(#1) add(det, det, 1) letparent(dp, #1)"});
  Start();
  Press("a.cel");
  EXPECT_EQ(Var("p0"), -1);  // #0 below its own grandchild is refused
  EXPECT_EQ(Var("c0"), 1);
  EXPECT_EQ(Var("s1"), -1);
  EXPECT_EQ(At(0).x, 5);
  EXPECT_EQ(At(1).x, 25);
  EXPECT_EQ(At(2).x, 45);
  EXPECT_EQ(At(2).y, 7);
  Press("b.cel");
  EXPECT_EQ(Var("det"), 1);
  EXPECT_EQ(Var("dp"), -1);  // the detached event runs before the new link
  EXPECT_EQ(Var("p1"), 3);
}

TEST_F(RuntimeTest, AScriptMovedParentsChildrenRaiseTheirEventsBeforeAndAfterIt) {
  // #0 carries #1, which carries #2; each reports its stillout as a digit.
  Load({"stillout(#1, #3) mul(o, o, 10) add(o, o, 1)",
        "stillout(#0, #3) mul(o, o, 10) add(o, o, 2)",
        "stillout(#2, #3) mul(o, o, 10) add(o, o, 3)",
        "press(#0) attach(#1, #0) attach(#2, #1) let(o, 0) move(#0, 0, 5) let(r, o)",
        "press(#1) restrictx(#2, 40, 40) restricty(#2, 0, 0) let(o, 0) move(#0, 0, 5) let(s, o)"});
  Start();
  Press("a.cel");
  // #2 by its own move, #1 with #2 again, then #0 and its child #1.
  EXPECT_EQ(Var("r"), 31321);
  EXPECT_EQ(At(2).y, 5);
  // A child held by its limits stops before evaluating anything itself;
  // its parent still evaluates it afterwards.
  Press("b.cel");
  EXPECT_EQ(Var("s"), 1321);
  EXPECT_EQ(At(0).y, 10);
  EXPECT_EQ(At(1).y, 10);
  EXPECT_EQ(At(2).y, 0);
}

TEST_F(RuntimeTest, SetfixToZeroRaisesUnfix) {
  Load({"press(#0) setfix(#1, 5) setfix(#1, 0) setfix(#1, 0) letfix(f, #1)",
        "unfix(#1) add(u, u, 1)", "unfix(\"b.cel\") add(u, u, 10)"});
  Start();
  Press("a.cel");
  EXPECT_EQ(Var("u"), 11);
  EXPECT_EQ(Var("f"), 0);
}

TEST_F(RuntimeTest, SetframeShowsOneFrameOfAGroup) {
  Load({"press(#0) setframe(!walk, 2) letframe(f, !walk) letmapped(m, !walk)"}, {}, {},
       "#1 b.cel ;!walk :1\n#2 c.cel ;!walk :2\n#3 d.cel ;!walk :2\n");
  Start();
  Press("a.cel");
  EXPECT_EQ(Var("f"), 2);
  EXPECT_EQ(Var("m"), 2);
  EXPECT_FALSE(doll_->doll.instances()[4]->mapped);
}

// --- Collisions -----------------------------------------------------------------

TEST_F(RuntimeTest, TouchingTransparentPixelsAreInButNotCollide) {
  // e.cel and f.cel: 10 x 10 with only their right halves opaque.
  const std::vector<std::string> half(10, ".....#####");
  Load({"in(#4, #5) add(in, in, 1)", "collide(#4, #5) add(col, col, 1)",
        "press(#0) moveto(#5, 6, 50)",
        "press(#1) moveto(#5, 2, 50) letcollide(lc, #4, #5) letinside(li, #4, #5)"},
       {}, {{"e.cel", 10, 10, half}, {"f.cel", 10, 10, half}}, "#4 e.cel\n#5 f.cel\n",
       "$0 0,0 20,0 40,0 60,0 0,50 30,50");
  Start();
  Press("a.cel");
  EXPECT_EQ(Var("in"), 1);
  EXPECT_EQ(Var("col"), 0);
  Press("b.cel");
  EXPECT_EQ(Var("col"), 1);
  EXPECT_EQ(Var("lc"), 1);
  EXPECT_EQ(Var("li"), 1);
}

TEST_F(RuntimeTest, StillinOnEveryMoveAndApartOnlyWhileBothMapped) {
  Load({"stillin(#0, #1) add(still, still, 1)", "in(#0, #1) add(in, in, 1)",
        "collide(#0, #1) add(col, col, 1)", "apart(#0, #1) add(apart, apart, 1)",
        "out(#0, #1) add(out, out, 1)", "press(#2) move(#0, 1, 0)", "label(9) move(#0, -30, 0)",
        "press(#3) unmap(#1) move(#0, -30, 0) map(#1) move(#0, 0, 1)"});
  Start();
  for (int i = 0; i < 15; ++i) Press("c.cel");  // #0 slides into #1 at x = 11
  EXPECT_EQ(Var("in"), 1);
  EXPECT_EQ(Var("col"), 1);
  EXPECT_EQ(Var("still"), 5);
  runtime_->RunEvent(Label(9), true);
  EXPECT_EQ(Var("apart"), 1);
  EXPECT_EQ(Var("out"), 1);
  for (int i = 0; i < 15; ++i) Press("c.cel");
  EXPECT_EQ(Var("in"), 2);
  Press("d.cel");  // #1 is unmapped when #0 leaves
  EXPECT_EQ(Var("apart"), 1);
  EXPECT_EQ(Var("out"), 1);
}

TEST_F(RuntimeTest, MouseRegionsUseTheFullRectangleInsideTheWindow) {
  std::vector<std::string> ring = {"..........", ".########.", ".########.", ".########.",
                                   ".########.", ".########.", ".########.", ".########.",
                                   ".########.", ".........."};
  Load({"mousein(#4) add(enter, enter, 1)", "mouseout(#4) add(leave, leave, 1)"}, {},
       {{"e.cel", 10, 10, ring}}, "#4 e.cel\n", "$0 0,0 20,0 40,0 60,0 50,50");
  Start();
  runtime_->CheckMouseRegions({50, 50}, nullptr, true);  // a transparent corner
  EXPECT_EQ(Var("enter"), 1);
  runtime_->CheckMouseRegions({60, 60}, nullptr, true);  // the far edge counts too
  EXPECT_EQ(Var("enter"), 1);
  runtime_->CheckMouseRegions({61, 55}, nullptr, true);
  EXPECT_EQ(Var("leave"), 1);
  view_.size = {40, 40};
  runtime_->CheckMouseRegions({55, 55}, nullptr, true);  // outside the doll window
  EXPECT_EQ(Var("enter"), 1);
}

// --- Trace ----------------------------------------------------------------------

TEST_F(RuntimeTest, TraceShowsEventsActionsAndVariables) {
  Load({"press(#0) let(v, 3) gosub(go) ifequal(v, 3) map(\"b.cel\") endif() repeat(9, 2, i)",
        "label(go) timer(7, 10) exitevent()", "alarm(7) nop()", "label(9) exitloop()"});
  Start();
  runtime_->SetTrace(true);
  Press("a.cel");
  EXPECT_EQ(runtime_->trace().text(),
            "press(#0)\r\n"
            "   let(v=0, 3)\r\n"
            "   gosub(go)\r\n"
            "   label(go)\r\n"
            "      timer(7, 10)\r\n"
            "    exitevent()\r\n"
            "   ifequal(v=3, 3)\r\n"
            "      map(\"b.cel\")\r\n"
            "   endif()\r\n"
            "   repeat(9, 2, i=0)\r\n"
            "   label(9)\r\n"
            "    exitloop()\r\n");
}

TEST_F(RuntimeTest, AnActionOutsideTheTableIsNamedInTheTraceAndPassedOver) {
  Load({"label(1) add(a, a, 1) add(a, a, 10)"});
  Start();
  // Codes just past the table and far beyond anything it could reach.
  std::vector<FkissAction>& actions = Label(1)->actions;
  for (int32_t code : {100000000, 200}) {
    FkissAction stray;
    stray.code = code;
    actions.insert(actions.begin() + 1, stray);
  }
  runtime_->SetTrace(true);
  runtime_->RunEvent(Label(1), true);
  EXPECT_EQ(Var("a"), 11);
  EXPECT_EQ(runtime_->trace().text(),
            "label(1)\r\n"
            "   add(a=0, a=0, 1)\r\n"
            "   Error! 200 out of function range\r\n"
            "   Error! 100000000 out of function range\r\n"
            "   add(a=1, a=1, 10)\r\n");
}

TEST(TraceLogTest, DropsItsOldestTextByWholeLines) {
  TraceLog log;
  std::vector<std::string> seen;
  log.set_listener([&](std::string_view line) { seen.emplace_back(line); });
  const std::string line(98, 'x');  // 100 characters with the line end
  for (int i = 0; i < 164; ++i) log.AddLine(line);
  EXPECT_EQ(log.text().size(), 16400u - 2100u);  // 21 lines dropped: 2048 cut into the 21st
  EXPECT_EQ(log.text().substr(0, 3), "xxx");
  EXPECT_EQ(seen.size(), 164u);
}

}  // namespace
}  // namespace luma
