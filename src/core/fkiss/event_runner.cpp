#include <algorithm>
#include <new>

#include "core/fkiss/fkiss_runtime.h"
#include "core/host/host.h"
#include "core/host/text.h"
#include "core/model/doll_model.h"

namespace luma {
namespace {

// The stack-limit message lists this many events at each end of the stack.
constexpr int kListedEnds = 20;

}  // namespace

FkissRuntime::FkissRuntime(DollModel& doll, FkissScript& script, ScriptView& view, Host& host,
                           const RuntimeSettings& settings)
    : doll_(doll),
      script_(script),
      view_(view),
      host_(host),
      quick_timer_(std::clamp(settings.quick_timer, 1, 50)),
      max_stack_(std::clamp(settings.max_stack, 1, 16000000)),
      max_dispatch_actions_(std::max(1, settings.max_dispatch_actions)),
      max_alarm_pass_actions_(std::max(1, settings.max_alarm_pass_actions)),
      media_(doll, host, view, settings.media) {}

FkissRuntime::~FkissRuntime() = default;

void FkissRuntime::ApplySettings(const RuntimeSettings& settings) {
  quick_timer_ = std::clamp(settings.quick_timer, 1, 50);
  max_stack_ = std::clamp(settings.max_stack, 1, 16000000);
  max_dispatch_actions_ = std::max(1, settings.max_dispatch_actions);
  max_alarm_pass_actions_ = std::max(1, settings.max_alarm_pass_actions);
  media_.set_options(settings.media);
}

// --- Starting, pausing, keys --------------------------------------------------

void FkissRuntime::StartScript() {
  frames_.clear();
  lists_.clear();
  tasks_.clear();
  dispatching_ = false;
  depth_ = 0;
  commands_ = 0;
  deepest_ = 0;
  most_commands_ = 0;
  stack_reported_ = false;
  runaways_reported_.clear();
  pass_limit_reported_ = false;
  quit_ = false;
  paused_ = false;
  running_ = script_.script_flag;
  // The script may have been rebuilt since the last start (a reload): the
  // queue and the opacity masks may refer to events and cels that are gone.
  alarms_.Forget();
  for (FkissEvent* alarm : script_.Alarms()) alarm->pending = false;
  script_.begin_event.pending = false;
  opacity_.Clear();
  next_wake_ = 0;
  time_base_ = host_.Milliseconds();
  keys_.fill(false);
  ResetPairs();
  std::fill(script_.variable_values.begin(), script_.variable_values.end(), 0);
  script_.ClearFrames();
  current_pool_ = kPrivatePool;
  if (running_) {
    media_.StopMusic();
    media_.StopSound();
    if (pools_) pools_->Reset();
  }

  int first_set = 0;
  for (int set = 0; set < kSetCount; ++set) {
    if (doll_.sets[set].used) {
      first_set = set;
      break;
    }
  }
  view_.SetCurrentSet(first_set);
  if (!running_) {
    view_.ActivatePaletteGroup(doll_.sets[first_set].palette_group);
    return;
  }

  EvaluateAll(false, true);
  if (!script_.begin_event.actions.empty()) ScheduleAlarm(&script_.begin_event, 1);
  RunEvent(&script_.initialize_event, true);
  for (FkissEvent& version : script_.version_events) RunEvent(&version, true);
  const int set = view_.CurrentSet();
  RunEvent(&script_.set_events[set], true);
  const int group = doll_.sets[set].palette_group;
  view_.ActivatePaletteGroup(group);
  if (group >= 0 && group < kSetCount) RunEvent(&script_.col_events[group], true);
  EvaluateAll(true, true);
}

void FkissRuntime::ScriptExtended() {
  if (!running_ && script_.script_flag && !quit_) {
    running_ = true;
    time_base_ = host_.Milliseconds();
  }
  if (running_) EvaluateAll(false, true);
}

void FkissRuntime::SwitchSet(int set) {
  if (set < 0 || set >= kSetCount) return;
  const int current = view_.CurrentSet();
  const int old_group = doll_.sets[current].palette_group;
  if (!running_) {
    view_.SetCurrentSet(set);
    view_.ActivatePaletteGroup(doll_.sets[set].palette_group);
    view_.RedrawAll();
    return;
  }
  EvaluateAll(false, true);
  if (set != current) {
    view_.SetCurrentSet(set);
    RunEvent(&script_.set_events[set], true);
    const int group = doll_.sets[set].palette_group;
    if (group != old_group) {
      view_.ActivatePaletteGroup(group);
      if (group >= 0 && group < kSetCount) RunEvent(&script_.col_events[group], true);
    }
  }
  EvaluateAll(true, true);
  view_.RedrawAll();
}

void FkissRuntime::TogglePause() {
  paused_ = !paused_;
  if (trace_on_) trace_.AddLine(paused_ ? "*** FKiSS Paused ***" : "*** FKiSS Resumed ***");
}

void FkissRuntime::KeyDown(int key_code, bool auto_repeat) {
  if (auto_repeat || key_code < 0 || key_code >= kKeyCount) return;
  keys_[key_code] = true;
  RunEvent(&script_.keypress_events[key_code], true);
  view_.RedrawAll();
}

void FkissRuntime::KeyUp(int key_code) {
  if (key_code < 0 || key_code >= kKeyCount) return;
  keys_[key_code] = false;
  RunEvent(&script_.keyrelease_events[key_code], true);
  view_.RedrawAll();
}

bool FkissRuntime::key_down(int key_code) const {
  return key_code >= 0 && key_code < kKeyCount && keys_[key_code];
}

// --- Mouse event groups ---------------------------------------------------------

namespace {

void AddEvent(const FkissScript& script, const FkissTarget& target, TargetEventKind kind,
              std::vector<FkissEvent*>& out) {
  if (const TargetRecord* record = script.FindRecord(target)) {
    if (FkissEvent* event = record->event(kind)) out.push_back(event);
  }
}

// The cel's event, its object's, then each of its cel sets'.
void AddCelEvents(const FkissScript& script, CelInstance* cel, TargetEventKind kind,
                  std::vector<FkissEvent*>& out) {
  AddEvent(script, FkissTarget::Of(cel), kind, out);
  AddEvent(script, FkissTarget::Of(cel->object), kind, out);
  for (CelSet* set : cel->cel_sets) AddEvent(script, FkissTarget::Of(set), kind, out);
}

}  // namespace

void FkissRuntime::RaiseCelEvents(CelInstance* cel, TargetEventKind kind) {
  if (!cel) return;
  std::vector<FkissEvent*> events;
  AddCelEvents(script_, cel, kind, events);
  RunEvents(events, true);
}

void FkissRuntime::RaiseCatchStep(CelInstance* cel, bool still_fixed, bool unfixed) {
  if (!cel) return;
  std::vector<FkissEvent*> events;
  AddCelEvents(script_, cel, kOnCatch, events);
  if (still_fixed) AddCelEvents(script_, cel, kOnFixcatch, events);
  if (unfixed && cel->object) {
    AddEvent(script_, FkissTarget::Of(cel->object), kOnUnfix, events);
    for (CelInstance* own : cel->object->cels)
      AddEvent(script_, FkissTarget::Of(own), kOnUnfix, events);
    for (CelInstance* own : cel->object->cels) {
      for (CelSet* set : own->cel_sets) AddEvent(script_, FkissTarget::Of(set), kOnUnfix, events);
    }
  }
  RunEvents(events, true);
}

// --- Dispatch -------------------------------------------------------------------

bool FkissRuntime::RunEvent(FkissEvent* event, bool top_level) {
  if (dispatching_) {
    // An event raised while a dispatch runs joins it; a second top-level
    // dispatch (from a message box's own loop, say) would tear the first one's
    // stack down under it.
    if (!top_level) Call(event);
    return true;
  }
  if (!event || paused_ || quit_ || !running_ || !view_.RendererReady()) return true;
  time_base_ = host_.Milliseconds();
  depth_ = 0;
  commands_ = 0;
  dispatch_ceiling_ = std::min(max_dispatch_actions_, pass_room_);
  child_result_ = true;
  dispatching_ = true;
  dispatched_ = event;
  dispatch_stopped_ = false;
  if (Call(event)) Loop();
  dispatching_ = false;
  dispatched_ = nullptr;
  frames_.clear();
  lists_.clear();
  tasks_.clear();
  depth_ = 0;
  return child_result_;
}

void FkissRuntime::RunEvents(const std::vector<FkissEvent*>& events, bool top_level) {
  if (events.empty()) return;
  if (dispatching_) {
    PushList(events);
    return;
  }
  for (FkissEvent* event : events) RunEvent(event, top_level);
}

bool FkissRuntime::Call(FkissEvent* event) {
  if (!event || paused_ || quit_ || !running_ || !view_.RendererReady()) return false;
  event->pending = false;
  if (depth_ >= max_stack_) {
    ReportStackLimit(event);
    return false;
  }
  if (event->actions.empty()) return false;
  if (trace_on_) trace_.AddLine(Indent(0) + event->display_name);
  try {
    frames_.push_back(Frame{event, 0, 0, 0, Frame::kEvent, 0});
  } catch (const std::bad_alloc&) {
    ReportStackLimit(event);
    return false;
  }
  ++depth_;
  deepest_ = std::max(deepest_, depth_);
  return true;
}

void FkissRuntime::PushList(std::vector<FkissEvent*> events) {
  if (events.empty()) return;
  lists_.push_back(std::move(events));
  frames_.push_back(Frame{nullptr, 0, 0, static_cast<int32_t>(lists_.size() - 1), Frame::kList, 0});
}

void FkissRuntime::PushTask(std::function<void()> task) {
  tasks_.push_back(std::move(task));
  frames_.push_back(Frame{nullptr, 0, 0, static_cast<int32_t>(tasks_.size() - 1), Frame::kTask, 0});
}

void FkissRuntime::RunLater(std::vector<FkissEvent*> events, bool top_level) {
  if (dispatching_) {
    PushList(std::move(events));
  } else {
    for (FkissEvent* event : events) RunEvent(event, top_level);
  }
}

void FkissRuntime::Loop() {
  while (!frames_.empty() && !quit_ && !dispatch_stopped_) {
    const size_t top = frames_.size() - 1;
    switch (frames_[top].kind) {
      case Frame::kEvent:
        StepEvent(top);
        break;
      case Frame::kRepeat:
        StepRepeat(top);
        break;
      case Frame::kList:
        StepList(top);
        break;
      case Frame::kTask:
        StepTask(top);
        break;
    }
  }
  if (quit_ || dispatch_stopped_) Unwind();
}

void FkissRuntime::PopEvent(bool result) {
  frames_.pop_back();
  --depth_;
  child_result_ = result;
}

void FkissRuntime::StepEvent(size_t index) {
  Frame& frame = frames_[index];
  if (frame.flags & Frame::kStopAfterChild) {
    PopEvent(true);
    return;
  }
  const std::vector<FkissAction>& actions = frame.event->actions;
  uint32_t pc = frame.pc;
  uint8_t flags = frame.flags;
  while (pc < actions.size()) {
    if (commands_ >= dispatch_ceiling_) {
      StopRunawayDispatch();
      return;
    }
    const FkissAction& action = actions[pc++];
    if (++commands_ > most_commands_) most_commands_ = commands_;
    const bool inside = flags & Frame::kInsideBlock;
    if (!FkissCommandTable::IsValid(action.code)) {
      // No parsed script holds such a code: whoever built the action is at
      // fault. The trace names it and the walk passes over it.
      if (trace_on_) TraceAction(action, inside ? 1 : 0);
      continue;
    }
    const FkissCommandInfo& row = FkissCommandTable::Row(action.code);
    switch (row.block) {
      case kBlockIf:
        // A taken branch stays taken until endif, even across a new if.
        if (trace_on_) TraceAction(action, 0);
        flags = (flags & Frame::kBranchTaken) | Frame::kInsideBlock;
        if (Compare(action)) flags |= Frame::kBranchTaken | Frame::kBranchRunning;
        continue;
      case kBlockElseIf:
        if (trace_on_) TraceAction(action, 0);
        flags &= ~Frame::kBranchRunning;
        if (!(flags & Frame::kBranchTaken)) {
          flags |= Frame::kInsideBlock;
          if (Compare(action)) flags |= Frame::kBranchTaken | Frame::kBranchRunning;
        }
        continue;
      case kBlockElse:
        if (trace_on_) TraceAction(action, 0);
        flags |= Frame::kInsideBlock;
        if (flags & Frame::kBranchTaken) {
          flags &= ~Frame::kBranchRunning;
        } else {
          flags |= Frame::kBranchRunning;
        }
        continue;
      case kBlockEndif:
        if (trace_on_) TraceAction(action, 0);
        flags = 0;
        continue;
      default:
        break;
    }
    if (inside && !(flags & Frame::kBranchRunning)) continue;
    if (action.code == kCmdExitevent || action.code == kCmdExitloop) {
      // These two lines keep their fixed indentation at any depth.
      if (trace_on_ && !trace_events_only_) {
        trace_.AddLine(action.code == kCmdExitevent ? "    exitevent()" : "    exitloop()");
      }
      PopEvent(action.code == kCmdExitevent);
      return;
    }
    if (trace_on_) TraceAction(action, inside ? 1 : 0);
    const size_t frames_before = frames_.size();
    const bool go_on = ExecuteAction(action, row);
    if (quit_) return;
    if (frames_.size() != frames_before) {
      // The action left work on the stack: come back once it is done.
      Frame& self = frames_[index];
      self.pc = pc;
      self.flags = flags | (go_on ? 0 : Frame::kStopAfterChild);
      return;
    }
    if (!go_on) break;
  }
  PopEvent(true);
}

void FkissRuntime::StepRepeat(size_t index) {
  Frame& frame = frames_[index];
  if (frame.flags & Frame::kAwaitingChild) {
    frame.flags &= ~Frame::kAwaitingChild;
    if (!child_result_) {  // the label ended with exitloop
      frames_.pop_back();
      child_result_ = true;
      return;
    }
  }
  if (static_cast<int64_t>(frame.pc) >= frame.count) {
    frames_.pop_back();
    return;
  }
  ++frame.pc;
  script_.SetVariable(frame.slot, static_cast<int32_t>(frame.pc));
  FkissEvent* label = frame.event;
  const int32_t count = frame.count;
  const int variable = frame.slot;
  if (Call(label)) {
    frames_[index].flags |= Frame::kAwaitingChild;
    return;
  }
  // A label that cannot run (no actions, or the stack is full) fails the
  // same way on every pass: the loop ends as if it had run them all.
  script_.SetVariable(variable, count);
  frames_.pop_back();
}

void FkissRuntime::StepList(size_t index) {
  Frame& frame = frames_[index];
  const int32_t slot = frame.slot;
  while (frames_[index].pc < lists_[slot].size()) {
    FkissEvent* event = lists_[slot][frames_[index].pc++];
    if (Call(event)) return;
  }
  frames_.pop_back();
  lists_.pop_back();
}

void FkissRuntime::StepTask(size_t index) {
  std::function<void()> task = std::move(tasks_[frames_[index].slot]);
  tasks_.pop_back();
  frames_.pop_back();
  task();
}

void FkissRuntime::Unwind() {
  frames_.clear();
  lists_.clear();
  tasks_.clear();
  depth_ = 0;
}

void FkissRuntime::ReportStackLimit(const FkissEvent* refused) {
  if (trace_on_) trace_.AddLine("*** MAXIMUM STACK DEPTH ***");
  if (stack_reported_) return;
  stack_reported_ = true;
  std::vector<const FkissEvent*> stacked;
  for (const Frame& frame : frames_) {
    if (frame.kind == Frame::kEvent) stacked.push_back(frame.event);
  }
  stacked.push_back(refused);
  const int total = static_cast<int>(stacked.size());
  std::string text = StringPrintf("Total stack depth: %d\r\n", total);
  for (int i = 0; i < total; ++i) {
    if (total > 2 * kListedEnds && i == kListedEnds) {
      text += "...\r\n";
      i = total - kListedEnds;
    }
    text += StringPrintf("%d: %s\r\n", i + 1, stacked[i]->display_name.c_str());
  }
  text += StringPrintf("Event stack has exceeded the maximum depth of %d in %s.", max_stack_,
                       refused->display_name.c_str());
  view_.ShowScriptWarning(text);
}

void FkissRuntime::StopRunawayDispatch() {
  dispatch_stopped_ = true;
  // Cut short by its alarm pass: the pass reports that.
  if (commands_ < max_dispatch_actions_) return;
  const std::string name = dispatched_ ? dispatched_->display_name : std::string("event");
  if (trace_on_) {
    trace_.AddLine(StringPrintf("*** %s STOPPED AFTER %d ACTIONS ***", name.c_str(), commands_));
  }
  if (std::find(runaways_reported_.begin(), runaways_reported_.end(), dispatched_) !=
      runaways_reported_.end()) {
    return;
  }
  runaways_reported_.push_back(dispatched_);
  doll_.report.Warning(kMsgFkissActionLimit, name, commands_);
}

void FkissRuntime::ReportAlarmPassLimit(int actions) {
  if (trace_on_)
    trace_.AddLine(StringPrintf("*** ALARM PASS STOPPED AFTER %d ACTIONS ***", actions));
  if (pass_limit_reported_) return;
  pass_limit_reported_ = true;
  doll_.report.Warning(kMsgFkissAlarmPassLimit, actions);
}

// --- Trace and comparisons ------------------------------------------------------

std::string FkissRuntime::Indent(int extra) const {
  return std::string(3 * static_cast<size_t>(std::max(0, depth_ + extra)), ' ');
}

void FkissRuntime::TraceAction(const FkissAction& action, int extra_indent) {
  if (trace_events_only_) return;
  trace_.AddLine(Indent(extra_indent) + ActionText(action));
}

std::string FkissRuntime::ActionText(const FkissAction& action) const {
  const Result<const FkissCommandInfo*> row = FkissCommandTable::Lookup(action.code);
  if (!row.ok()) return row.status().message();
  std::string text = std::string((*row)->name) + "(";
  for (int i = 0; i < 3 && !action.params[i].empty(); ++i) {
    if (i > 0) text += ", ";
    text += TraceParam(action.params[i]);
  }
  return text + ")";
}

bool FkissRuntime::Compare(const FkissAction& action) const {
  const int32_t a = Value(action.params[0]);
  const int32_t b = Value(action.params[1]);
  switch (action.code) {
    case kCmdIfequal:
    case kCmdElseifequal:
      return a == b;
    case kCmdIfnotequal:
    case kCmdElseifnotequal:
      return a != b;
    case kCmdIfgreaterthan:
    case kCmdElseifgreaterthan:
      return a > b;
    default:
      return a < b;
  }
}

}  // namespace luma
