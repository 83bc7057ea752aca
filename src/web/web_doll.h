#ifndef LUMA_WEB_WEB_DOLL_H_
#define LUMA_WEB_WEB_DOLL_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/image.h"
#include "core/gfx/render_device.h"
#include "core/host/settings.h"
#include "core/view/kiss_cnf_view.h"
#include "core/view/view_front_end.h"
#include "web/web_host.h"

namespace luma::web {

// The doll shown in the page: its document and view on the software device,
// and the page's side of the view. The page feeds it the canvas size,
// pointer and key input and the timer's ticks; it hands back frames as RGBA
// pixels for the canvas and the texts of the status line.
class WebDoll : public ViewFrontEnd {
 public:
  WebDoll(WebHost& host, const Settings& settings);
  ~WebDoll() override;
  WebDoll(const WebDoll&) = delete;
  WebDoll& operator=(const WebDoll&) = delete;

  // Loads the doll at `path` and starts it (its script too); false, with
  // the reason shown through the host, when it cannot be opened.
  bool Open(const std::string& path);
  bool is_open() const { return view_ != nullptr; }
  CKissCnfDoc& doc() { return *doc_; }
  CKissCnfView& view() { return *view_; }

  // The canvas's size in pixels.
  void Resize(int width, int height);
  // Draws a frame when something changed since the last one; true when the
  // frame below is new.
  bool DrawIfNeeded();
  // RGBA bytes, row after row, for the canvas's ImageData.
  const uint8_t* frame_rgba() const { return reinterpret_cast<const uint8_t*>(frame_rgba_.data()); }
  int frame_width() const { return frame_width_; }
  int frame_height() const { return frame_height_; }

  // The script's alarms: on the browser's clock, what is due now (returns
  // the milliseconds until the next one, 0 when none is pending); on a
  // simulated clock, `ms` milliseconds in the desktop's 10 ms steps.
  uint32_t RunDueAlarms();
  void RunAlarmsFor(int ms);

  // The status line: cel information and coordinates as the view last
  // showed them.
  const std::string& cel_info() const { return cel_info_; }
  const std::string& coordinates() const { return coordinates_; }
  PointerCursor pointer() const { return pointer_; }
  bool close_requested() const { return view_ && view_->close_requested(); }

  // ViewFrontEnd.
  void Invalidate() override { invalid_ = true; }
  void SetPointer(PointerCursor cursor) override { pointer_ = cursor; }
  void ShowCoordinates(std::string_view text) override { coordinates_ = text; }
  void ShowCelInfo(std::string_view text) override { cel_info_ = text; }

 private:
  void Present(const ImageView& frame);

  WebHost& host_;
  const Settings& settings_;
  std::unique_ptr<RenderDevice> device_;
  std::unique_ptr<CKissCnfDoc> doc_;
  std::unique_ptr<CKissCnfView> view_;
  int client_width_ = 0;
  int client_height_ = 0;
  bool invalid_ = true;
  std::vector<uint32_t> frame_rgba_;
  int frame_width_ = 0;
  int frame_height_ = 0;
  bool presented_ = false;
  std::string cel_info_;
  std::string coordinates_;
  PointerCursor pointer_ = PointerCursor::kSystem;
};

}  // namespace luma::web

#endif  // LUMA_WEB_WEB_DOLL_H_
