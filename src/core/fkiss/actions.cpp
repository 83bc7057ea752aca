#include <algorithm>
#include <climits>

#include "core/fkiss/bounding.h"
#include "core/fkiss/fkiss_runtime.h"
#include "core/fkiss/key_codes.h"
#include "core/host/host.h"
#include "core/host/text.h"
#include "core/model/doll_limits.h"
#include "core/model/doll_model.h"

namespace luma {
namespace {

enum MapHow { kMap, kUnmap, kAltmap };

// `Random() mod span + low`, in wide arithmetic so that extreme bounds
// neither wrap nor divide by zero.
int32_t RandomBetween(Host& host, int32_t a, int32_t b) {
  if (a == b) return a;
  const int64_t lo = std::min(a, b);
  const int64_t hi = std::max(a, b);
  return static_cast<int32_t>(host.Random() % (hi - lo + 1) + lo);
}

// The key names of a letkey text in order: up, down, left, right, space, or
// one character each; -1 for a character that names no key.
std::vector<int> KeySequence(std::string_view text) {
  static constexpr std::string_view kNames[] = {"up", "down", "left", "right", "space"};
  std::vector<int> keys;
  size_t i = 0;
  while (i < text.size()) {
    int code = -1;
    size_t length = 1;
    for (int k = 0; k < 5; ++k) {
      if (StartsWithIgnoreCase(text.substr(i), kNames[k])) {
        code = k;
        length = kNames[k].size();
        break;
      }
    }
    if (code < 0) code = KeyCodeFromChar(text[i]);
    keys.push_back(code);
    i += length;
  }
  return keys;
}

}  // namespace

// --- Parameters -----------------------------------------------------------------

int32_t FkissRuntime::Value(const FkissParam& param) const {
  return param.kind == RK_VARIABLE ? script_.GetVariable(param.value) : param.value;
}

KissObject* FkissRuntime::ObjectOf(const FkissParam& param) const {
  if (param.kind == RK_OBJECT) return param.object;
  if (param.kind == RK_VARIABLE) return doll_.FindObject(script_.GetVariable(param.value), false);
  return nullptr;
}

FkissTarget FkissRuntime::TargetOf(const FkissParam& param) const {
  switch (param.kind) {
    case RK_OBJECT:
      return FkissTarget::Of(param.object);
    case RK_CEL:
      return FkissTarget::Of(param.cel);
    case RK_CELSET:
      return FkissTarget::Of(param.cel_set);
    case RK_VARIABLE:
      if (KissObject* object = ObjectOf(param)) return FkissTarget::Of(object);
      return {};
    default:
      return {};
  }
}

FkissEvent* FkissRuntime::LabelOf(const FkissParam& param) const {
  if (param.kind == RK_LABEL) return param.event;
  return script_.FindLabel(static_cast<uint32_t>(Value(param)));
}

FkissEvent* FkissRuntime::AlarmOf(const FkissParam& param) const {
  if (param.kind == RK_ALARM) return param.event;
  return script_.FindAlarm(static_cast<uint32_t>(Value(param)));
}

std::string FkissRuntime::TraceParam(const FkissParam& param) const {
  switch (param.kind) {
    case RK_OBJECT:
      return StringPrintf("#%d", param.object ? param.object->number : param.value);
    case RK_CEL:
      return "\"" + (param.cel && param.cel->cel ? param.cel->cel->file_name : param.text) + "\"";
    case RK_CELSET:
      if (param.lex_kind == TK_GROUP) return "!" + param.cel_set->name;
      return "\"" + param.cel_set->name + "\"";
    case RK_NUMBER:
      return StringPrintf("%ld", static_cast<long>(param.value));
    case RK_LABEL:
    case RK_ALARM:
      return param.event->id_name.empty()
                 ? StringPrintf("%ld",
                                static_cast<long>(static_cast<int32_t>(param.event->id_number)))
                 : param.event->id_name;
    case RK_VARIABLE: {
      const auto& names = script_.variable_names();
      const std::string& name = param.value >= 0 && static_cast<size_t>(param.value) < names.size()
                                    ? names[param.value]
                                    : param.text;
      return StringPrintf("%s=%ld", name.c_str(),
                          static_cast<long>(script_.GetVariable(param.value)));
    }
    case RK_FILE:
      if (param.value < 0 || static_cast<size_t>(param.value) >= doll_.external_files.size()) {
        return "\"\"";
      }
      return "\"" + doll_.external_files[param.value].name + "\"";
    case RK_POOL:
      return param.value >= 0 ? script_.pool_names()[param.value] : std::string();
    case RK_POOLVALUE: {
      const std::string pool = param.value2 >= 0 ? script_.pool_names()[param.value2] : "";
      return pool + "." + script_.value_ids()[param.value];
    }
    default:
      return "\"" + param.text + "\"";
  }
}

// --- The executor ---------------------------------------------------------------

bool FkissRuntime::ExecuteAction(const FkissAction& action) {
  const FkissParam* p = action.params.data();
  const int set = view_.CurrentSet();
  switch (action.code) {
    case kCmdAdd:
    case kCmdSub:
    case kCmdMul:
    case kCmdDiv:
    case kCmdMod:
      Arithmetic(action);
      return true;
    case kCmdLet:
      script_.SetVariable(p[0].value, Value(p[1]));
      return true;
    case kCmdRandom:
      script_.SetVariable(p[0].value, RandomBetween(host_, Value(p[1]), Value(p[2])));
      return true;

    case kCmdLetobjectx:
    case kCmdLetobjecty:
    case kCmdLetinitx:
    case kCmdLetinity: {
      const KissObject* object = ObjectOf(p[1]);
      if (!object) return true;
      const bool initial = action.code == kCmdLetinitx || action.code == kCmdLetinity;
      const Position& at = initial ? object->initial_position[set] : object->position[set];
      const bool x = action.code == kCmdLetobjectx || action.code == kCmdLetinitx;
      script_.SetVariable(p[0].value, x ? at.x : at.y);
      return true;
    }
    case kCmdLetwidth:
    case kCmdLetheight: {
      const KissObject* object = ObjectOf(p[1]);
      if (!object) return true;
      bool any = false;
      CelRect box;
      for (const CelInstance* cel : object->cels) {
        if (!cel->in_set[set] || !cel->cel) continue;
        const CelRect r = CelBounds(*cel, set);
        box = any ? CelRect{std::min(box.left, r.left), std::min(box.top, r.top),
                            std::max(box.right, r.right), std::max(box.bottom, r.bottom)}
                  : r;
        any = true;
      }
      script_.SetVariable(
          p[0].value, action.code == kCmdLetwidth ? box.right - box.left : box.bottom - box.top);
      return true;
    }
    case kCmdLetfix:
      if (const KissObject* object = ObjectOf(p[1])) {
        script_.SetVariable(p[0].value, static_cast<int32_t>(object->fix));
      }
      return true;
    case kCmdLetparent:
    case kCmdLetchild:
    case kCmdLetsibling: {
      const KissObject* object = ObjectOf(p[1]);
      if (!object) return true;
      const ObjectLinks* links = script_.FindLinks(object);
      int32_t result = -1;
      if (action.code == kCmdLetparent) {
        if (links && links->parent) result = links->parent->number;
      } else {
        const KissObject* parent = action.code == kCmdLetchild ? object
                                   : links                     ? links->parent
                                                               : nullptr;
        const ObjectLinks* family = parent ? script_.FindLinks(parent) : nullptr;
        const int floor = action.code == kCmdLetchild ? INT_MIN : object->number;
        if (family) {
          for (const KissObject* child : family->children) {
            if (child->number > floor && (result < 0 || child->number < result)) {
              result = child->number;
            }
          }
        }
      }
      script_.SetVariable(p[0].value, result);
      return true;
    }
    case kCmdLetcatch: {
      const KissObject* held = view_.HeldObject();
      script_.SetVariable(p[0].value, held ? held->number : -1);
      return true;
    }
    case kCmdLetmapped: {
      const FkissTarget target = TargetOf(p[1]);
      if (target.empty()) return true;
      int32_t mapped = 0;
      for (const CelInstance* cel : TargetCels(target)) mapped += cel->mapped ? 1 : 0;
      script_.SetVariable(p[0].value, mapped);
      return true;
    }
    case kCmdLettransparent:
    case kCmdLetkcf: {
      const FkissTarget target = TargetOf(p[1]);
      if (target.empty()) return true;
      const bool kcf = action.code == kCmdLetkcf;
      const auto cels = TargetCels(target);
      int32_t result = kcf ? -1 : 0;
      for (size_t i = 0; i < cels.size(); ++i) {
        const CelInstance& cel = *cels[i];
        const int32_t value =
            kcf ? (cel.cel && !cel.cel->indexed() ? -1 : cel.palette) : cel.transparency;
        if (i == 0) {
          result = value;
        } else if (value != result) {
          result = -1;
          break;
        }
      }
      script_.SetVariable(p[0].value, result);
      return true;
    }
    case kCmdLetframe:
      script_.SetVariable(p[0].value, script_.CurrentFrame(p[1].cel_set));
      return true;
    case kCmdLetset:
      script_.SetVariable(p[0].value, set);
      return true;
    case kCmdLetpal:
      script_.SetVariable(p[0].value, doll_.sets[set].palette_group);
      return true;
    case kCmdLetmousex:
      script_.SetVariable(p[0].value, view_.Pointer().x);
      return true;
    case kCmdLetmousey:
      script_.SetVariable(p[0].value, view_.Pointer().y);
      return true;
    case kCmdLetcollide:
    case kCmdLetinside: {
      const FkissTarget a = TargetOf(p[1]);
      const FkissTarget b = TargetOf(p[2]);
      if (a.empty() || b.empty()) return true;
      const bool hit = action.code == kCmdLetcollide ? PixelOverlapOf(a, b) : BoxOverlapOf(a, b);
      script_.SetVariable(p[0].value, hit ? 1 : 0);
      return true;
    }
    case kCmdLettimer: {
      const FkissEvent* alarm = AlarmOf(p[1]);
      if (!alarm) return true;
      int32_t remaining = -1;
      if (alarm->pending) remaining = std::max(0, ClockDifference(alarm->due_time, time_base_));
      script_.SetVariable(p[0].value, remaining);
      return true;
    }
    case kCmdLetkey:
    case kCmdLetkeymap: {
      const std::vector<int> keys = KeySequence(p[1].text);
      int32_t result = 0;
      for (size_t i = 0; i < keys.size(); ++i) {
        if (!key_down(keys[i])) continue;
        if (action.code == kCmdLetkey) {
          result = static_cast<int32_t>(i + 1);
          break;
        }
        if (i < 32) result |= static_cast<int32_t>(1u << i);
      }
      script_.SetVariable(p[0].value, result);
      return true;
    }

    case kCmdMap:
    case kCmdUnmap:
    case kCmdAltmap:
      SetMapped(TargetOf(p[0]), action.code == kCmdMap     ? kMap
                                : action.code == kCmdUnmap ? kUnmap
                                                           : kAltmap);
      return true;
    case kCmdGhost: {
      const bool ghost = Value(p[1]) != 0;
      const FkissTarget target = TargetOf(p[0]);
      for (CelInstance* cel : TargetCels(target)) {
        if (cel->ghost == ghost) continue;
        cel->ghost = ghost;
        view_.CelChanged(*cel);
      }
      return true;
    }
    case kCmdTransparent: {
      const int64_t delta = Value(p[1]);
      const FkissTarget target = TargetOf(p[0]);
      for (CelInstance* cel : TargetCels(target)) {
        const int value = static_cast<int>(std::clamp<int64_t>(cel->transparency + delta, 0, 255));
        if (value != cel->transparency) view_.SetTransparency(*cel, value);
      }
      return true;
    }
    case kCmdSetkcf: {
      const int32_t kcf = Value(p[1]);
      if (kcf < 0 || static_cast<size_t>(kcf) >= doll_.palette_file_names.size()) return true;
      const FkissTarget target = TargetOf(p[0]);
      for (CelInstance* cel : TargetCels(target)) {
        if (cel->palette == kcf) continue;
        cel->palette = static_cast<uint16_t>(kcf);
        view_.CelPaletteChanged(*cel);
      }
      return true;
    }
    case kCmdSetframe: {
      CelSet* group = p[0].cel_set;
      const int32_t frame = Value(p[1]);
      const std::vector<CelInstance*>* members =
          frame >= 0 && frame < kSetCount ? &group->by_set[frame] : nullptr;
      for (CelInstance* cel : group->instances) {
        const bool in_frame =
            members && std::find(members->begin(), members->end(), cel) != members->end();
        if (cel->mapped == in_frame) continue;
        cel->mapped = in_frame;
        view_.CelChanged(*cel);
      }
      script_.SetCurrentFrame(group, frame);
      return true;
    }
    case kCmdChangeset:
      ChangeSet(Value(p[0]));
      return true;
    case kCmdChangecol:
      ChangeColor(Value(p[0]));
      return true;

    case kCmdMove:
    case kCmdMoveto:
    case kCmdMovebyx:
    case kCmdMovebyy:
    case kCmdMoverandx:
    case kCmdMoverandy: {
      KissObject* object = ObjectOf(p[0]);
      if (!object) return true;
      const Position at = object->position[set];
      int64_t x = at.x, y = at.y;
      switch (action.code) {
        case kCmdMove:
          x += Value(p[1]);
          y += Value(p[2]);
          break;
        case kCmdMoveto:
          x = Value(p[1]);
          y = Value(p[2]);
          break;
        case kCmdMovebyx:
        case kCmdMovebyy: {
          const KissObject* reference = ObjectOf(p[1]);
          if (!reference) return true;
          if (action.code == kCmdMovebyx) {
            x = static_cast<int64_t>(reference->position[set].x) + Value(p[2]);
          } else {
            y = static_cast<int64_t>(reference->position[set].y) + Value(p[2]);
          }
          break;
        }
        default: {
          const int64_t offset = RandomBetween(host_, Value(p[1]), Value(p[2]));
          (action.code == kCmdMoverandx ? x : y) += offset;
          break;
        }
      }
      MoveObjectByScript(object, x, y);
      return true;
    }
    case kCmdMovetorand: {
      KissObject* object = ObjectOf(p[0]);
      if (!object) return true;
      const MoveLimits limits =
          ComputeMoveLimits(*object, script_.FindLinks(object), set, doll_.playfield,
                            ScriptBoundingKind(doll_.hints.bounds), true);
      const int64_t x_range = std::max<int64_t>(0, int64_t{limits.x_max} - limits.x_min);
      const int64_t y_range = std::max<int64_t>(0, int64_t{limits.y_max} - limits.y_min);
      const int64_t x = limits.x_min + host_.Random() % (x_range + 1);
      const int64_t y = limits.y_min + host_.Random() % (y_range + 1);
      MoveObjectByScript(object, x, y);
      return true;
    }
    case kCmdRestrictx:
    case kCmdRestricty:
      Restrict(ObjectOf(p[0]), action.code == kCmdRestrictx, Value(p[1]), Value(p[2]));
      return true;
    case kCmdSetfix:
      SetFix(ObjectOf(p[0]), Value(p[1]));
      return true;
    case kCmdAttach:
    case kCmdGlue:
      Attach(ObjectOf(p[0]), ObjectOf(p[1]), action.code == kCmdGlue);
      return true;
    case kCmdDetach:
      Detach(ObjectOf(p[0]));
      return true;

    case kCmdGosub:
      if (FkissEvent* label = LabelOf(p[0])) Call(label);
      return true;
    case kCmdGoto:
      if (FkissEvent* label = LabelOf(p[0])) Call(label);
      return false;
    case kCmdGosubrandom:
    case kCmdGotorandom: {
      const bool first = host_.Random() % 100 < Value(p[0]);
      if (FkissEvent* label = LabelOf(p[first ? 1 : 2])) Call(label);
      return action.code == kCmdGosubrandom;
    }
    case kCmdRepeat:
      if (FkissEvent* label = LabelOf(p[0])) Repeat(label, Value(p[1]), p[2].value);
      return true;
    case kCmdNop:
      return true;
    case kCmdQuit:
      quit_ = true;
      depth_ = 0;
      view_.RequestClose();
      return false;

    case kCmdTimer:
      ScheduleAlarm(AlarmOf(p[0]), Value(p[1]));
      return true;
    case kCmdRandomtimer: {
      FkissEvent* alarm = AlarmOf(p[0]);
      if (!alarm) return true;
      const int32_t range = Value(p[2]);
      const uint32_t delay = static_cast<uint32_t>(Value(p[1])) +
                             (range == 0 ? 0u : static_cast<uint32_t>(host_.Random() % range));
      ScheduleAlarm(alarm, static_cast<int32_t>(delay));
      return true;
    }
    case kCmdIffixed:
    case kCmdIfnotfixed: {
      const KissObject* object = ObjectOf(p[0]);
      if (object) ScheduleIf(action, (object->fix != 0) == (action.code == kCmdIffixed));
      return true;
    }
    case kCmdIfmoved:
    case kCmdIfnotmoved: {
      const KissObject* object = ObjectOf(p[0]);
      if (!object) return true;
      const bool moved = !(object->position[set] == object->initial_position[set]);
      ScheduleIf(action, moved == (action.code == kCmdIfmoved));
      return true;
    }
    case kCmdIfmapped:
    case kCmdIfnotmapped: {
      const FkissTarget target = TargetOf(p[0]);
      if (target.empty()) return true;
      ScheduleIf(action, TargetMapped(target) == (action.code == kCmdIfmapped));
      return true;
    }

    case kCmdViewport:
      view_.SetViewportOrigin({Value(p[0]), Value(p[1])});
      RunLater(CollectMouseRegions(view_.Pointer(), nullptr), false);
      return true;
    case kCmdWindowsize: {
      const int32_t w = Value(p[0]), h = Value(p[1]);
      if (w < 1 || h < 1) return true;
      view_.SetWindowSize({w, h});
      RunLater(CollectMouseRegions(view_.Pointer(), nullptr), false);
      return true;
    }
    case kCmdNotify:
      view_.ReleasePointer();
      host_.ShowMessage("Lumadoll", doll_.Shown(p[0].text), MessageIcon::kInformation);
      view_.EndDrag();
      return true;
    case kCmdDebug:
      debug_.AddLine(p[0].text);
      return true;

    case kCmdSound:
      media_.PlaySoundFile(p[0].value);
      return true;
    case kCmdMusic:
      media_.PlayMusicFile(p[0].value);
      return true;
    case kCmdShell:
      media_.OpenShellLink(p[0].text);
      return true;

    case kCmdValuepool:
      current_pool_ = p[0].value;
      return true;
    case kCmdLoadvalue: {
      int32_t value = 0;
      const int pool = p[1].value2 == kPoolNotGiven ? current_pool_ : p[1].value2;
      if (pools_ && pools_->Load(pool, p[1].value, &value)) script_.SetVariable(p[0].value, value);
      return true;
    }
    case kCmdSavevalue:
      if (pools_) {
        pools_->Save(p[0].value2 == kPoolNotGiven ? current_pool_ : p[0].value2, p[0].value,
                     Value(p[1]));
      }
      return true;
    case kCmdDeletevalue:
      if (pools_)
        pools_->Delete(p[0].value2 == kPoolNotGiven ? current_pool_ : p[0].value2, p[0].value);
      return true;
    default:
      return true;
  }
}

// --- Helpers of the executor ----------------------------------------------------

void FkissRuntime::Arithmetic(const FkissAction& action) {
  const int32_t a = Value(action.params[1]);
  const int32_t b = Value(action.params[2]);
  int32_t result = 0;
  bool overflow = false;
  switch (action.code) {
    case kCmdAdd:
      overflow = __builtin_add_overflow(a, b, &result);
      break;
    case kCmdSub:
      overflow = __builtin_sub_overflow(a, b, &result);
      break;
    case kCmdMul:
      overflow = __builtin_mul_overflow(a, b, &result);
      break;
    default:
      // INT_MIN / -1 has no 32-bit result either.
      overflow = b == 0 || (a == INT32_MIN && b == -1);
      if (!overflow) result = action.code == kCmdDiv ? a / b : a % b;
      break;
  }
  if (overflow) {
    Call(&script_.overflow_event);
  } else {
    script_.SetVariable(action.params[0].value, result);
  }
}

void FkissRuntime::SetMapped(const FkissTarget& target, int how) {
  for (CelInstance* cel : TargetCels(target)) {
    const bool mapped = how == kMap ? true : how == kUnmap ? false : !cel->mapped;
    if (cel->mapped == mapped) continue;
    cel->mapped = mapped;
    view_.CelChanged(*cel);
  }
}

void FkissRuntime::ChangeSet(int set) {
  if (set < 0 || set >= kSetCount) return;
  EvaluateAll(false, false);
  const int current = view_.CurrentSet();
  auto finish = [this] {
    EvaluateAll(true, false);
    view_.RedrawAll();
  };
  if (set == current) {
    finish();
    return;
  }
  const int old_group = doll_.sets[current].palette_group;
  view_.SetCurrentSet(set);
  // set(n) runs first, then col of a new palette group, then the pairs.
  PushTask([this, set, old_group, finish] {
    const int group = doll_.sets[set].palette_group;
    if (group == old_group) {
      finish();
      return;
    }
    view_.ActivatePaletteGroup(group);
    PushTask(finish);
    if (group >= 0 && group < kSetCount) Call(&script_.col_events[group]);
  });
  Call(&script_.set_events[set]);
}

void FkissRuntime::ChangeColor(int group) {
  if (doll_.palettes().empty() || group < 0 || group >= doll_.palette_group_count) return;
  int& current = doll_.sets[view_.CurrentSet()].palette_group;
  const int previous = current;
  current = group;
  view_.ActivatePaletteGroup(group);
  if (group != previous && group < kSetCount) Call(&script_.col_events[group]);
  view_.RedrawAll();
}

bool FkissRuntime::IsAncestor(const KissObject* ancestor, const KissObject* object) const {
  // Links form a forest, so the walk up ends; the step bound guards it anyway.
  for (size_t steps = 0; object && steps <= doll_.objects().size(); ++steps) {
    if (object == ancestor) return true;
    const ObjectLinks* links = script_.FindLinks(object);
    object = links ? links->parent : nullptr;
  }
  return false;
}

void FkissRuntime::Attach(KissObject* child, KissObject* parent, bool glue) {
  if (!child || !parent) return;
  auto link = [this, child, parent, glue] {
    // An object never becomes its own ancestor: moves follow the links.
    if (IsAncestor(child, parent)) return;
    ObjectLinks& links = script_.Links(child);
    if (links.parent) return;
    links.parent = parent;
    links.glue = glue;
    script_.Links(parent).children.push_back(child);
  };
  const ObjectLinks* links = script_.FindLinks(child);
  if (links && links->parent) {
    PushTask(link);  // after the detached event
    Detach(child);
  } else {
    link();
  }
}

bool FkissRuntime::UnlinkChild(KissObject* child) {
  ObjectLinks* links = child ? script_.FindLinks(child) : nullptr;
  if (!links || !links->parent) return false;
  std::vector<KissObject*>& siblings = script_.Links(links->parent).children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), child), siblings.end());
  links->parent = nullptr;
  links->glue = false;
  return true;
}

