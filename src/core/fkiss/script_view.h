#ifndef LUMA_CORE_FKISS_SCRIPT_VIEW_H_
#define LUMA_CORE_FKISS_SCRIPT_VIEW_H_

#include <string>

namespace luma {

struct CelInstance;
struct KissObject;

// A point or size in playfield units.
struct PlayPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PlayPoint&, const PlayPoint&) = default;
};

// What a running script needs of the window that shows its doll. The view
// implements it; the run-time never draws or talks to the user by itself.
class ScriptView {
 public:
  virtual ~ScriptView() = default;

  // False while the view cannot draw (no device yet); no event runs then.
  virtual bool RendererReady() const = 0;

  // The set on show, 0-9.
  virtual int CurrentSet() const = 0;
  virtual void SetCurrentSet(int set) = 0;
  // Makes the renderer show the colours of a palette group.
  virtual void ActivatePaletteGroup(int group) = 0;

  // The part of the playfield the doll window shows: origin and size.
  virtual PlayPoint ViewportOrigin() const = 0;
  virtual PlayPoint WindowSize() const = 0;
  virtual void SetViewportOrigin(PlayPoint origin) = 0;
  // Also marks the view to fit its frame to the new size.
  virtual void SetWindowSize(PlayPoint size) = 0;

  // The pointer in playfield coordinates.
  virtual PlayPoint Pointer() const = 0;
  // The object the user holds with the mouse, or nullptr.
  virtual KissObject* HeldObject() const = 0;
  // Ends a mouse drag as a release outside any object would.
  virtual void EndDrag() = 0;
  // Frees a confined pointer and shows a hidden one, before a message box.
  virtual void ReleasePointer() = 0;

  // A cel's mapping, ghost flag or frame changed: redraw it where it shows
  // and refresh a selection display that shows it.
  virtual void CelChanged(CelInstance& cel) = 0;
  // Gives a cel a new transparency (0-255, differing from the present one);
  // the renderer stores it with the cel's vertices.
  virtual void SetTransparency(CelInstance& cel, int value) = 0;
  // A cel now uses another palette file: the renderer applies its colours.
  virtual void CelPaletteChanged(CelInstance& cel) = 0;
  // An object moved in the current set from `from`.
  virtual void ObjectMoved(KissObject& object, PlayPoint from) = 0;
  // The whole view needs drawing.
  virtual void RedrawAll() = 0;

  // The script asked to quit: close the doll once the script has stopped.
  virtual void RequestClose() = 0;

  // What the script says to the user. Texts come in the doll's own bytes;
  // the view decodes them for showing.
  // A notify text, shown until the user dismisses it.
  virtual void ShowNotice(const std::string& text) = 0;
  // A fault of the script the user should hear about (its stack ran too deep).
  virtual void ShowScriptWarning(const std::string& text) = 0;
  // Whether the user lets the script open this web or mail link.
  virtual bool AllowShellLink(const std::string& link) = 0;
};

}  // namespace luma

#endif  // LUMA_CORE_FKISS_SCRIPT_VIEW_H_
