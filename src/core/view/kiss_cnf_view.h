#ifndef LUMA_CORE_VIEW_KISS_CNF_VIEW_H_
#define LUMA_CORE_VIEW_KISS_CNF_VIEW_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"
#include "core/fkiss/fkiss_runtime.h"
#include "core/fkiss/script_view.h"
#include "core/host/settings.h"
#include "core/render/renderer.h"
#include "core/render/view_transform.h"
#include "core/view/context_menu.h"
#include "core/view/move_history.h"
#include "core/view/pick_cel.h"
#include "core/view/scroll_bar.h"
#include "core/view/view_front_end.h"

namespace luma {

// A rectangle of client pixels, right and bottom exclusive.
struct ClientRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// One wheel message: the angle deltas of the vertical and the horizontal
// wheel (120 a notch; touchpads and fine wheels send smaller steps), and
// the keys held.
struct WheelInput {
  int delta_y = 0;  // positive: away from the user
  int delta_x = 0;  // positive: to the left
  bool ctrl = false;
  bool shift = false;
};

// What the object/cel properties window hands back for one cel line.
struct CelProperties {
  bool in_current_set = true;
  bool mapped = true;
  bool ghost = false;
  int transparency = 0;
};

// The view of one open doll: what is shown (set, palette group, the doll
// window inside the playfield, zoom and scrolling), the mouse and what it
// holds, the doll's running script, and the commands that act on the shown
// doll. It knows no toolkit: a window feeds it sizes, scroll positions,
// pointer, wheel and key input, and carries out its requests (ViewFrontEnd);
// it draws frames through a swap chain on the document's device.
class CKissCnfView : public ScriptView {
 public:
  CKissCnfView(CKissCnfDoc& doc, const Settings& settings);
  ~CKissCnfView() override;
  CKissCnfView(const CKissCnfView&) = delete;
  CKissCnfView& operator=(const CKissCnfView&) = delete;

  // The window's side of the view (not owned); nullptr: nobody listens.
  void set_front_end(ViewFrontEnd* front_end) { front_end_ = front_end; }

  // --- Starting ---------------------------------------------------------------
  // Shows the loaded doll from its start (after loading, after an expansion
  // or another CNF, and on reset): may offer a more forgiving bounding mode
  // when objects start outside the playfield, shows the first set in use,
  // starts the script (unless `run_script` is off or the doll has none),
  // fits the window to the doll when marked to, and draws.
  void StartDoll(bool run_script = true);
  // While a doll starts no frame is drawn.
  bool suspended() const { return suspended_; }

  // Turns the FKiSS trace on or off, now and for every later start; the
  // listener, when given, sees each trace line as it is written.
  void SetTrace(bool on, std::function<void(std::string_view line)> listener = {});
  bool trace_on() const { return trace_on_; }
  // Trace only the event lines; with `step_mode` alarms wait for StepAlarm
  // instead of the clock. Both hold for every later start too.
  void SetTraceOptions(bool events_only, bool step_mode);
  // Runs the next waiting alarm by hand (step mode).
  void StepAlarm();
  // Step mode is on, an alarm waits and the script is not paused.
  bool CanStepAlarm() const;
  // Sees each line the script's debug action writes, now and after every
  // later start.
  void SetDebugListener(std::function<void(std::string_view line)> listener);

  CKissCnfDoc& doc() { return doc_; }
  const Settings& settings() const { return settings_; }
  // The user changed the settings: the document takes them (see
  // CKissCnfDoc::ApplySettings), the mouse, wheel, pointer style and border
  // follow at once, and so do the running script's alarm budget, nesting
  // limit, sound, music and shell permission.
  void ApplySettings(const Settings& settings);
  // The running script, or nullptr before StartDoll.
  FkissRuntime* runtime() { return runtime_.get(); }
  // Runs due alarms of the script; see FkissRuntime::ProcessAlarms.
  uint32_t ProcessAlarms();
  // The most actions one script dispatch, and one alarm pass in all, may run
  // (kMaxDispatchActions and kMaxAlarmPassActions unless set); drivers that
  // play many untrusted dolls in a row, such as the fuzz targets, set it
  // lower. Holds from the next start.
  void set_max_dispatch_actions(int actions) { max_dispatch_actions_ = actions; }

