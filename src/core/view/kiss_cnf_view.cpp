#include "core/view/kiss_cnf_view.h"

#include "core/render/instance_geometry.h"

namespace luma {

CKissCnfView::CKissCnfView(CKissCnfDoc& doc, const Settings& settings)
    : doc_(doc), settings_(settings) {}

CKissCnfView::~CKissCnfView() = default;

void CKissCnfView::StartDoll(bool run_script) {
  DollModel& doll = doc_.model();
  viewport_ = {0, 0};
  window_ = {doll.playfield.width, doll.playfield.height};
  active_group_ = -1;
  held_ = nullptr;
  close_requested_ = false;
  fit_pending_ = true;

  FkissScript* script = doc_.fkiss();
  if (!run_script || !script) script = &no_script_;
  RuntimeSettings runtime_settings;
  runtime_settings.quick_timer = settings_.quick_timer;
  runtime_settings.max_stack = doll.hints.stack_depth;
  runtime_settings.media.sound = settings_.sound_enabled;
  runtime_settings.media.music = settings_.music_enabled;
  runtime_settings.media.shell_permission = settings_.shell_permission;
  runtime_ = std::make_unique<FkissRuntime>(doll, *script, *this, doc_.host(), runtime_settings);
  if (script != &no_script_) runtime_->set_value_pools(doc_.value_pools());
  runtime_->SetTrace(trace_on_);
  runtime_->trace().set_listener(trace_listener_);
  runtime_->StartScript();
  redraw_pending_ = true;
}

void CKissCnfView::SetTrace(bool on, std::function<void(std::string_view line)> listener) {
  trace_on_ = on;
  trace_listener_ = std::move(listener);
  if (runtime_) {
    runtime_->SetTrace(on);
    runtime_->trace().set_listener(trace_listener_);
  }
}

uint32_t CKissCnfView::ProcessAlarms() { return runtime_ ? runtime_->ProcessAlarms() : 0; }

void CKissCnfView::SelectSet(int set) {
  if (runtime_) {
    runtime_->SwitchSet(set);
  } else if (set >= 0 && set < kSetCount) {
    SetCurrentSet(set);
  }
  redraw_pending_ = true;
}

void CKissCnfView::SelectPaletteGroup(int group) {
  DollModel& doll = doc_.model();
  if (group < 0 || group >= doll.palette_group_count) return;
  doll.sets[current_set_].palette_group = group;
  ActivatePaletteGroup(group);
}

int CKissCnfView::palette_group() const {
  return active_group_ >= 0 ? active_group_ : doc_.model().sets[current_set_].palette_group;
}

void CKissCnfView::SetCurrentSet(int set) {
  current_set_ = set;
  active_group_ = -1;
  redraw_pending_ = true;
}

void CKissCnfView::ActivatePaletteGroup(int group) {
  active_group_ = group;
  redraw_pending_ = true;
}

void CKissCnfView::SetViewportOrigin(PlayPoint origin) {
  viewport_ = origin;
  redraw_pending_ = true;
}

void CKissCnfView::SetWindowSize(PlayPoint size) {
  window_ = size;
  fit_pending_ = true;
  redraw_pending_ = true;
}

void CKissCnfView::EndDrag() {
  held_ = nullptr;
  if (on_end_drag) on_end_drag();
}

void CKissCnfView::ReleasePointer() {
  if (on_release_pointer) on_release_pointer();
}

void CKissCnfView::CelChanged(CelInstance&) { redraw_pending_ = true; }

void CKissCnfView::SetTransparency(CelInstance& cel, int value) {
  SetInstanceTransparency(cel, value);
  redraw_pending_ = true;
}

void CKissCnfView::CelPaletteChanged(CelInstance&) { redraw_pending_ = true; }

void CKissCnfView::ObjectMoved(KissObject&, PlayPoint) { redraw_pending_ = true; }

void CKissCnfView::RequestClose() {
  close_requested_ = true;
  if (on_close) on_close();
}

}  // namespace luma
