#ifndef LUMA_CORE_VIEW_VIEW_FRONT_END_H_
#define LUMA_CORE_VIEW_VIEW_FRONT_END_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "core/model/hint_settings.h"

namespace luma {

struct CelInstance;

// A point in the view's client area, in pixels from its top-left corner.
struct ClientPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ClientPoint&, const ClientPoint&) = default;
};

// The pointer the window should show. kSystem leaves it to the desktop
// ("Mouse Type" Normal); kDot is the view's dot for every state ("Mouse
// Type" Dot); the others are the custom pointers of the four states.
enum class PointerCursor { kSystem, kNormal, kStuck, kDragging, kOverObject, kDot };

// What the view asks of the window that shows it. The view never talks to a
// toolkit: it calls these, and the window carries them out. Every request
// has a default that ignores it, so a front end takes only what it shows.
class ViewFrontEnd {
 public:
  virtual ~ViewFrontEnd() = default;

  // Something changed on screen: draw a frame (CKissCnfView::DrawFrame)
  // when the window next paints.
  virtual void Invalidate() {}
  // The scrolled content is `width` x `height` pixels (the doll window at
  // the zoom level); the bars appear where it exceeds the client.
  virtual void SetScrollSize(int /*width*/, int /*height*/) {}
  // The view moved its own scroll positions (wheel, auto-scroll).
  virtual void SetScrollPosition(int /*x*/, int /*y*/) {}
  // Resize the window so its client is exactly `width` x `height`,
  // restoring it first when it is maximised, and maximising it afterwards
  // with `maximize` (the first showing of a doll).
  virtual void FitWindow(int /*width*/, int /*height*/, bool /*maximize*/) {}

  virtual void SetPointer(PointerCursor /*cursor*/) {}
  // Keep the pointer where it is until FreePointer ("Stuck Mouse").
  virtual void ConfinePointer() {}
  virtual void FreePointer() {}
  // Hide the pointer while an object is dragged ("Mouse Hide"), or show it.
  virtual void ShowPointer(bool /*shown*/) {}

  // The coordinates pane ("%5d, %5d") and the message pane's cel
  // information (empty: clear it).
  virtual void ShowCoordinates(std::string_view /*text*/) {}
  virtual void ShowCelInfo(std::string_view /*text*/) {}
  // The cel whose information was just shown (nullptr: none), for a
  // properties window that follows it.
  virtual void CelInfoShown(const CelInstance* /*cel*/) {}
  // The doll's bounding mode changed (the bounding drop-down follows).
  virtual void BoundsModeChanged(BoundsMode /*mode*/) {}

  // A save dialog; returns the chosen path, or empty when cancelled.
  virtual std::string AskSavePath(std::string_view /*title*/, std::string_view /*proposed*/,
                                  std::string_view /*extension*/, std::string_view /*filter*/) {
    return {};
  }
  // Opens a file the doll calls `name` (text, for titles): in the desktop's
  // text editor, or with the program the desktop associates with it. False
  // when that failed.
  virtual bool OpenFile(const std::string& /*path*/, std::string_view /*name*/,
                        bool /*text_editor*/) {
    return false;
  }

  // A passing note for the status bar's message pane.
  virtual void ShowStatus(std::string_view /*text*/) {}

  // Call CKissCnfView::AdvanceFlash in `ms` milliseconds and keep painting
  // meanwhile (the frames of a flash must reach the screen). False when the
  // front end cannot wait: the view then pauses where it is.
  virtual bool CallBackAfter(uint32_t /*ms*/) { return false; }

  // The doll's script asked to quit: close the doll's window.
  virtual void CloseDoll() {}
};

}  // namespace luma

#endif  // LUMA_CORE_VIEW_VIEW_FRONT_END_H_