  // --- Window, zoom and scrolling ---------------------------------------------
  // Frames go to the window through a swap chain of the client size that
  // hands each finished frame to `present`.
  void SetPresenter(PresentFunction present);
  // The client area's size in pixels: a new swap chain, and the zoom again.
  void Resize(int client_width, int client_height);
  int client_width() const { return client_width_; }
  int client_height() const { return client_height_; }

  // Levels -6 (ten times larger) to 6 (a tenth); 0 shows one doll unit per pixel.
  void SetZoom(int level);
  int zoom_level() const { return zoom_level_; }
  float zoom_scale() const { return ZoomScale(zoom_level_); }
  void ZoomIn() { ChangeZoom(zoom_level_ - 1); }
  void ZoomOut() { ChangeZoom(zoom_level_ + 1); }
  void ZoomHome() { ChangeZoom(0); }
  bool CanZoomIn() const { return zoom_level_ >= kMinZoomLevel + 1; }
  bool CanZoomOut() const { return zoom_level_ < kMaxZoomLevel; }
  bool CanZoomHome() const { return zoom_level_ != 0; }
  // "Fit Window to playfield": the window's client becomes the scroll size.
  void FitWindow();
  // "Zoom to Fit Window": the most magnified level at which the whole doll
  // window, with its edge, fits the client; or fits an area of the given
  // size (the client as it will be once its scroll bars are gone).
  void ZoomToFit() { ZoomToFit(client_width_, client_height_); }
  void ZoomToFit(int area_width, int area_height);

  // The scroll bars: the content is the doll window at the zoom level.
  const ScrollBar& horizontal_bar() const { return bars_[0]; }
  const ScrollBar& vertical_bar() const { return bars_[1]; }
  // A scroll bar was used (the window's own bars may also report their
  // positions with SetScrollPositions).
  void Scroll(bool vertical, ScrollAction action, int thumb = 0);
  void SetScrollPositions(int x, int y);
  // A mouse wheel message. The vertical wheel zooms or scrolls by "Scroll
  // Type" and Ctrl; with Shift, and the horizontal wheel, it scrolls
  // sideways. Deltas add up: each 120 is one zoom step, and scrolling
  // follows every part of a notch, so fine wheels and touchpads lose none.
  void Wheel(const WheelInput& input);
  void Wheel(int delta, bool ctrl) { Wheel(WheelInput{delta, 0, ctrl, false}); }

  const ViewTransform& transform() const { return transform_; }
  // Client pixels to doll units and back.
  PlayPoint ScreenToDoll(ClientPoint point) const;
  ClientPoint DollToScreen(PlayPoint point) const;
  ClientRect DollToScreen(int left, int top, int right, int bottom) const;

  // --- Sets and palettes ------------------------------------------------------
  void SelectSet(int set);             // raises the script's set events
  void SelectPaletteGroup(int group);  // the current set's group
  void PreviousSet() { StepSet(-1); }
  void NextSet() { StepSet(1); }
  void PreviousPalette() { StepPalette(-1); }
  void NextPalette() { StepPalette(1); }
  // Set n is offered when the doll uses it; palette n when the doll has it.
  bool SetEnabled(int set) const;
  bool SetChecked(int set) const { return set == current_set_; }
  bool PaletteEnabled(int group) const;
  bool PaletteChecked(int group) const { return group == palette_group(); }
  // What the renderer shows.
  int palette_group() const;

