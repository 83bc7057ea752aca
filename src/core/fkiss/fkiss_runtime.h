#ifndef LUMA_CORE_FKISS_FKISS_RUNTIME_H_
#define LUMA_CORE_FKISS_FKISS_RUNTIME_H_

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/fkiss/alarm_queue.h"
#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/overlap.h"
#include "core/fkiss/script_media.h"
#include "core/fkiss/script_view.h"
#include "core/fkiss/trace_log.h"
#include "core/fkiss/value_pool_access.h"
#include "core/model/kiss_object.h"

namespace luma {

class DollModel;
struct FkissCommandInfo;
class Host;

// Who moves an object: the bounding mode treats drags and scripts apart.
enum class MoveSource { kScript, kUser };

// The most actions one top-level dispatch (an input event, an alarm, a start
// event, with everything it calls) may run. Real dolls run a few thousand at
// most; a repeat count near 2^31 or a recursion at the deepest stack hint
// would otherwise hold the program for minutes. A dispatch that reaches it
// is stopped, with a line in the trace and a warning in the error report.
inline constexpr int kMaxDispatchActions = 50000000;

// The most actions one alarm pass (every alarm that falls due in one timer
// tick, up to the "Quick Timer" count) may run in all. Without it a pass of
// runaway alarms, each due again by the time the last one was stopped, would
// run the dispatch bound as many times over. Real dolls run a few thousand
// actions in a pass. Alarms left when it is reached wait for the next pass.
inline constexpr int kMaxAlarmPassActions = kMaxDispatchActions;

// The settings a running script reads.
struct RuntimeSettings {
  int quick_timer = 5;  // alarms run in one pass, 1-50
  // Deepest event nesting: the doll's ";HINT stack" (2 and up) or the "Max
  // Stack" setting (20 and up). Capped at 16,000,000 either way, so that a
  // hint cannot ask for more stack than memory holds.
  int max_stack = 20;
  ScriptMedia::Options media;                         // sound, music, shell permission
  int max_dispatch_actions = kMaxDispatchActions;     // 1 and up
  int max_alarm_pass_actions = kMaxAlarmPassActions;  // 1 and up
};

// The FKiSS run-time of one view: dispatches events, performs actions,
// keeps the alarm queue, decides collisions and moves objects for scripts.
//
// Nested events (gosub, goto, repeat and the events that actions raise) do
// not recurse on the native stack: they run as frames of a stack this class
// manages, so a nesting limit of millions is safe.
class FkissRuntime {
 public:
  FkissRuntime(DollModel& doll, FkissScript& script, ScriptView& view, Host& host,
               const RuntimeSettings& settings);
  ~FkissRuntime();
  FkissRuntime(const FkissRuntime&) = delete;
  FkissRuntime& operator=(const FkissRuntime&) = delete;

  // The user changed the settings while the script runs: the alarm budget,
  // the nesting limit and sound, music and shell apply from the next event
  // or alarm pass on. Nothing else of the run changes.
  void ApplySettings(const RuntimeSettings& settings);

  // --- Running ----------------------------------------------------------------
  // Resets the run-time and the doll's script state and raises the start
  // events: initialize, version 0-5, set and col of the first set in use,
  // then the collisions present; begin runs 1 ms later from the alarm queue.
  void StartScript();
  // Events were added to the script while the doll plays (a snap-to made by
  // the user). A doll that ran no script starts running it now, without its
  // start-up events; the pairs take the state of where things stand, so a
  // new pair fires on the next change rather than at once.
  void ScriptExtended();
  // Runs `event`. A top-level event (input, alarms, start) takes a new time
  // base; a nested one runs inside the current dispatch. Returns false only
  // when the event ended with exitloop.
  bool RunEvent(FkissEvent* event, bool top_level);
  // The user switches to another set: the same steps as changeset, each
  // event top-level.
  void SwitchSet(int set);
  // Runs the events in order, each top-level or nested.
  void RunEvents(const std::vector<FkissEvent*>& events, bool top_level);

  bool running() const { return running_; }
  bool paused() const { return paused_; }
  bool quit_requested() const { return quit_; }
  void TogglePause();
  // With the trace on, every event and action writes a line.
  void SetTrace(bool on) { trace_on_ = on; }
  bool trace_on() const { return trace_on_; }
  // Only event lines.
  void set_trace_events_only(bool on) { trace_events_only_ = on; }
  // Alarms wait for StepAlarm instead of the clock.
  void set_trace_step_mode(bool on) { trace_step_mode_ = on; }
  bool trace_step_mode() const { return trace_step_mode_; }

