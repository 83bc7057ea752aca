#include <algorithm>

#include "core/fkiss/bounding.h"
#include "core/fkiss/fkiss_runtime.h"
#include "core/model/doll_model.h"

namespace luma {
namespace {

void Add(std::vector<FkissEvent*>& out, FkissEvent& event) {
  if (!event.actions.empty()) out.push_back(&event);
}

bool Seen(std::vector<const void*>& seen, const void* pair) {
  if (std::find(seen.begin(), seen.end(), pair) != seen.end()) return true;
  seen.push_back(pair);
  return false;
}

}  // namespace

bool FkissRuntime::PixelOverlapOf(const FkissTarget& a, const FkissTarget& b) {
  return PixelOverlap(a, b, view_.CurrentSet(), opacity_);
}

bool FkissRuntime::BoxOverlapOf(const FkissTarget& a, const FkissTarget& b) {
  return BoxOverlap(a, b, view_.CurrentSet());
}

void FkissRuntime::ResetPairs() {
  for (TargetRecord* record : script_.records()) {
    record->mouse_over = 0;
    for (PairLink<CollisionPair>& link : record->collisions) link.pair->state = 0;
    for (PairLink<RegionPair>& link : record->regions) link.pair->state = 0;
  }
}

void FkissRuntime::EvaluateRecord(TargetRecord& record, bool raise, bool owner_only,
                                  std::vector<const void*>& seen, std::vector<FkissEvent*>& out) {
  const int set = view_.CurrentSet();
  for (PairLink<CollisionPair>& link : record.collisions) {
    if ((owner_only && !link.owner) || Seen(seen, link.pair)) continue;
    CollisionPair& pair = *link.pair;
    const bool now = TargetVisible(pair.first, set) && TargetVisible(pair.second, set) &&
                     PixelOverlap(pair.first, pair.second, set, opacity_);
    const uint8_t before = pair.state;
    pair.state = now ? 1 : 0;
    if (!raise) continue;
    if (now && before == 0) Add(out, pair.collide);
    if (!now && before == 1 && TargetMapped(pair.first) && TargetMapped(pair.second)) {
      Add(out, pair.apart);
    }
  }
  for (PairLink<RegionPair>& link : record.regions) {
    if ((owner_only && !link.owner) || Seen(seen, link.pair)) continue;
    RegionPair& pair = *link.pair;
    const bool now = TargetVisible(pair.first, set) && TargetVisible(pair.second, set) &&
                     BoxOverlap(pair.first, pair.second, set);
    const uint8_t before = pair.state;
    pair.state = now ? 1 : 0;
    if (!raise) continue;
    if (now) {
      if (before == 0) Add(out, pair.in);
      Add(out, pair.stillin);
    } else {
      if (before == 1 && TargetMapped(pair.first) && TargetMapped(pair.second)) Add(out, pair.out);
      Add(out, pair.stillout);
    }
  }
}

std::vector<FkissEvent*> FkissRuntime::CollectObject(KissObject* object, bool raise) {
  std::vector<FkissEvent*> events;
  std::vector<const void*> seen;
  auto visit = [&](const FkissTarget& target) {
    if (TargetRecord* record = script_.FindRecord(target)) {
      EvaluateRecord(*record, raise, false, seen, events);
    }
  };
  visit(FkissTarget::Of(object));
  for (CelInstance* cel : object->cels) visit(FkissTarget::Of(cel));
  std::vector<CelSet*> sets;
  for (CelInstance* cel : object->cels) {
    for (CelSet* set : cel->cel_sets) {
      if (std::find(sets.begin(), sets.end(), set) == sets.end()) sets.push_back(set);
    }
  }
  for (CelSet* set : sets) visit(FkissTarget::Of(set));
  return events;
}

void FkissRuntime::EvaluateObject(KissObject* object, bool raise, bool top_level) {
  if (!object) return;
  RunLater(CollectObject(object, raise), top_level);
}

void FkissRuntime::EvaluateAll(bool raise, bool top_level) {
  std::vector<FkissEvent*> events;
  std::vector<const void*> seen;
  auto visit = [&](const FkissTarget& target) {
    if (TargetRecord* record = script_.FindRecord(target)) {
      EvaluateRecord(*record, raise, true, seen, events);
    }
  };
  for (const auto& cel : doll_.instances()) visit(FkissTarget::Of(cel.get()));
  for (const auto& object : doll_.objects()) visit(FkissTarget::Of(object.get()));
  for (const auto& group : doll_.groups()) visit(FkissTarget::Of(group.get()));
  // Cel names used by several lines are cel sets as well; their pairs count too.
  for (const auto& cels : doll_.ambiguous_cels()) visit(FkissTarget::Of(cels.get()));
  if (raise) RunLater(std::move(events), top_level);
}

std::vector<FkissEvent*> FkissRuntime::CollectMouseRegions(PlayPoint point,
                                                           const FkissTarget* only) {
  std::vector<FkissEvent*> events;
  const PlayPoint origin = view_.ViewportOrigin();
  const PlayPoint size = view_.WindowSize();
  if (point.x < origin.x || point.y < origin.y || point.x >= int64_t{origin.x} + size.x ||
      point.y >= int64_t{origin.y} + size.y) {
    return events;
  }
  const int set = view_.CurrentSet();
  for (TargetRecord* record : script_.mouse_regions) {
    if (only && !(record->target == *only)) continue;
    bool over = false;
    for (const CelInstance* cel : TargetCels(record->target)) {
      if (!CelVisible(*cel, set)) continue;
      const CelRect r = CelBounds(*cel, set);
      if (point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom) {
        over = true;
        break;
      }
    }
    if (over == (record->mouse_over != 0)) continue;
    record->mouse_over = over ? 1 : 0;
    if (FkissEvent* event = record->event(over ? kOnMousein : kOnMouseout)) {
      if (!event->actions.empty()) events.push_back(event);
    }
  }
  return events;
}

void FkissRuntime::CheckMouseRegions(PlayPoint point, const FkissTarget* only, bool top_level) {
  RunLater(CollectMouseRegions(point, only), top_level);
}

Position FkissRuntime::LimitedPosition(const KissObject& object, int64_t x, int64_t y,
                                       MoveSource source) const {
  const bool by_script = source == MoveSource::kScript;
  const BoundingKind kind =
      by_script ? ScriptBoundingKind(doll_.hints.bounds) : UserBoundingKind(doll_.hints.bounds);
  return ClampToLimits(x, y,
                       ComputeMoveLimits(object, script_.FindLinks(&object), view_.CurrentSet(),
                                         doll_.playfield, kind, by_script));
}

void FkissRuntime::MoveObjectByScript(KissObject* object, int64_t x, int64_t y) {
  if (!object) return;
  const int set = view_.CurrentSet();
  const Position from = object->position[set];
  const Position to = LimitedPosition(*object, x, y, MoveSource::kScript);
  if (to == from) return;
  const PlayPoint pointer = view_.Pointer();
  auto family = std::make_shared<std::vector<KissObject*>>(1, object);
  if (const ObjectLinks* links = script_.FindLinks(object)) {
    family->insert(family->end(), links->children.begin(), links->children.end());
  }
  for (KissObject* member : *family) CollectObject(member, false);
  object->position[set] = to;
  view_.ObjectMoved(*object, {from.x, from.y});

  const int64_t dx = int64_t{to.x} - from.x, dy = int64_t{to.y} - from.y;
  // A child's move starts from where it stands once the moves and events
  // before it are done.
  auto move_child = [this, dx, dy](KissObject* child) {
    const Position at = child->position[view_.CurrentSet()];
    MoveObjectByScript(child, at.x + dx, at.y + dy);
  };
  if (!dispatching_) {
    for (size_t i = 1; i < family->size(); ++i) move_child((*family)[i]);
    FollowUpMoves(family, 0, pointer);
    return;
  }
  // The stack runs the last task pushed first: children in order, then the
  // events of the whole family.
  PushTask([this, family, pointer] { FollowUpMoves(family, 0, pointer); });
  for (size_t i = family->size(); i-- > 1;) {
    KissObject* child = (*family)[i];
    PushTask([move_child, child] { move_child(child); });
  }
}

void FkissRuntime::MoveObject(KissObject* object, int64_t x, int64_t y, MoveSource source) {
  if (!object) return;
  if (source == MoveSource::kScript) {
    MoveObjectByScript(object, x, y);
    return;
  }
  const int set = view_.CurrentSet();
  auto limited = [&](const KissObject& o, int64_t to_x, int64_t to_y) {
    return LimitedPosition(o, to_x, to_y, source);
  };
  const Position target = limited(*object, x, y);
  if (target == object->position[set]) return;
  const PlayPoint pointer = view_.Pointer();

  // The object and everything attached to it, parents before children.
  std::vector<KissObject*> family{object};
  for (size_t i = 0; i < family.size(); ++i) {
    if (const ObjectLinks* links = script_.FindLinks(family[i])) {
      family.insert(family.end(), links->children.begin(), links->children.end());
    }
  }
  for (KissObject* member : family) CollectObject(member, false);

  // Each child follows its parent's actual step, within its own limits.
  auto moved = std::make_shared<std::vector<KissObject*>>();
  std::vector<std::pair<KissObject*, Position>> pending{{object, target}};
  while (!pending.empty()) {
    auto [member, to] = pending.back();
    pending.pop_back();
    const Position from = member->position[set];
    if (to == from) continue;
    member->position[set] = to;
    view_.ObjectMoved(*member, {from.x, from.y});
    moved->push_back(member);
    if (const ObjectLinks* links = script_.FindLinks(member)) {
      for (auto it = links->children.rbegin(); it != links->children.rend(); ++it) {
        const Position at = (*it)->position[set];
        pending.emplace_back(
            *it, limited(**it, int64_t{at.x} + to.x - from.x, int64_t{at.y} + to.y - from.y));
      }
    }
  }
  FollowUpMoves(moved, 0, pointer);
}

void FkissRuntime::PlaceObjects(const std::vector<std::pair<KissObject*, Position>>& placements) {
  const int set = view_.CurrentSet();
  const PlayPoint pointer = view_.Pointer();
  for (const auto& [object, to] : placements) CollectObject(object, false);
  auto moved = std::make_shared<std::vector<KissObject*>>();
  for (const auto& [object, to] : placements) {
    const Position from = object->position[set];
    if (to == from) continue;
    object->position[set] = to;
    view_.ObjectMoved(*object, {from.x, from.y});
    moved->push_back(object);
  }
  FollowUpMoves(moved, 0, pointer);
}

void FkissRuntime::FollowUpMoves(std::shared_ptr<std::vector<KissObject*>> moved, size_t index,
                                 PlayPoint pointer) {
  if (!dispatching_) {
    for (KissObject* object : *moved) {
      const FkissTarget target = FkissTarget::Of(object);
      RunLater(CollectObject(object, true), true);
      RunLater(CollectMouseRegions(pointer, &target), true);
    }
    return;
  }
  if (index >= moved->size()) return;
  KissObject* object = (*moved)[index];
  // This object's collision events run first, then its mouse regions are
  // checked, then the next object's turn comes.
  PushTask([this, moved, index, pointer, object] {
    PushTask([this, moved, index, pointer] { FollowUpMoves(moved, index + 1, pointer); });
    const FkissTarget target = FkissTarget::Of(object);
    PushList(CollectMouseRegions(pointer, &target));
  });
  PushList(CollectObject(object, true));
}

}  // namespace luma