  // --- Drawing ----------------------------------------------------------------
  // The scene as the window shows it.
  Scene CurrentScene() const;
  // Draws and presents a frame: nothing while suspended, while the document
  // is loading or without a presenter; the highlighted frame while a flash
  // shows one.
  DeviceResult DrawFrame();
  // The next frame of a flash, when the front end's wait is over.
  void AdvanceFlash();
  bool flashing() const { return flash_.step >= 0; }
  // The same frame into another target of the client's size, not presented.
  DeviceResult RenderTo(Surface& target);
  bool redraw_pending() const { return redraw_pending_; }
  void ClearRedraw() { redraw_pending_ = false; }
  // FKiSS changed the doll window size: the next start fits the window again.
  bool fit_pending() const { return fit_pending_; }
  void ClearFit() { fit_pending_ = false; }
  bool close_requested() const { return close_requested_; }

  // --- Mouse and keys ---------------------------------------------------------
  // Input in client pixels, as a window delivers it. A double click counts
  // as a press, its second release as a release.
  void LeftButtonDown(ClientPoint point);
  void LeftButtonUp(ClientPoint point);
  void MouseMove(ClientPoint point, bool left_held);
  void RightButtonDown(ClientPoint point);
  // The same in doll units, for drivers without a window.
  void LeftButtonDown(PlayPoint point);
  void LeftButtonUp(PlayPoint point);
  void MouseMove(PlayPoint point, bool left_held);
  void RightButtonDown(PlayPoint point);
  // The window lost activation: the pointer is freed and a press released.
  void Deactivate();
  // Script keys (see key_codes.h); auto-repeated key downs are ignored.
  void KeyDown(int key_code, bool auto_repeat);
  void KeyUp(int key_code);

  // The top-most cel under a doll point in the current set (see PickCel).
  CelInstance* PickCel(PlayPoint point, PickPurpose purpose) const;
  // A bounded move by the user in the current set: the doll's bounding mode
  // for drags, attached children along, collision events after it.
  void MoveObject(KissObject* object, int x, int y);

  bool pressed() const { return drag_.pressed; }
  bool dragging() const { return drag_.dragging; }
  // The cel and object clicked last (either button), for the context menu
  // and the object/cel information.
  CelInstance* last_clicked() const { return last_clicked_; }
  // The status texts: coordinates ("%5d, %5d") and the cel information line.
  const std::string& coordinates_text() const { return coordinates_; }
  const std::string& cel_info() const { return cel_info_; }
  // With the object/cel window locked, right clicks leave the info alone.
  void set_info_locked(bool locked) { info_locked_ = locked; }
  PointerCursor pointer_cursor() const { return cursor_; }
  bool pointer_hidden() const { return pointer_hidden_; }
  bool pointer_confined() const { return pointer_confined_; }

  // --- Bounding mode ------------------------------------------------------------
  // The doll's bounding mode in force.
  BoundsMode bounds_mode() const { return doc_.model().hints.bounds; }
  // A doll from an archive that chose its own bounding mode keeps it: the
  // user cannot change it.
  bool BoundsLocked() const;
  // The user's choice of mode; false, changing nothing, while locked.
  bool SetBoundsMode(BoundsMode mode);
  // Steps to the next mode, from None back to All; false while locked.
  bool CycleBoundsMode();

  // --- Commands on positions --------------------------------------------------
  // Moves every object of the set that pokes out of the playfield to the
  // nearest place inside it. Returns how many moved.
  int PatrolBounds();
  // Flashes the objects of the set that lie outside the playfield; returns
  // how many.
  int FindBorderViolators();
  // The context menu for the last clicked object (empty when none).
  std::vector<ContextMenuEntry> ContextMenu() const;
  // Carries out the entries the view owns; false for those the window
  // handles (snap-to parent, properties) or when nothing was clicked.
  bool RunContextCommand(ContextCommand command);
  void Unfix();
  void Refix();
  void ResetPosition();
  void CopyPosition();
  // Returns the number of (object, set) copies made.
  int CopyAllPositions();
  void ResetAllPositions();
  // Asks "Do you wish to reset?"; on Yes the doll starts again from its CNF
  // state. Returns whether it did.
  bool ResetDoll();
  // Saves the last clicked cel as a BMP file the user chooses.
  bool ExportCelToBitmap();