void FkissRuntime::RaiseDetached(KissObject* child) {
  if (TargetRecord* record = child ? script_.FindRecord(FkissTarget::Of(child)) : nullptr) {
    RunEvent(record->detached.get(), true);
  }
}

void FkissRuntime::Detach(KissObject* child) {
  if (!UnlinkChild(child)) return;
  if (TargetRecord* record = script_.FindRecord(FkissTarget::Of(child))) {
    Call(record->detached.get());
  }
}

void FkissRuntime::Repeat(FkissEvent* label, int32_t count, int variable) {
  if (count <= 0) return;
  frames_.push_back(Frame{label, 0, count, variable, Frame::kRepeat, 0});
}

void FkissRuntime::SetFix(KissObject* object, int32_t value) {
  if (!object) return;
  const uint32_t old = object->fix;
  object->fix = static_cast<uint32_t>(value);
  if (old == 0 || value != 0) return;
  std::vector<FkissEvent*> events;
  auto add = [&](const FkissTarget& target) {
    if (const TargetRecord* record = script_.FindRecord(target)) {
      if (FkissEvent* unfix = record->event(kOnUnfix)) events.push_back(unfix);
    }
  };
  add(FkissTarget::Of(object));
  for (CelInstance* cel : object->cels) add(FkissTarget::Of(cel));
  RunLater(std::move(events), false);
}

void FkissRuntime::Restrict(KissObject* object, bool x_axis, int32_t lo, int32_t hi) {
  if (!object) return;
  ObjectLinks& links = script_.Links(object);
  bool& limited = x_axis ? links.x_limited : links.y_limited;
  if (hi < lo) {
    limited = false;
    return;
  }
  limited = true;
  (x_axis ? links.x_min : links.y_min) = LimitCoordinate(lo);
  (x_axis ? links.x_max : links.y_max) = LimitCoordinate(hi);
  const Position at = object->position[view_.CurrentSet()];
  MoveObjectByScript(object, at.x, at.y);
}

void FkissRuntime::ScheduleIf(const FkissAction& action, bool condition) {
  FkissEvent* alarm = AlarmOf(action.params[1]);
  if (alarm && condition) ScheduleAlarm(alarm, Value(action.params[2]));
}

}  // namespace luma
