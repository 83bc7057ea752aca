#ifndef LUMA_CORE_FKISS_ACTION_HANDLERS_H_
#define LUMA_CORE_FKISS_ACTION_HANDLERS_H_

#include <cstdint>

namespace luma {

class FkissRuntime;
class Host;
struct FkissAction;
struct KissObject;

// The handlers the command table names for its actions, one file per family.
// Each performs one action on the run-time and returns false when the running
// event ends with it (goto, gotorandom, quit). A handler serving several rows
// tells them apart by the action's code. The if blocks, exitevent and exitloop
// have no handler: the event runner steps them itself.
//
// A friend of FkissRuntime: the actions are the run-time's own work, kept
// apart from the runner by family.
class FkissActions {
 public:
  // Variables and arithmetic (actions_variables.cpp).
  static bool Arithmetic(FkissRuntime& run, const FkissAction& action);  // add sub mul div mod
  static bool Let(FkissRuntime& run, const FkissAction& action);
  static bool Random(FkissRuntime& run, const FkissAction& action);

  // Display (actions_display.cpp).
  static bool Map(FkissRuntime& run, const FkissAction& action);  // map unmap altmap
  static bool Ghost(FkissRuntime& run, const FkissAction& action);
  static bool Transparent(FkissRuntime& run, const FkissAction& action);
  static bool Setkcf(FkissRuntime& run, const FkissAction& action);
  static bool Setframe(FkissRuntime& run, const FkissAction& action);
  static bool Changeset(FkissRuntime& run, const FkissAction& action);
  static bool Changecol(FkissRuntime& run, const FkissAction& action);
  static bool Viewport(FkissRuntime& run, const FkissAction& action);
  static bool Windowsize(FkissRuntime& run, const FkissAction& action);
  static bool Letmapped(FkissRuntime& run, const FkissAction& action);
  static bool LetCelValue(FkissRuntime& run, const FkissAction& action);  // lettransparent letkcf
  static bool Letframe(FkissRuntime& run, const FkissAction& action);
  static bool Letset(FkissRuntime& run, const FkissAction& action);
  static bool Letpal(FkissRuntime& run, const FkissAction& action);

  // Movement (actions_movement.cpp).
  static bool Move(FkissRuntime& run, const FkissAction& action);
  static bool Moveto(FkissRuntime& run, const FkissAction& action);
  static bool MoveBy(FkissRuntime& run, const FkissAction& action);      // movebyx movebyy
  static bool MoveRandom(FkissRuntime& run, const FkissAction& action);  // moverandx moverandy
  static bool Movetorand(FkissRuntime& run, const FkissAction& action);
  static bool Restrict(FkissRuntime& run, const FkissAction& action);  // restrictx restricty
  static bool Setfix(FkissRuntime& run, const FkissAction& action);
  // letobjectx letobjecty letinitx letinity
  static bool LetPosition(FkissRuntime& run, const FkissAction& action);
  static bool LetExtent(FkissRuntime& run, const FkissAction& action);  // letwidth letheight
  static bool Letfix(FkissRuntime& run, const FkissAction& action);
  static bool LetOverlap(FkissRuntime& run, const FkissAction& action);  // letcollide letinside

  // Links (actions_links.cpp).
  static bool Attach(FkissRuntime& run, const FkissAction& action);  // attach glue
  static bool Detach(FkissRuntime& run, const FkissAction& action);
  // letparent letchild letsibling
  static bool LetRelative(FkissRuntime& run, const FkissAction& action);

  // Flow (actions_flow.cpp).
  static bool Gosub(FkissRuntime& run, const FkissAction& action);
  static bool Goto(FkissRuntime& run, const FkissAction& action);
  static bool JumpRandom(FkissRuntime& run, const FkissAction& action);  // gosubrandom gotorandom
  static bool Repeat(FkissRuntime& run, const FkissAction& action);
  static bool Nop(FkissRuntime& run, const FkissAction& action);
  static bool Quit(FkissRuntime& run, const FkissAction& action);

  // Timers (actions_timers.cpp).
  static bool Timer(FkissRuntime& run, const FkissAction& action);
  static bool Randomtimer(FkissRuntime& run, const FkissAction& action);
  static bool IfFixed(FkissRuntime& run, const FkissAction& action);   // iffixed ifnotfixed
  static bool IfMoved(FkissRuntime& run, const FkissAction& action);   // ifmoved ifnotmoved
  static bool IfMapped(FkissRuntime& run, const FkissAction& action);  // ifmapped ifnotmapped
  static bool Lettimer(FkissRuntime& run, const FkissAction& action);

  // Keys and mouse (actions_input.cpp).
  static bool LetKeys(FkissRuntime& run, const FkissAction& action);  // letkey letkeymap
  static bool Letmousex(FkissRuntime& run, const FkissAction& action);
  static bool Letmousey(FkissRuntime& run, const FkissAction& action);
  static bool Letcatch(FkissRuntime& run, const FkissAction& action);

  // Media and messages (actions_media.cpp).
  static bool Sound(FkissRuntime& run, const FkissAction& action);
  static bool Music(FkissRuntime& run, const FkissAction& action);
  static bool Shell(FkissRuntime& run, const FkissAction& action);
  static bool Notify(FkissRuntime& run, const FkissAction& action);
  static bool Debug(FkissRuntime& run, const FkissAction& action);

  // Value pools (actions_pools.cpp).
  static bool Valuepool(FkissRuntime& run, const FkissAction& action);
  static bool Loadvalue(FkissRuntime& run, const FkissAction& action);
  static bool Savevalue(FkissRuntime& run, const FkissAction& action);
  static bool Deletevalue(FkissRuntime& run, const FkissAction& action);

 private:
  // Takes `child` from its parent and runs its detached event (links).
  static void DetachChild(FkissRuntime& run, KissObject* child);
  // The conditional timers: schedules the alarm of parameter 2 with the
  // delay of parameter 3 when `condition` holds.
  static void ScheduleIf(FkissRuntime& run, const FkissAction& action, bool condition);
};

// `Random() mod span + low`, in wide arithmetic so that extreme bounds
// neither wrap nor divide by zero (random, moverandx, moverandy).
int32_t RandomBetween(Host& host, int32_t a, int32_t b);

}  // namespace luma

#endif  // LUMA_CORE_FKISS_ACTION_HANDLERS_H_
