// Pointer and key input: picking cels, pressing, tugging fixed objects,
// dragging, releasing, and the script events all of it raises.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "core/fkiss/bounding.h"
#include "core/host/text.h"
#include "core/model/doll_limits.h"
#include "core/view/cel_info.h"
#include "core/view/kiss_cnf_view.h"

namespace luma {
namespace {

// How far a fixed object may be tugged from where it was clicked.
int WiggleLimit(uint32_t fix, uint32_t threshold) {
  return static_cast<int>(std::min<uint32_t>(10, (threshold - fix) / 5 + 1));
}

// a - b held to the range of int.
int SaturatingSub(int a, int b) {
  return static_cast<int>(std::clamp<int64_t>(int64_t{a} - b, std::numeric_limits<int>::min(),
                                              std::numeric_limits<int>::max()));
}

}  // namespace

uint32_t CKissCnfView::fix_threshold() const {
  return static_cast<uint32_t>(std::max(1, doc_.model().hints.max_fix));
}

CKissCnfView::PointerAt CKissCnfView::FromClient(ClientPoint point) const {
  return PointerAt{ScreenToDoll(point), point};
}

CKissCnfView::PointerAt CKissCnfView::FromDoll(PlayPoint point) const {
  const PlayPoint doll{LimitCoordinate(point.x), LimitCoordinate(point.y)};
  return PointerAt{doll, DollToScreen(doll)};
}

void CKissCnfView::LeftButtonDown(ClientPoint point) { PressLeft(FromClient(point)); }
void CKissCnfView::LeftButtonDown(PlayPoint point) { PressLeft(FromDoll(point)); }
void CKissCnfView::LeftButtonUp(ClientPoint) { ReleaseLeft(); }
void CKissCnfView::LeftButtonUp(PlayPoint) { ReleaseLeft(); }
void CKissCnfView::MouseMove(ClientPoint point, bool left_held) {
  Move(FromClient(point), left_held);
}
void CKissCnfView::MouseMove(PlayPoint point, bool left_held) { Move(FromDoll(point), left_held); }
void CKissCnfView::RightButtonDown(ClientPoint point) { PressRight(FromClient(point)); }
void CKissCnfView::RightButtonDown(PlayPoint point) { PressRight(FromDoll(point)); }

void CKissCnfView::Deactivate() { ReleaseLeft(); }

CelInstance* CKissCnfView::PickCel(PlayPoint point, PickPurpose purpose) const {
  return luma::PickCel(doc_.model(), current_set_, point, doll_window(), settings_.easy_click,
                       purpose);
}

void CKissCnfView::MoveObject(KissObject* object, int x, int y) {
  if (object && runtime_) runtime_->MoveObject(object, x, y, MoveSource::kUser);
}

void CKissCnfView::KeyDown(int key_code, bool auto_repeat) {
  if (runtime_) runtime_->KeyDown(key_code, auto_repeat);
}

void CKissCnfView::KeyUp(int key_code) {
  if (runtime_) runtime_->KeyUp(key_code);
}

// --- Status texts and pointer -------------------------------------------------------

void CKissCnfView::ShowCoordinates(PlayPoint p) {
  coordinates_ = StringPrintf("%5d, %5d", p.x, p.y);
  front().ShowCoordinates(coordinates_);
}

void CKissCnfView::ShowCelInfo(const CelInstance* cel) {
  cel_info_ = cel ? CelInfoText(*cel, doc_.fkiss()) : std::string();
  front().ShowCelInfo(cel_info_);
  front().CelInfoShown(cel);
}

void CKissCnfView::SetPointerShape(PointerShape shape) {
  shape_ = shape;
  static constexpr PointerCursor kCustom[] = {PointerCursor::kNormal, PointerCursor::kStuck,
                                              PointerCursor::kDragging, PointerCursor::kOverObject};
  PointerCursor cursor = settings_.mouse_type == 1   ? kCustom[shape]
                         : settings_.mouse_type == 2 ? PointerCursor::kDot
                                                     : PointerCursor::kSystem;
  if (cursor == cursor_) return;
  cursor_ = cursor;
  front().SetPointer(cursor);
}

void CKissCnfView::FreeThePointer() {
  captured_ = false;
  SetPointerShape(kShapeNormal);
  ReleasePointer();
}

// --- Glue and families ----------------------------------------------------------------

KissObject* CKissCnfView::GlueRoot(KissObject* object) const {
  const FkissScript* script = runtime_ ? doc_.fkiss() : nullptr;
  if (!script || !run_script_) return object;
  // Glued children move their parent; the walk is bounded in case of a cycle.
  for (size_t steps = 0; steps < doc_.model().objects().size(); ++steps) {
    const ObjectLinks* links = script->FindLinks(object);
    if (!links || !links->glue || !links->parent) break;
    object = links->parent;
  }
  return object;
}

std::vector<KissObject*> CKissCnfView::Family(KissObject* object) const {
  std::vector<KissObject*> family{object};
  const FkissScript* script = run_script_ ? doc_.fkiss() : nullptr;
  if (!script) return family;
  for (size_t i = 0; i < family.size() && family.size() <= doc_.model().objects().size(); ++i) {
    if (const ObjectLinks* links = script->FindLinks(family[i])) {
      for (KissObject* child : links->children) {
        if (std::find(family.begin(), family.end(), child) == family.end()) {
          family.push_back(child);
        }
      }
    }
  }
  return family;
}

// --- Left button ------------------------------------------------------------------------

void CKissCnfView::PressLeft(const PointerAt& at) {
  captured_ = true;
  last_point_ = at.doll;
  pointer_ = at.doll;
  CelInstance* cel = PickCel(at.doll, PickPurpose::kEvents);
  last_clicked_ = cel;
  ShowCelInfo(cel);
  if (!cel || !cel->object || !runtime_) return;

  KissObject* object = cel->object;
  KissObject* mover = GlueRoot(object);
  const Position at_set = mover->position[current_set_];
  drag_ = DragState();
  drag_.pressed = true;
  drag_.set = current_set_;
  drag_.cel = cel;
  drag_.object = object;
  drag_.mover = mover;
  drag_.click = at.doll;
  drag_.grab = PlayPoint{SaturatingSub(at.doll.x, at_set.x), SaturatingSub(at.doll.y, at_set.y)};
  mover->saved_position[current_set_] = at_set;
  for (KissObject* member : Family(mover)) {
    drag_.family.emplace_back(member, member->position[current_set_]);
  }

  runtime_->RaiseCelEvents(cel, kOnPress);
  if (!drag_.pressed) return;  // the script ended the press
  if (object->fix < fix_threshold()) {
    SetPointerShape(kShapeDragging);
  } else {
    SetPointerShape(kShapeStuck);
    if (settings_.stuck_mouse) {
      pointer_confined_ = true;
      front().ConfinePointer();
    }
  }
}

void CKissCnfView::ReleaseLeft() {
  FreeThePointer();
  if (!drag_.pressed || !runtime_) {
    drag_ = DragState();
    return;
  }
  // The script may end the press itself while these events run.
  const DragState drag = drag_;
  // Recorded once, below, even when the script ends the press meanwhile.
  drag_.dragged = false;
  KissObject* object = drag.object;
  const uint32_t threshold = fix_threshold();
  const uint32_t fix = object->fix;
  const bool unfixed = fix == 1 && threshold > 1;
  if (fix > 0 && fix < threshold) object->fix = fix - 1;
  runtime_->RaiseCatchStep(drag.cel, fix > 1, unfixed);
  if (drag.dragged) CollideAfterDrag(drag);
  runtime_->RaiseCelEvents(drag.cel, kOnRelease);
  runtime_->RaiseCelEvents(drag.cel, object->fix == 0 ? kOnDrop : kOnFixdrop);
  drag_ = DragState();
  // Where the drop left things, a snap included.
  RecordDrag(drag);
  Redraw();
}

void CKissCnfView::RecordDrag(const DragState& drag) {
  if (!drag.dragged) return;
  MoveStep step;
  step.set = drag.set;
  bool moved = false;
  for (const auto& [member, before] : drag.family) {
    const Position after = member->position[drag.set];
    moved |= after != before;
    step.placements.push_back({member->number, before, after});
  }
  if (moved) history_.Record(std::move(step));
}

bool CKissCnfView::Undo() {
  if (!CanUndo()) return false;
  PlaceStep(*history_.TakeUndo(), true);
  return true;
}

bool CKissCnfView::Redo() {
  if (!CanRedo()) return false;
  PlaceStep(*history_.TakeRedo(), false);
  return true;
}

void CKissCnfView::PlaceStep(const MoveStep& step, bool before) {
  if (step.set != current_set_) SelectSet(step.set);
  if (!runtime_ || step.set != current_set_) return;
  std::vector<std::pair<KissObject*, Position>> placements;
  for (const MoveStep::Placement& placement : step.placements) {
    if (KissObject* object = doc_.model().FindObject(placement.object, false)) {
      placements.emplace_back(object, before ? placement.before : placement.after);
    }
  }
  runtime_->PlaceObjects(placements);
  Redraw();
}

// The move from where the family stood at the press to where it ends: the
// pairs take their state at the start, then the events of the whole move
// are raised, so a drop onto a snap-to parent snaps even after a long drag.
void CKissCnfView::CollideAfterDrag(const DragState& drag) {
  std::vector<Position> final_positions;
  for (const auto& [member, saved] : drag.family) {
    final_positions.push_back(member->position[current_set_]);
    member->position[current_set_] = saved;
  }
  for (const auto& [member, saved] : drag.family) runtime_->EvaluateObject(member, false, true);
  for (size_t i = 0; i < drag.family.size(); ++i) {
    drag.family[i].first->position[current_set_] = final_positions[i];
  }
  for (const auto& [member, saved] : drag.family) runtime_->EvaluateObject(member, true, true);
}

// --- Moves --------------------------------------------------------------------------------

void CKissCnfView::Move(const PointerAt& at, bool left_held) {
  if (captured_ && drag_.pressed && left_held) {
    DragTo(at);
  } else {
    last_point_ = at.doll;
    pointer_ = at.doll;
    ShowCoordinates(at.doll);
    const CelInstance* cel = PickCel(at.doll, PickPurpose::kEvents);
    SetPointerShape(cel && cel->object && cel->object->fix <= 1 ? kShapeOverObject : kShapeNormal);
  }
  if (runtime_) runtime_->CheckMouseRegions(pointer_, nullptr, true);
}

void CKissCnfView::AutoScroll(ClientPoint client) {
  bool moved = false;
  const int beyond[2] = {
      client.x < 0 ? client.x : std::max(0, client.x - client_width_),
      client.y < 0 ? client.y : std::max(0, client.y - client_height_),
  };
  for (int axis = 0; axis < 2; ++axis) {
    ScrollBar& bar = bars_[axis];
    if (!bar.active() || beyond[axis] == 0) continue;
    const int position = bar.Clamp(int64_t{bar.position} + beyond[axis]);
    moved |= position != bar.position;
    bar.position = position;
  }
  if (!moved) return;
  front().SetScrollPosition(bars_[0].position, bars_[1].position);
  UpdateTransform();
  Redraw();
}

void CKissCnfView::StartDragging() {
  drag_.dragging = true;
  if (settings_.mouse_hide && !pointer_hidden_) {
    pointer_hidden_ = true;
    front().ShowPointer(false);
  }
}

void CKissCnfView::DragTo(const PointerAt& at) {
  const DollModel& doll = doc_.model();
  PlayPoint p{std::clamp(at.doll.x, 0, RoundUpToEven(doll.playfield.width)),
              std::clamp(at.doll.y, 0, RoundUpToEven(doll.playfield.height))};
  ShowCoordinates(p);
  pointer_ = p;
  KissObject* object = drag_.object;
  const uint32_t threshold = fix_threshold();
  if (object->fix == 0) AutoScroll(at.client);

  const uint32_t fix = object->fix;
  if (fix > 1 && fix < threshold) {
    const int w = WiggleLimit(fix, threshold);
    p.x = std::clamp(p.x, drag_.click.x - w, drag_.click.x + w);
    p.y = std::clamp(p.y, drag_.click.y - w, drag_.click.y + w);
  }

  // Each step on a fixed object wears its fix down; at 0 it comes loose,
  // and what moves is pulled off the parent it is attached to. A glued
  // child never comes off: it moves its parent, which comes off instead.
  KissObject* mover = drag_.mover;
  bool detached = false;
  if (fix > 0 && fix < threshold) {
    const bool unfixed = fix == 1 && threshold > 1;
    object->fix = fix - 1;
    if (object->fix == 0) {
      StartDragging();
      detached = runtime_->UnlinkChild(mover);
    }
    runtime_->RaiseCatchStep(drag_.cel, fix > 1, unfixed);
    if (detached) runtime_->RaiseDetached(mover);
  } else if (fix == 0 && !drag_.dragging) {
    StartDragging();
    if (runtime_->UnlinkChild(mover)) runtime_->RaiseDetached(mover);
  }
  if (!drag_.pressed) return;

  const PlayPoint to{SaturatingSub(p.x, drag_.grab.x), SaturatingSub(p.y, drag_.grab.y)};
  if (object->fix > 0 && object->fix < threshold) {
    // Still fixed: the object jerks towards the pointer and springs back,
    // and the press ends as if the button went up.
    MoveObject(mover, to.x, to.y);
    if (!drag_.pressed) return;
    const Position saved = mover->saved_position[current_set_];
    MoveObject(mover, saved.x, saved.y);
    if (drag_.pressed) ReleaseLeft();
    return;
  }
  if (object->fix == 0 && drag_.dragging) {
    drag_.dragged = true;
    MoveObject(mover, to.x, to.y);
  }
}

// --- Right button -----------------------------------------------------------------------

void CKissCnfView::PressRight(const PointerAt& at) {
  UpdateTransform();
  ShowCoordinates(at.doll);
  CelInstance* cel = PickCel(at.doll, PickPurpose::kInformation);
  last_clicked_ = cel;
  if (!info_locked_) ShowCelInfo(cel);
}

}  // namespace luma
