#include "web/web_doll.h"

#include <algorithm>

#include "core/doll/doll_device.h"

namespace luma::web {
namespace {

// The desktop runs due alarms about every 10 ms; so does a simulated run.
constexpr int kAlarmStepMs = 10;

}  // namespace

WebDoll::WebDoll(WebHost& host, const Settings& settings) : host_(host), settings_(settings) {}

WebDoll::~WebDoll() {
  view_.reset();
  if (doc_) doc_->Close();
}

bool WebDoll::Open(const std::string& path) {
  device_ = CreateRenderDevice(settings_, DeviceSetupOptions(), host_);
  if (!device_) return false;
  doc_ = std::make_unique<CKissCnfDoc>(host_, *device_, settings_);
  if (!doc_->OpenDoll(path)) {
    doc_.reset();
    return false;
  }
  view_ = std::make_unique<CKissCnfView>(*doc_, settings_);
  view_->set_front_end(this);
  view_->SetPresenter([this](const ImageView& frame) { Present(frame); });
  view_->Resize(client_width_, client_height_);
  view_->set_renderer_ready(true);
  view_->StartDoll();
  doc_->set_loading(false);
  return true;
}

void WebDoll::Resize(int width, int height) {
  client_width_ = std::max(0, width);
  client_height_ = std::max(0, height);
  if (view_) view_->Resize(client_width_, client_height_);
  invalid_ = true;
}

bool WebDoll::DrawIfNeeded() {
  if (!view_ || (!invalid_ && !view_->redraw_pending())) return false;
  invalid_ = false;
  presented_ = false;
  view_->DrawFrame();
  return presented_;
}

void WebDoll::Present(const ImageView& frame) {
  // The swap chain is of even size; an odd canvas shows its top-left part.
  frame_width_ = std::min(frame.width, client_width_);
  frame_height_ = std::min(frame.height, client_height_);
  frame_rgba_.resize(static_cast<size_t>(frame_width_) * frame_height_);
  // One word per pixel: the canvas wants R, G, B, A in memory order, which
  // on WebAssembly (little-endian) is 0xAABBGGRR.
  uint32_t* out = frame_rgba_.data();
  for (int y = 0; y < frame_height_; ++y) {
    const uint32_t* row = frame.pixels + static_cast<size_t>(y) * frame.stride;
    for (int x = 0; x < frame_width_; ++x) {
      const uint32_t argb = row[x];
      *out++ = 0xFF000000u | ((argb >> 16) & 0xFFu) | (argb & 0xFF00u) | ((argb & 0xFFu) << 16);
    }
  }
  presented_ = true;
}

uint32_t WebDoll::RunDueAlarms() { return view_ ? view_->ProcessAlarms() : 0; }

void WebDoll::RunAlarmsFor(int ms) {
  for (int t = 0; view_ && t < ms && !view_->close_requested(); t += kAlarmStepMs) {
    host_.Advance(static_cast<uint32_t>(std::min(kAlarmStepMs, ms - t)));
    view_->ProcessAlarms();
  }
}

}  // namespace luma::web
