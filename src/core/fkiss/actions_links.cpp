// Links: objects attached or glued to a parent, and the family queries.
#include <algorithm>
#include <climits>
#include <vector>

#include "core/fkiss/action_handlers.h"
#include "core/fkiss/fkiss_runtime.h"
#include "core/model/doll_model.h"

namespace luma {
namespace {

bool IsAncestor(const FkissScript& script, const DollModel& doll, const KissObject* ancestor,
                const KissObject* object) {
  // Links form a forest, so the walk up ends; the step bound guards it anyway.
  for (size_t steps = 0; object && steps <= doll.objects().size(); ++steps) {
    if (object == ancestor) return true;
    const ObjectLinks* links = script.FindLinks(object);
    object = links ? links->parent : nullptr;
  }
  return false;
}

}  // namespace

bool FkissActions::Attach(FkissRuntime& run, const FkissAction& action) {
  KissObject* child = run.ObjectOf(action.params[0]);
  KissObject* parent = run.ObjectOf(action.params[1]);
  if (!child || !parent) return true;
  const bool glue = action.code == kCmdGlue;
  auto link = [&run, child, parent, glue] {
    // An object never becomes its own ancestor: moves follow the links.
    if (IsAncestor(run.script_, run.doll_, child, parent)) return;
    ObjectLinks& links = run.script_.Links(child);
    if (links.parent) return;
    links.parent = parent;
    links.glue = glue;
    run.script_.Links(parent).children.push_back(child);
  };
  const ObjectLinks* links = run.script_.FindLinks(child);
  if (links && links->parent) {
    run.PushTask(link);  // after the detached event
    DetachChild(run, child);
  } else {
    link();
  }
  return true;
}

bool FkissActions::Detach(FkissRuntime& run, const FkissAction& action) {
  DetachChild(run, run.ObjectOf(action.params[0]));
  return true;
}

void FkissActions::DetachChild(FkissRuntime& run, KissObject* child) {
  if (!run.UnlinkChild(child)) return;
  if (TargetRecord* record = run.script_.FindRecord(FkissTarget::Of(child))) {
    run.Call(record->detached.get());
  }
}

bool FkissActions::LetRelative(FkissRuntime& run, const FkissAction& action) {
  const KissObject* object = run.ObjectOf(action.params[1]);
  if (!object) return true;
  const FkissScript& script = run.script_;
  const ObjectLinks* links = script.FindLinks(object);
  int32_t result = -1;
  if (action.code == kCmdLetparent) {
    if (links && links->parent) result = links->parent->number;
  } else {
    // The lowest-numbered child, or the next sibling up by number.
    const KissObject* parent = action.code == kCmdLetchild ? object
                               : links                     ? links->parent
                                                           : nullptr;
    const ObjectLinks* family = parent ? script.FindLinks(parent) : nullptr;
    const int floor = action.code == kCmdLetchild ? INT_MIN : object->number;
    if (family) {
      for (const KissObject* child : family->children) {
        if (child->number > floor && (result < 0 || child->number < result)) {
          result = child->number;
        }
      }
    }
  }
  run.script_.SetVariable(action.params[0].value, result);
  return true;
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

}  // namespace luma
