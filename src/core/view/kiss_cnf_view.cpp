#include "core/view/kiss_cnf_view.h"

#include <algorithm>

#include "core/fkiss/bounding.h"
#include "core/host/text.h"
#include "core/model/doll_limits.h"
#include "core/render/instance_geometry.h"

namespace luma {

CKissCnfView::CKissCnfView(CKissCnfDoc& doc, const Settings& settings)
    : doc_(doc), settings_(settings), renderer_(doc.device()) {}

CKissCnfView::~CKissCnfView() = default;

void CKissCnfView::ApplySettings(const Settings& settings) {
  doc_.ApplySettings(settings);
  settings_ = settings;
  if (runtime_) runtime_->ApplySettings(ScriptSettings());
  // The pointer takes the new style where it is now.
  SetPointerShape(shape_);
  Redraw();
}

RuntimeSettings CKissCnfView::ScriptSettings() const {
  RuntimeSettings runtime_settings;
  runtime_settings.quick_timer = settings_.quick_timer;
  runtime_settings.max_stack = doc_.model().hints.stack_depth;
  runtime_settings.media.sound = settings_.sound_enabled;
  runtime_settings.media.music = settings_.music_enabled;
  runtime_settings.media.shell_permission = settings_.shell_permission;
  runtime_settings.max_dispatch_actions = max_dispatch_actions_;
  runtime_settings.max_alarm_pass_actions = std::min(kMaxAlarmPassActions, max_dispatch_actions_);
  return runtime_settings;
}

// --- Starting -------------------------------------------------------------------

void CKissCnfView::StartDoll(bool run_script) {
  suspended_ = true;
  run_script_ = run_script;
  DollModel& doll = doc_.model();
  viewport_ = {0, 0};
  window_ = {doll.playfield.width, doll.playfield.height};
  active_group_ = -1;
  EndDrag();
  history_.Clear();
  wheel_zoom_rest_ = 0;
  wheel_scroll_rest_[0] = wheel_scroll_rest_[1] = 0;
  last_clicked_ = nullptr;
  close_requested_ = false;
  // The cels a flash showed may be gone.
  flash_ = FlashState();

  OfferBoundsOverride();

  FkissScript* script = doc_.fkiss();
  if (!run_script || !script) script = &no_script_;
  runtime_.reset();
  runtime_ = std::make_unique<FkissRuntime>(doll, *script, *this, doc_.host(), ScriptSettings());
  if (script != &no_script_) runtime_->set_value_pools(doc_.value_pools());
  runtime_->SetTrace(trace_on_);
  runtime_->set_trace_events_only(trace_events_only_);
  runtime_->set_trace_step_mode(trace_step_mode_);
  runtime_->trace().set_listener(trace_listener_);
  runtime_->debug_log().set_listener(debug_listener_);
  runtime_->StartScript();

  if (fit_pending_) {
    SetZoom(0);
    front().FitWindow(bars_[0].content, bars_[1].content, true);
    fit_pending_ = false;
  }
  SetZoom(0);
  suspended_ = false;
  Redraw();
}

void CKissCnfView::OfferBoundsOverride() {
  DollModel& doll = doc_.model();
  HintSettings& hints = doll.hints;
  if (hints.bounds_hint || hints.bounds == BoundsMode::kNone || settings_.bounding_ask == 0) {
    return;
  }
  const BoundingKind kind = ScriptBoundingKind(hints.bounds);
  bool outside = false;
  for (int set = 0; set < kSetCount && !outside; ++set) {
    for (const auto& object : doll.objects()) {
      if (ObjectInSet(*object, set) && ObjectOutsidePlayfield(*object, set, doll.playfield, kind)) {
        outside = true;
        break;
      }
    }
  }
  if (!outside) return;
  if (settings_.bounding_ask == 1 &&
      doc_.host().Ask("Bounding Override?",
                      doc_.title() +
                          " includes objects which start outside of the edges of the Playfield. "
                          "Do you wish to switch to a more forgiving bounding mode for this doll?",
                      Buttons::kYesNo, MessageIcon::kQuestion) != Answer::kYes) {
    return;
  }
  hints.bounds = MoreForgiving(hints.bounds);
  front().BoundsModeChanged(hints.bounds);
}

void CKissCnfView::SetTrace(bool on, std::function<void(std::string_view line)> listener) {
  trace_on_ = on;
  trace_listener_ = std::move(listener);
  if (runtime_) {
    runtime_->SetTrace(on);
    runtime_->trace().set_listener(trace_listener_);
  }
}

void CKissCnfView::SetTraceOptions(bool events_only, bool step_mode) {
  trace_events_only_ = events_only;
  trace_step_mode_ = step_mode;
  if (runtime_) {
    runtime_->set_trace_events_only(events_only);
    runtime_->set_trace_step_mode(step_mode);
  }
}

void CKissCnfView::StepAlarm() {
  if (runtime_ && runtime_->trace_step_mode()) runtime_->StepAlarm();
}

bool CKissCnfView::CanStepAlarm() const {
  return runtime_ && runtime_->trace_step_mode() && !runtime_->alarms().empty() &&
         !runtime_->paused();
}

void CKissCnfView::SetDebugListener(std::function<void(std::string_view line)> listener) {
  debug_listener_ = std::move(listener);
  if (runtime_) runtime_->debug_log().set_listener(debug_listener_);
}

uint32_t CKissCnfView::ProcessAlarms() { return runtime_ ? runtime_->ProcessAlarms() : 0; }

// --- Sets and palettes ------------------------------------------------------------

void CKissCnfView::SelectSet(int set) {
  if (set < 0 || set >= kSetCount) return;
  if (runtime_) {
    runtime_->SwitchSet(set);
  } else {
    SetCurrentSet(set);
  }
  Redraw();
}

void CKissCnfView::SelectPaletteGroup(int group) {
  DollModel& doll = doc_.model();
  if (group < 0 || group >= doll.palette_group_count) return;
  doll.sets[current_set_].palette_group = group;
  ActivatePaletteGroup(group);
}

void CKissCnfView::StepSet(int step) {
  const DollModel& doll = doc_.model();
  for (int i = 1; i < kSetCount; ++i) {
    const int set = ((current_set_ + step * i) % kSetCount + kSetCount) % kSetCount;
    if (doll.sets[set].used) {
      SelectSet(set);
      return;
    }
  }
}

void CKissCnfView::StepPalette(int step) {
  const int count = doc_.model().palette_group_count;
  if (count <= 0) return;
  const int group = doc_.model().sets[current_set_].palette_group;
  SelectPaletteGroup(((group + step) % count + count) % count);
}

bool CKissCnfView::SetEnabled(int set) const {
  return set >= 0 && set < kSetCount && doc_.model().sets[set].used;
}

bool CKissCnfView::PaletteEnabled(int group) const {
  return group >= 0 && group < doc_.model().palette_group_count;
}

int CKissCnfView::palette_group() const {
  return active_group_ >= 0 ? active_group_ : doc_.model().sets[current_set_].palette_group;
}

// --- Drawing ----------------------------------------------------------------------

void CKissCnfView::Redraw() {
  redraw_pending_ = true;
  front().Invalidate();
}

Scene CKissCnfView::CurrentScene() const {
  Scene scene;
  scene.doll = &const_cast<CKissCnfDoc&>(doc_).model();
  scene.set = current_set_;
  scene.palette_group = active_group_;
  scene.viewport_x = viewport_.x;
  scene.viewport_y = viewport_.y;
  scene.window_width = window_.x;
  scene.window_height = window_.y;
  scene.edged_border = settings_.edged_border;
  return scene;
}

DeviceResult CKissCnfView::DrawFrame() {
  // A doll being loaded may be half freed: nothing of it is drawn.
  if (suspended_ || !chain_ || doc_.loading()) return DeviceResult::kOk;
  redraw_pending_ = false;
  if (flash_.step == 0 || flash_.step == 2) {
    DrawHighlightFrame(flash_.cels);
    return DeviceResult::kOk;
  }
  return renderer_.DrawFrame(*chain_, CurrentScene(), transform_);
}

DeviceResult CKissCnfView::RenderTo(Surface& target) {
  return renderer_.RenderToTarget(target, CurrentScene(), transform_);
}

// --- ScriptView -------------------------------------------------------------------

void CKissCnfView::SetCurrentSet(int set) {
  current_set_ = set;
  active_group_ = -1;
  Redraw();
}

void CKissCnfView::ActivatePaletteGroup(int group) {
  active_group_ = group;
  Redraw();
}

void CKissCnfView::SetViewportOrigin(PlayPoint origin) {
  viewport_ = {LimitCoordinate(origin.x), LimitCoordinate(origin.y)};
  UpdateTransform();
  Redraw();
}

void CKissCnfView::SetWindowSize(PlayPoint size) {
  window_ = {LimitPlayfieldSide(size.x), LimitPlayfieldSide(size.y)};
  fit_pending_ = true;
  SetZoom(zoom_level_);
  Redraw();
}

void CKissCnfView::EndDrag() {
  FreeThePointer();
  // A drag the script cut short still moved what the user moved.
  const DragState drag = drag_;
  drag_ = DragState();
  if (drag.pressed) RecordDrag(drag);
}

void CKissCnfView::ReleasePointer() {
  if (pointer_confined_) front().FreePointer();
  if (pointer_hidden_) front().ShowPointer(true);
  pointer_confined_ = false;
  pointer_hidden_ = false;
}

void CKissCnfView::CelChanged(CelInstance& cel) {
  if (&cel == last_clicked_ && !info_locked_) ShowCelInfo(&cel);
  Redraw();
}

void CKissCnfView::SetTransparency(CelInstance& cel, int value) {
  SetInstanceTransparency(cel, value);
  CelChanged(cel);
}

void CKissCnfView::CelPaletteChanged(CelInstance& cel) {
  doc_.UseInstancePalette(cel, palette_group());
  CelChanged(cel);
}

void CKissCnfView::ObjectMoved(KissObject&, PlayPoint) { Redraw(); }

void CKissCnfView::RequestClose() {
  close_requested_ = true;
  front().CloseDoll();
}

void CKissCnfView::ShowNotice(const std::string& text) {
  doc_.host().ShowMessage("Lumadoll", doc_.Shown(text), MessageIcon::kInformation);
}

void CKissCnfView::ShowScriptWarning(const std::string& text) {
  doc_.host().ShowMessage("Lumadoll", doc_.Shown(text), MessageIcon::kWarning);
}

bool CKissCnfView::AllowShellLink(const std::string& link) {
  const std::string question = StringPrintf(
      "Shell() wants to open this URL:\n\n%s\n\nDo you want to open it?", doc_.Shown(link).c_str());
  return doc_.host().Ask("Shell()", question, Buttons::kYesNo, MessageIcon::kQuestion) ==
         Answer::kYes;
}

}  // namespace luma
