#ifndef LUMA_CORE_VIEW_KISS_CNF_VIEW_H_
#define LUMA_CORE_VIEW_KISS_CNF_VIEW_H_

#include <functional>
#include <memory>
#include <string_view>

#include "core/doll/kiss_cnf_doc.h"
#include "core/fkiss/fkiss_runtime.h"
#include "core/fkiss/script_view.h"
#include "core/host/settings.h"

namespace luma {

// The view of one open doll: what is shown (set, palette group, the doll
// window inside the playfield), where the pointer is and what it holds, and
// the doll's running script. Windows and the command-line tool draw from
// its state; it tells them through callbacks when to redraw or close.
class CKissCnfView : public ScriptView {
 public:
  CKissCnfView(CKissCnfDoc& doc, const Settings& settings);
  ~CKissCnfView() override;
  CKissCnfView(const CKissCnfView&) = delete;
  CKissCnfView& operator=(const CKissCnfView&) = delete;

  // Shows the loaded doll from its start: the doll window covers the
  // playfield, the first set in use is shown and, unless `run_script` is
  // off or the doll has none, the script starts.
  void StartDoll(bool run_script = true);

  // Turns the FKiSS trace on or off, now and for every later start; the
  // listener, when given, sees each trace line as it is written.
  void SetTrace(bool on, std::function<void(std::string_view line)> listener = {});

  CKissCnfDoc& doc() { return doc_; }
  // The running script, or nullptr before StartDoll.
  FkissRuntime* runtime() { return runtime_.get(); }
  // Runs due alarms of the script; see FkissRuntime::ProcessAlarms.
  uint32_t ProcessAlarms();

  // The user switches sets or palette groups.
  void SelectSet(int set);
  void SelectPaletteGroup(int group);

  // What the renderer shows.
  int palette_group() const;
  bool redraw_pending() const { return redraw_pending_; }
  void ClearRedraw() { redraw_pending_ = false; }
  // FKiSS changed the doll window size: the frame should fit it again.
  bool fit_pending() const { return fit_pending_; }
  void ClearFit() { fit_pending_ = false; }
  bool close_requested() const { return close_requested_; }

  // The mouse handling tells the view where the pointer is and what it holds.
  void set_pointer(PlayPoint point) { pointer_ = point; }
  void set_held_object(KissObject* object) { held_ = object; }
  void set_renderer_ready(bool ready) { renderer_ready_ = ready; }

  // Hooks for the window that shows the view; each may be left empty.
  std::function<void()> on_close;            // the script quit
  std::function<void()> on_end_drag;         // end a mouse drag
  std::function<void()> on_release_pointer;  // free and show the pointer

  // ScriptView.
  bool RendererReady() const override { return renderer_ready_; }
  int CurrentSet() const override { return current_set_; }
  void SetCurrentSet(int set) override;
  void ActivatePaletteGroup(int group) override;
  PlayPoint ViewportOrigin() const override { return viewport_; }
  PlayPoint WindowSize() const override { return window_; }
  void SetViewportOrigin(PlayPoint origin) override;
  void SetWindowSize(PlayPoint size) override;
  PlayPoint Pointer() const override { return pointer_; }
  KissObject* HeldObject() const override { return held_; }
  void EndDrag() override;
  void ReleasePointer() override;
  void CelChanged(CelInstance& cel) override;
  void SetTransparency(CelInstance& cel, int value) override;
  void CelPaletteChanged(CelInstance& cel) override;
  void ObjectMoved(KissObject& object, PlayPoint from) override;
  void RedrawAll() override { redraw_pending_ = true; }
  void RequestClose() override;

 private:
  CKissCnfDoc& doc_;
  Settings settings_;
  FkissScript no_script_;  // what runs for a doll shown without its script
  std::unique_ptr<FkissRuntime> runtime_;
  int current_set_ = 0;
  int active_group_ = -1;  // -1: the current set's own group
  PlayPoint viewport_;
  PlayPoint window_;
  PlayPoint pointer_{-1, -1};
  KissObject* held_ = nullptr;
  bool renderer_ready_ = true;
  bool redraw_pending_ = false;
  bool fit_pending_ = true;
  bool close_requested_ = false;
  bool trace_on_ = false;
  std::function<void(std::string_view)> trace_listener_;
};

}  // namespace luma

#endif  // LUMA_CORE_VIEW_KISS_CNF_VIEW_H_