  // --- Undo and redo of the user's drags ------------------------------------------
  // Each drag is one step. Undo puts the dragged object and what moved with
  // it back where they stood before it (showing the set it happened in),
  // Redo where they stood after it; collision and mouse-region events
  // follow as for any move. Fix values and links stay as they are now.
  // Script moves are not steps; a new start of the doll forgets them all.
  bool CanUndo() const { return runtime_ && !drag_.pressed && history_.can_undo(); }
  bool CanRedo() const { return runtime_ && !drag_.pressed && history_.can_redo(); }
  bool Undo();
  bool Redo();
  const MoveHistory& move_history() const { return history_; }

  // --- Documentation, pause, locating -------------------------------------------
  // The names of the doll's documentation files as text, for the
  // Documentation menu.
  std::vector<std::string> DocumentationEntries() const;
  // Opens the CNF in the text editor, or documentation file `index`.
  bool OpenCnf();
  bool OpenDocumentation(int index);
  void TogglePause();
  bool paused() const { return runtime_ && runtime_->paused(); }
  // Shows the object's (cel's) information and flashes it; tells the user
  // when it has nothing in the current set.
  bool LocateObject(int number);
  bool LocateCel(CelInstance* cel);
  // Flashes the cels that carry script events (with "Ignore Snap", not
  // those whose only events are snap-to effects); returns how many.
  int FindFkiss();
  // Applies what the properties window shows for `cel`.
  void ApplyCelProperties(CelInstance& cel, const CelProperties& properties);

  // --- ScriptView ---------------------------------------------------------------
  bool RendererReady() const override { return renderer_ready_; }
  int CurrentSet() const override { return current_set_; }
  void SetCurrentSet(int set) override;
  void ActivatePaletteGroup(int group) override;
  PlayPoint ViewportOrigin() const override { return viewport_; }
  PlayPoint WindowSize() const override { return window_; }
  void SetViewportOrigin(PlayPoint origin) override;
  void SetWindowSize(PlayPoint size) override;
  PlayPoint Pointer() const override { return pointer_; }
  KissObject* HeldObject() const override { return drag_.pressed ? drag_.object : nullptr; }
  void EndDrag() override;
  void ReleasePointer() override;
  void CelChanged(CelInstance& cel) override;
  void SetTransparency(CelInstance& cel, int value) override;
  void CelPaletteChanged(CelInstance& cel) override;
  void ObjectMoved(KissObject& object, PlayPoint from) override;
  void RedrawAll() override { Redraw(); }
  void RequestClose() override;
  void ShowNotice(const std::string& text) override;
  void ShowScriptWarning(const std::string& text) override;
  bool AllowShellLink(const std::string& link) override;
  void set_renderer_ready(bool ready) { renderer_ready_ = ready; }

 private:
  // Both views of a pointer position.
  struct PointerAt {
    PlayPoint doll;
    ClientPoint client;
  };
  // The press in progress.
  struct DragState {
    bool pressed = false;
    bool dragging = false;  // the object came loose and follows the pointer
    bool dragged = false;   // it moved while dragging
    int set = 0;            // where the press happened
    CelInstance* cel = nullptr;
    KissObject* object = nullptr;  // the clicked cel's object: its fix counts
    KissObject* mover = nullptr;   // what moves: the object, or the parent it is glued to
    PlayPoint click;
    PlayPoint grab;  // click point minus the mover's position
    // The mover and its attached children where they stood at the press.
    std::vector<std::pair<KissObject*, Position>> family;
  };
  enum PointerShape { kShapeNormal, kShapeStuck, kShapeDragging, kShapeOverObject };

