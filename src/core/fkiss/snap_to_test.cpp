#include "core/fkiss/snap_to.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/fkiss/fkiss_script.h"
#include "core/testing/fkiss_doll.h"

namespace luma {
namespace {

using testing::ScriptedDoll;

std::unique_ptr<ScriptedDoll> Parse(const std::vector<std::string>& lines) {
  std::string cnf = testing::CnfWithObjects(4);
  if (!lines.empty()) cnf += ";@EventHandler\n";
  for (const std::string& line : lines) cnf += ";@" + line + "\n";
  return std::make_unique<ScriptedDoll>(cnf);
}

const SnapToInfo* Info(const ScriptedDoll& d, int object) {
  const TargetRecord* record = d.script.FindRecord(
      FkissTarget::Of(const_cast<DollModel&>(d.doll).FindObject(object, false)));
  return record ? &record->snap_to : nullptr;
}

TEST(SnapToTest, RecognisesInAndStillinWithTwoMovesNamingChildAndParent) {
  auto d = Parse({"in(#1, #2) movebyx(#1, #2, 5) movebyy(#2, #1, 7)",
                  "stillin(#3, #2) movebyy(#3, #2, 1) movebyx(#3, #2, 1)",
                  "in(#2, #0) movebyx(#2, #0, 1) movebyx(#2, #0, 1)",
                  "in(#0, #3) movebyx(#0, #3, 1) movebyy(#0, #3, 1) map(#0)",
                  "stillin(#0, #1) movebyx(#0, #1, 1) move(#0, 1, 1)",
                  "in(#3, #1) movebyx(#3, #1, 1) movebyy(#3, #2, 1)"});
  DollModel& doll = d->doll;
  KissObject* o[4];
  for (int i = 0; i < 4; ++i) o[i] = doll.FindObject(i, false);
  EXPECT_TRUE(FindSnapTo(d->script, o[2], o[1]));
  EXPECT_FALSE(FindSnapTo(d->script, o[1], o[2]));  // roles matter
  EXPECT_TRUE(FindSnapTo(d->script, o[2], o[3]));
  EXPECT_TRUE(FindSnapTo(d->script, o[0], o[2]));   // two movebyx count as well
  EXPECT_FALSE(FindSnapTo(d->script, o[3], o[0]));  // a third action
  EXPECT_FALSE(FindSnapTo(d->script, o[1], o[0]));  // move is not a movebyx
  EXPECT_FALSE(FindSnapTo(d->script, o[1], o[3]));  // the second move names another parent

  EXPECT_FALSE(Info(*d, 1)->only_snap_to);
  EXPECT_TRUE(Info(*d, 2)->only_snap_to);
  EXPECT_EQ(Info(*d, 2)->events.size(), 3u);
  EXPECT_TRUE(Info(*d, 3)->has_events);
  EXPECT_FALSE(Info(*d, 3)->only_snap_to);  // also in pairs that are no snap-to
}

TEST(SnapToTest, OwnEventsMeanNotOnlySnapTo) {
  auto d = Parse({"in(#1, #2) movebyx(#1, #2, 5) movebyy(#1, #2, 7)", "press(#1) nop()"});
  EXPECT_TRUE(Info(*d, 1)->has_events);
  EXPECT_FALSE(Info(*d, 1)->only_snap_to);
  EXPECT_TRUE(Info(*d, 2)->only_snap_to);
}

TEST(SnapToTest, AddingToADollWithoutScriptTurnsItOn) {
  auto d = Parse({});
  ASSERT_FALSE(d->script.script_flag);
  ASSERT_EQ(d->script.level, kFkissLevelNone);
  KissObject* parent = d->doll.FindObject(1, false);  // at 10,10
  KissObject* child = d->doll.FindObject(3, false);   // at 30,30
  AddSnapTo(d->script, d->doll, parent, child, false, 0);
  EXPECT_EQ(d->script.added_text, ";@in(#3, #1) movebyx(#3, #1, 20) movebyy(#3, #1, 20)\n\n");
  EXPECT_TRUE(d->script.script_flag);
  EXPECT_EQ(d->script.level, kFkissLevel2);
  EXPECT_EQ(d->doll.fkiss_level, kFkissLevel2);
  EXPECT_EQ(d->script.event_count, 1);
  EXPECT_EQ(d->script.action_count, 2);
  ASSERT_EQ(d->script.opened_events.size(), 1u);
  EXPECT_EQ(d->script.opened_events[0]->display_name, "in(#3, #1)");
  EXPECT_TRUE(FindSnapTo(d->script, parent, child));
  EXPECT_FALSE(FindSnapTo(d->script, child, parent));
}

TEST(SnapToTest, RemovalTakesEitherRoleAndMarksTheDollForRewriting) {
  auto d =
      Parse({"press(#0) let(abc, 1)", "stillin(#1, #2) movebyx(#1, #2, 5) movebyy(#1, #2, 7)"});
  KissObject* one = d->doll.FindObject(1, false);
  KissObject* two = d->doll.FindObject(2, false);
  EXPECT_FALSE(RemoveSnapTo(d->script, one, d->doll.FindObject(3, false)));
  EXPECT_FALSE(d->script.reformat_on_save);
  EXPECT_TRUE(RemoveSnapTo(d->script, one, two));
  EXPECT_TRUE(d->script.reformat_on_save);
  EXPECT_FALSE(FindSnapTo(d->script, two, one));
  EXPECT_EQ(d->script.opened_events.size(), 1u);
  EXPECT_EQ(d->script.action_count, 1);
  EXPECT_FALSE(Info(*d, 1)->has_events);
  // Once the doll is rewritten from its model, no text is added for the CNF.
  AddSnapTo(d->script, d->doll, two, one, true, 0);
  EXPECT_TRUE(d->script.added_text.empty());
  EXPECT_TRUE(FindSnapTo(d->script, two, one));
  EXPECT_EQ(d->script.level, kFkissLevel4);  // never lowered
}

// The events of two objects share one pair, made the way round the first
// line names them; a snap-to moving the second object onto the first is
// still found for the object it moves.
TEST(SnapToTest, DirectionComesFromTheMovedObjectInASharedPair) {
  auto d = Parse({"out(#1, #2) nop()", "stillin(#2, #1) movebyx(#2, #1, 3) movebyy(#2, #1, 4)"});
  KissObject* one = d->doll.FindObject(1, false);
  KissObject* two = d->doll.FindObject(2, false);
  EXPECT_TRUE(FindSnapTo(d->script, one, two));
  EXPECT_FALSE(FindSnapTo(d->script, two, one));
  // Adding the other way round uses the same pair and is found that way.
  AddSnapTo(d->script, d->doll, two, one, false, 0);
  EXPECT_TRUE(FindSnapTo(d->script, two, one));
  EXPECT_TRUE(RemoveSnapTo(d->script, one, two));
  EXPECT_FALSE(FindSnapTo(d->script, one, two));
}

}  // namespace
}  // namespace luma
