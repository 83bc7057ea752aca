#include "core/fkiss/snap_to.h"

#include <algorithm>

#include "core/fkiss/fkiss_script.h"
#include "core/host/text.h"
#include "core/model/doll_model.h"

namespace luma {
namespace {

bool NamesPair(const FkissAction& action, const KissObject* child, const KissObject* parent) {
  const FkissParam& a = action.params[0];
  const FkissParam& b = action.params[1];
  if (a.kind != RK_OBJECT || b.kind != RK_OBJECT) return false;
  return (a.object == child && b.object == parent) || (a.object == parent && b.object == child);
}

void Attach(SnapToInfo& info, FkissEvent* event) {
  if (event && event->opened) info.events.push_back(event);
}

// The object a snap-to event moves: the one both of its moves name first,
// else the pair's first target. A pair first made for other events with the
// objects the other way round may hold a snap-to either way.
const KissObject* SnapToChild(const RegionPair& pair, const FkissEvent& event) {
  const KissObject* moved = event.actions[0].params[0].object;
  return moved == event.actions[1].params[0].object ? moved : pair.first.object;
}

// The pair holding a snap-to effect that moves `child` onto `parent`.
RegionPair* SnapToPair(const FkissScript& script, const KissObject* parent,
                       const KissObject* child) {
  const TargetRecord* record = script.FindRecord(FkissTarget::Of(const_cast<KissObject*>(child)));
  if (!record) return nullptr;
  for (const PairLink<RegionPair>& link : record->regions) {
    if (link.partner.object != parent) continue;
    for (const FkissEvent* event : {&link.pair->in, &link.pair->stillin}) {
      if (IsSnapToEvent(*link.pair, *event) && SnapToChild(*link.pair, *event) == child) {
        return link.pair;
      }
    }
  }
  return nullptr;
}

void Unopen(FkissScript& script, FkissEvent& event) {
  script.action_count -= static_cast<int>(event.actions.size());
  if (!event.actions.empty()) --script.event_count;
  event.actions.clear();
  event.opened = false;
  auto& opened = script.opened_events;
  opened.erase(std::remove(opened.begin(), opened.end(), &event), opened.end());
}

}  // namespace

bool IsSnapToEvent(const RegionPair& pair, const FkissEvent& event) {
  if (&event != &pair.in && &event != &pair.stillin) return false;
  const KissObject* child = pair.first.object;
  const KissObject* parent = pair.second.object;
  if (!child || !parent || !event.opened || event.actions.size() != 2) return false;
  const FkissAction& a = event.actions[0];
  const FkissAction& b = event.actions[1];
  auto move_by = [](const FkissAction& action) {
    return action.code == kCmdMovebyx || action.code == kCmdMovebyy;
  };
  return move_by(a) && move_by(b) && NamesPair(a, child, parent) && NamesPair(b, child, parent);
}

void AnalyseSnapTo(FkissScript& script) {
  for (TargetRecord* record : script.records()) {
    SnapToInfo& info = record->snap_to;
    info = SnapToInfo();
    for (const auto& event : record->events) Attach(info, event.get());
    Attach(info, record->detached.get());
    // Any event of the target's own, or any collision event, is not a snap-to.
    bool only_snap_to = info.events.empty();
    for (const PairLink<CollisionPair>& link : record->collisions) {
      Attach(info, &link.pair->collide);
      Attach(info, &link.pair->apart);
    }
    if (!info.events.empty()) only_snap_to = false;
    for (const PairLink<RegionPair>& link : record->regions) {
      RegionPair& pair = *link.pair;
      for (FkissEvent* event : {&pair.in, &pair.out, &pair.stillin, &pair.stillout}) {
        if (!event->opened) continue;
        info.events.push_back(event);
        if (!IsSnapToEvent(pair, *event)) only_snap_to = false;
      }
    }
    info.has_events = !info.events.empty();
    info.only_snap_to = info.has_events && only_snap_to;
  }
}

bool FindSnapTo(const FkissScript& script, const KissObject* parent, const KissObject* child) {
  return SnapToPair(script, parent, child) != nullptr;
}

void AddSnapTo(FkissScript& script, DollModel& doll, KissObject* parent, KissObject* child,
               bool use_stillin, int set) {
  const int dx = child->position[set].x - parent->position[set].x;
  const int dy = child->position[set].y - parent->position[set].y;
  const int event_code = use_stillin ? kCmdStillin : kCmdIn;
  const char* event_name = FkissCommandTable::Name(event_code);
  if (!script.reformat_on_save) {
    script.added_text += StringPrintf(
        ";@%s(#%d, #%d) movebyx(#%d, #%d, %d) movebyy(#%d, #%d, %d)\n\n", event_name, child->number,
        parent->number, child->number, parent->number, dx, child->number, parent->number, dy);
  }
  RegionPair& pair = script.FindOrCreateRegionPair(FkissTarget::Of(child), FkissTarget::Of(parent));
  FkissEvent& event = use_stillin ? pair.stillin : pair.in;
  event.display_name = StringPrintf("%s(#%d, #%d)", event_name, child->number, parent->number);
  if (!event.opened) {
    event.opened = true;
    script.opened_events.push_back(&event);
  }
  if (event.actions.empty()) ++script.event_count;
  for (int code : {kCmdMovebyx, kCmdMovebyy}) {
    FkissAction action;
    action.code = code;
    action.params[0].lex_kind = TK_OBJECT;
    action.params[0].kind = RK_OBJECT;
    action.params[0].value = child->number;
    action.params[0].object = child;
    action.params[1].lex_kind = TK_OBJECT;
    action.params[1].kind = RK_OBJECT;
    action.params[1].value = parent->number;
    action.params[1].object = parent;
    action.params[2].lex_kind = TK_NUMBER;
    action.params[2].kind = RK_NUMBER;
    action.params[2].value = code == kCmdMovebyx ? dx : dy;
    event.actions.push_back(std::move(action));
  }
  script.action_count += 2;
  script.level = std::max(script.level, kFkissLevel2);
  doll.fkiss_level = script.level;
  script.script_flag = true;
  AnalyseSnapTo(script);
}

bool RemoveSnapTo(FkissScript& script, const KissObject* parent, const KissObject* child) {
  bool removed = false;
  for (auto [p, c] : {std::pair{parent, child}, std::pair{child, parent}}) {
    RegionPair* pair = SnapToPair(script, p, c);
    if (!pair) continue;
    for (FkissEvent* event : {&pair->in, &pair->stillin}) {
      if (IsSnapToEvent(*pair, *event)) Unopen(script, *event);
    }
    removed = true;
  }
  if (removed) {
    script.reformat_on_save = true;
    AnalyseSnapTo(script);
  }
  return removed;
}

}  // namespace luma