  void Redraw();
  void ChangeZoom(int level);
  void UpdateTransform();
  void StepSet(int step);
  void StepPalette(int step);
  void OfferBoundsOverride();
  DollWindow doll_window() const { return DollWindow{viewport_, window_}; }
  uint32_t fix_threshold() const;

  PointerAt FromClient(ClientPoint point) const;
  PointerAt FromDoll(PlayPoint point) const;
  void PressLeft(const PointerAt& at);
  void ReleaseLeft();
  void Move(const PointerAt& at, bool left_held);
  void PressRight(const PointerAt& at);
  void DragTo(const PointerAt& at);
  void AutoScroll(ClientPoint client);
  void StartDragging();
  void CollideAfterDrag(const DragState& drag);
  void RecordDrag(const DragState& drag);
  void PlaceStep(const MoveStep& step, bool before);
  void WheelZoom(int delta);
  void WheelScroll(int axis, int delta);
  void FreeThePointer();
  void SetPointerShape(PointerShape shape);
  RuntimeSettings ScriptSettings() const;
  void ShowCoordinates(PlayPoint p);
  void ShowCelInfo(const CelInstance* cel);
  KissObject* GlueRoot(KissObject* object) const;
  std::vector<KissObject*> Family(KissObject* object) const;

  // Highlights and flashes: highlighted, normal, highlighted and normal
  // frames, `pause_ms` apart.
  bool DrawHighlightFrame(const std::vector<const CelInstance*>& cels);
  void Flash(const std::vector<const CelInstance*>& cels, uint32_t pause_ms);
  struct FlashState {
    std::vector<const CelInstance*> cels;
    uint32_t pause_ms = 0;
    int step = -1;  // 0 and 2 highlighted, 1 normal and waiting, -1 none
  };
  FlashState flash_;
  std::vector<const CelInstance*> CelsInSet(const KissObject& object) const;

  CKissCnfDoc& doc_;
  Settings settings_;
  ViewFrontEnd* front_end_ = nullptr;
  ViewFrontEnd no_front_end_;
  ViewFrontEnd& front() { return front_end_ ? *front_end_ : no_front_end_; }

  FkissScript no_script_;  // what runs for a doll shown without its script
  std::unique_ptr<FkissRuntime> runtime_;
  bool run_script_ = true;
  int max_dispatch_actions_ = kMaxDispatchActions;

  // What is shown.
  int current_set_ = 0;
  int active_group_ = -1;  // -1: the current set's own group
  PlayPoint viewport_;
  PlayPoint window_;
  bool suspended_ = false;
  bool renderer_ready_ = true;
  bool redraw_pending_ = false;
  bool fit_pending_ = true;
  bool close_requested_ = false;
  bool trace_on_ = false;
  bool trace_events_only_ = false;
  bool trace_step_mode_ = false;
  std::function<void(std::string_view)> trace_listener_;
  std::function<void(std::string_view)> debug_listener_;

  // Window, zoom, scrolling and drawing.
  int client_width_ = 0;
  int client_height_ = 0;
  int zoom_level_ = 0;
  ScrollBar bars_[2];
  // Wheel deltas not yet used: towards a zoom step, and per scroll axis.
  int wheel_zoom_rest_ = 0;
  int wheel_scroll_rest_[2] = {0, 0};
  ViewTransform transform_;
  PresentFunction present_;
  std::unique_ptr<SwapChain> chain_;
  FrameRenderer renderer_;

  // Mouse.
  DragState drag_;
  MoveHistory history_;
  PlayPoint pointer_{-1, -1};
  PlayPoint last_point_;
  CelInstance* last_clicked_ = nullptr;
  bool captured_ = false;
  bool pointer_hidden_ = false;
  bool pointer_confined_ = false;
  PointerShape shape_ = kShapeNormal;
  PointerCursor cursor_ = PointerCursor::kSystem;
  bool info_locked_ = false;
  std::string coordinates_;
  std::string cel_info_;
};

}  // namespace luma

#endif  // LUMA_CORE_VIEW_KISS_CNF_VIEW_H_