  // --- Alarms -----------------------------------------------------------------
  // Delay 0 only cancels. Delays count from the current time base.
  void ScheduleAlarm(FkissEvent* alarm, int32_t delay);
  void CancelAlarm(FkissEvent* alarm);
  // Runs due alarms, at most "Quick Timer" of them. Returns the milliseconds
  // until the next one is due (at least 1 when the budget ran out), 0 when
  // none is pending.
  uint32_t ProcessAlarms();
  // Runs the head of the queue by hand (trace step mode).
  void StepAlarm();
  const AlarmQueue& alarms() const { return alarms_; }
  // When the next alarm falls due (0: none).
  uint32_t next_wake() const { return next_wake_; }
  uint32_t time_base() const { return time_base_; }

  // --- Input ------------------------------------------------------------------
  void KeyDown(int key_code, bool auto_repeat);
  void KeyUp(int key_code);
  bool key_down(int key_code) const;

  // The events the mouse raises, all top-level: the cel's event of `kind`,
  // then its object's, then each cel set's that holds the cel.
  void RaiseCelEvents(CelInstance* cel, TargetEventKind kind);
  // The catch step of a press on a fixed object: catch (cel, object, cel
  // sets), fixcatch the same way while the object stays fixed, then unfix of
  // the object, its cels and their cel sets when the step freed it.
  void RaiseCatchStep(CelInstance* cel, bool still_fixed, bool unfixed);

  // --- Collisions and moves ---------------------------------------------------
  // Pairs of the object, its cels and the cel sets holding them.
  void EvaluateObject(KissObject* object, bool raise, bool top_level);
  // Every pair once, as listed with its first target.
  void EvaluateAll(bool raise, bool top_level);
  // mousein/mouseout of every mouse region (or only `only`) for the pointer
  // at `point`, when it is inside the doll window.
  void CheckMouseRegions(PlayPoint point, const FkissTarget* only, bool top_level);
  // Moves an object in the current set, bounded by the doll's bounding mode
  // as it applies to the mover (a script may also end one unit further
  // right and down), together with its attached children, raising collision
  // and mouse-region events.
  void MoveObject(KissObject* object, int64_t x, int64_t y, MoveSource source);
  // A script's move, step by step as dolls expect it: the object's pairs and
  // its children's are taken without events, the object moves, each child
  // makes the same move by itself (with all the events that raises), and
  // then the object and each child in turn raise their collision events and
  // check their mouse regions. So a child's events run before its parent's
  // and again after them.
  void MoveObjectByScript(KissObject* object, int64_t x, int64_t y);
  // Puts objects exactly where they stood in the current set (the user
  // takes a drag back or makes it again): no bounding, since each position
  // is one the doll held; links stay as they are. The collision and
  // mouse-region events of the move follow as for any move.
  void PlaceObjects(const std::vector<std::pair<KissObject*, Position>>& placements);
  // The user pulled an attached child away: it leaves its parent. False when
  // it had none. RaiseDetached then runs its detached event (top-level).
  bool UnlinkChild(KissObject* child);
  void RaiseDetached(KissObject* child);
  bool PixelOverlapOf(const FkissTarget& a, const FkissTarget& b);
  bool BoxOverlapOf(const FkissTarget& a, const FkissTarget& b);

  // --- Output and statistics --------------------------------------------------
  TraceLog& trace() { return trace_; }
  TraceLog& debug_log() { return debug_; }
  int deepest_stack() const { return deepest_; }
  int most_commands() const { return most_commands_; }
  int current_pool() const { return current_pool_; }
  int max_stack() const { return max_stack_; }
  // An action as the trace writes it: name(param, ...), variables with
  // their current values.
  std::string ActionText(const FkissAction& action) const;
  int quick_timer() const { return quick_timer_; }

  // Value pools are kept by `pools` (not owned); without one the value
  // actions only track the current pool.
  void set_value_pools(ValuePoolAccess* pools) { pools_ = pools; }
  ScriptMedia& media() { return media_; }

 private:
  // One entry of the managed stack: an event walking its actions, a repeat
  // loop, a list of events run in turn, or work left for after the frames
  // above it.
  struct Frame {
    enum Kind : uint8_t { kEvent, kRepeat, kList, kTask };
    enum Flag : uint8_t {
      kInsideBlock = 1,
      kBranchTaken = 2,
      kBranchRunning = 4,
      kStopAfterChild = 8,  // goto: the event ends once its label has run
      kAwaitingChild = 16,  // repeat: a run of the label is on the stack
    };
    FkissEvent* event;  // the event, or the label of a repeat
    uint32_t pc;        // next action; next repeat count or list entry
    int32_t count;      // repeat count
    int32_t slot;       // repeat variable, or index into lists_ / tasks_
    Kind kind;
    uint8_t flags;
  };

