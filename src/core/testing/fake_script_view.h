#ifndef LUMA_CORE_TESTING_FAKE_SCRIPT_VIEW_H_
#define LUMA_CORE_TESTING_FAKE_SCRIPT_VIEW_H_

#include <string>
#include <vector>

#include "core/fkiss/script_view.h"
#include "core/model/cel_instance.h"

namespace luma::testing {

// A doll window for run-time tests: keeps what the script sets and counts
// what it asks for.
class FakeScriptView : public ScriptView {
 public:
  bool RendererReady() const override { return true; }
  int CurrentSet() const override { return set; }
  void SetCurrentSet(int s) override { set = s; }
  void ActivatePaletteGroup(int group) override { palette_groups.push_back(group); }
  PlayPoint ViewportOrigin() const override { return origin; }
  PlayPoint WindowSize() const override { return size; }
  void SetViewportOrigin(PlayPoint o) override { origin = o; }
  void SetWindowSize(PlayPoint s) override { size = s; }
  PlayPoint Pointer() const override { return pointer; }
  KissObject* HeldObject() const override { return held; }
  void EndDrag() override { ++drags_ended; }
  void ReleasePointer() override {}
  void CelChanged(CelInstance&) override { ++cel_changes; }
  void SetTransparency(CelInstance& cel, int value) override {
    cel.transparency = static_cast<uint16_t>(value);
    ++transparency_changes;
  }
  void CelPaletteChanged(CelInstance&) override { ++palette_changes; }
  void ObjectMoved(KissObject&, PlayPoint) override { ++moves; }
  void RedrawAll() override { ++redraws; }
  void RequestClose() override { ++close_requests; }
  void ShowNotice(const std::string& text) override { notices.push_back(text); }
  void ShowScriptWarning(const std::string& text) override { warnings.push_back(text); }
  bool AllowShellLink(const std::string& link) override {
    shell_questions.push_back(link);
    return allow_shell_link;
  }

  int set = 0;
  PlayPoint origin{0, 0};
  PlayPoint size{100, 100};
  PlayPoint pointer{-1, -1};
  KissObject* held = nullptr;
  std::vector<int> palette_groups;
  int drags_ended = 0, cel_changes = 0, transparency_changes = 0, palette_changes = 0, moves = 0,
      redraws = 0;
  int close_requests = 0;
  std::vector<std::string> notices, warnings, shell_questions;
  bool allow_shell_link = false;
};

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_FAKE_SCRIPT_VIEW_H_
