#include "core/testing/played_doll.h"

#include <algorithm>

#include "core/doll/doll_device.h"
#include "core/render/view_transform.h"
#include "core/testing/doll_loader.h"
#include "core/testing/image_files.h"

namespace luma::testing {

// Fitting the window to the doll makes the client exactly the asked size.
class PlayedDoll::FittingFrontEnd : public ViewFrontEnd {
 public:
  explicit FittingFrontEnd(CKissCnfView& view) : view_(view) {}
  void FitWindow(int width, int height, bool) override { view_.Resize(width, height); }

 private:
  CKissCnfView& view_;
};

PlayedDoll::PlayedDoll() { host_.set_now(0); }

PlayedDoll::~PlayedDoll() { Close(); }

void PlayedDoll::Close() {
  front_end_.reset();
  view_.reset();
  if (doc_) doc_->Close();
  doc_.reset();
  device_.reset();
}

std::string PlayedDoll::Write(const std::string& cnf_body,
                              const std::map<std::string, std::vector<uint8_t>>& cels) {
  std::vector<uint32_t> colors(16, 0xFF0000);
  colors[0] = 0;
  colors[2] = 0x00FF00;
  std::map<std::string, std::vector<uint8_t>> files = cels;
  files.try_emplace("p.kcf", MakeKcf({colors}));
  return WriteTestDoll(dir_.path(), "%p.kcf\n" + cnf_body, files);
}

std::vector<uint8_t> PlayedDoll::Block(int w, int h, int x_offset, int y_offset) {
  return MakeCel(4, w, h, std::vector<uint32_t>(w * h, 1), x_offset, y_offset);
}

bool PlayedDoll::Open(const std::string& path) {
  Close();
  trace_.clear();
  button_down_ = false;
  device_ = CreateRenderDevice(settings_, DeviceSetupOptions(), host_);
  if (!device_) return false;
  doc_ = std::make_unique<CKissCnfDoc>(host_, *device_, settings_);
  if (!doc_->OpenDoll(path)) return false;
  view_ = std::make_unique<CKissCnfView>(*doc_, settings_);
  front_end_ = std::make_unique<FittingFrontEnd>(*view_);
  if (tracing_) {
    view_->SetTrace(true, [this](std::string_view line) { trace_.emplace_back(line); });
  }
  const PlayfieldSize& playfield = doc_->model().playfield;
  view_->set_front_end(front_end_.get());
  view_->Resize(RoundUpToEven(playfield.width), RoundUpToEven(playfield.height));
  view_->StartDoll();
  return true;
}

void PlayedDoll::Press(int x, int y) {
  view_->MouseMove(PlayPoint{x, y}, false);
  view_->LeftButtonDown(PlayPoint{x, y});
  button_down_ = true;
}

void PlayedDoll::Move(int x, int y) { view_->MouseMove(PlayPoint{x, y}, button_down_); }

void PlayedDoll::Release() {
  view_->LeftButtonUp(view_->Pointer());
  button_down_ = false;
}

void PlayedDoll::RightClick(int x, int y) { view_->RightButtonDown(PlayPoint{x, y}); }

void PlayedDoll::Wait(int ms) {
  constexpr int kAlarmStepMs = 10;
  for (int t = 0; t < ms && !view_->close_requested(); t += kAlarmStepMs) {
    host_.Advance(std::min(kAlarmStepMs, ms - t));
    view_->ProcessAlarms();
  }
}

void PlayedDoll::Reset() {
  host_.set_default_answer(Answer::kYes);
  view_->ResetDoll();
  host_.set_default_answer(Answer::kNo);
}

// As the doll window does it: the document loads again, the view starts the
// doll afresh, then loading is over.
bool PlayedDoll::Reload() {
  const bool ok = doc_->ReloadCnf();
  if (ok || doc_->loading()) {
    view_->StartDoll();
    doc_->set_loading(false);
  }
  return ok;
}

std::string PlayedDoll::Positions() const {
  const int set = view_->CurrentSet();
  std::vector<const KissObject*> objects;
  for (const auto& object : doc_->model().objects()) {
    if (std::any_of(object->cels.begin(), object->cels.end(),
                    [set](const CelInstance* c) { return c->in_set[set]; })) {
      objects.push_back(object.get());
    }
  }
  std::sort(objects.begin(), objects.end(),
            [](const KissObject* a, const KissObject* b) { return a->number < b->number; });
  std::string text;
  for (const KissObject* o : objects) {
    text += "#" + std::to_string(o->number) + " " + std::to_string(o->position[set].x) + "," +
            std::to_string(o->position[set].y) + "\n";
  }
  return text;
}

std::string PlayedDoll::Fix(int number) const {
  const KissObject* object = doc_->model().FindObject(number, false);
  if (!object) return "no object #" + std::to_string(number) + "\n";
  return "#" + std::to_string(number) + " fix " + std::to_string(object->fix) + "\n";
}

std::string PlayedDoll::Var(const std::string& name) const {
  FkissScript* script = doc_->fkiss();
  const int id = script ? script->FindVariable(name) : -1;
  return name + " = " + std::to_string(id >= 0 ? script->GetVariable(id) : 0) + "\n";
}

std::string PlayedDoll::Status() const { return doc_->Shown(view_->cel_info()) + "\n"; }

std::string PlayedDoll::Mapped() const {
  const int set = view_->CurrentSet();
  std::string text;
  for (const auto& cel : doc_->model().instances()) {
    if (cel->mapped && cel->in_set[set] && cel->cel) {
      text += doc_->Shown(cel->cel->file_name) + "\n";
    }
  }
  return text;
}

}  // namespace luma::testing