  // The runner (event_runner.cpp).
  bool Call(FkissEvent* event);
  void PushList(std::vector<FkissEvent*> events);
  // Work for after the frames pushed next (inside a dispatch only).
  void PushTask(std::function<void()> task);
  // Runs events after the current action, or at once (top-level) outside a dispatch.
  void RunLater(std::vector<FkissEvent*> events, bool top_level);
  void Loop();
  void StepEvent(size_t index);
  void StepRepeat(size_t index);
  void StepList(size_t index);
  void StepTask(size_t index);
  void PopEvent(bool result);
  void ReportStackLimit(const FkissEvent* refused);
  // The dispatch ran its share of actions, or the alarm pass it belongs to
  // ran its: it ends here.
  void StopRunawayDispatch();
  void ReportAlarmPassLimit(int actions);
  void Unwind();
  std::string Indent(int extra) const;
  void TraceAction(const FkissAction& action, int extra_indent);
  bool Compare(const FkissAction& action) const;

  // Actions: the executor (actions.cpp) hands each to the handler its
  // command's row names (FkissActions, actions_*.cpp); the runner has
  // looked the row up already.
  friend class FkissActions;
  bool ExecuteAction(const FkissAction& action, const FkissCommandInfo& row);
  int32_t Value(const FkissParam& param) const;
  KissObject* ObjectOf(const FkissParam& param) const;
  FkissTarget TargetOf(const FkissParam& param) const;
  FkissEvent* LabelOf(const FkissParam& param) const;
  FkissEvent* AlarmOf(const FkissParam& param) const;
  std::string TraceParam(const FkissParam& param) const;

  // Collisions (collisions.cpp).
  void EvaluateRecord(TargetRecord& record, bool raise, bool owner_only,
                      std::vector<const void*>& seen, std::vector<FkissEvent*>& out);
  std::vector<FkissEvent*> CollectObject(KissObject* object, bool raise);
  std::vector<FkissEvent*> CollectMouseRegions(PlayPoint point, const FkissTarget* only);
  void FollowUpMoves(std::shared_ptr<std::vector<KissObject*>> moved, size_t index,
                     PlayPoint pointer);
  // Where a move to (x, y) ends within the object's limits in the current set.
  Position LimitedPosition(const KissObject& object, int64_t x, int64_t y, MoveSource source) const;
  void ResetPairs();

  DollModel& doll_;
  FkissScript& script_;
  ScriptView& view_;
  Host& host_;
  int quick_timer_;
  int max_stack_;
  int max_dispatch_actions_;
  int max_alarm_pass_actions_;
  ScriptMedia media_;
  ValuePoolAccess* pools_ = nullptr;

  // Dispatch state.
  std::vector<Frame> frames_;
  std::vector<std::vector<FkissEvent*>> lists_;
  std::vector<std::function<void()>> tasks_;
  bool dispatching_ = false;
  bool child_result_ = true;
  int event_depth_ = 0;  // events on the stack
  int depth_ = 0;        // events running (the trace indentation)
  int commands_ = 0;
  int deepest_ = 0;
  int most_commands_ = 0;
  uint32_t time_base_ = 0;
  bool stack_reported_ = false;
  const FkissEvent* dispatched_ = nullptr;  // the top-level event running
  bool dispatch_stopped_ = false;
  std::vector<const FkissEvent*> runaways_reported_;
  // What is left of the running alarm pass's share; the dispatch stops at
  // the lower of it and its own bound.
  int pass_room_ = std::numeric_limits<int>::max();
  int dispatch_ceiling_ = 0;
  bool pass_limit_reported_ = false;

  bool running_ = false;
  bool paused_ = false;
  bool quit_ = false;
  bool trace_on_ = false;
  bool trace_events_only_ = false;
  bool trace_step_mode_ = false;
  std::array<bool, kKeyCount> keys_{};
  int current_pool_ = kPrivatePool;

  AlarmQueue alarms_;
  uint32_t next_wake_ = 0;
  CelOpacityCache opacity_;
  TraceLog trace_;
  TraceLog debug_;
};

}  // namespace luma

#endif  // LUMA_CORE_FKISS_FKISS_RUNTIME_H_
