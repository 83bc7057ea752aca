// The FKiSS run-time: how many simple actions a tight script loop runs per
// second, and what one object's collision evaluation costs in the corpus
// doll with the most pairs.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "core/doll/kiss_cnf_doc.h"
#include "core/fkiss/fkiss_runtime.h"
#include "core/gfx/software_device.h"
#include "core/testing/fake_host.h"
#include "core/testing/fkiss_doll.h"
#include "core/testing/test_paths.h"
#include "core/view/kiss_cnf_view.h"

namespace {

constexpr int kRepeats = 100000;
// Per pass of the label: arithmetic and queries, no output.
constexpr int kActionsPerPass = 8;

void BM_TightLoop(benchmark::State& state) {
  luma::testing::ScriptedDoll doll(
      "(100,100)\n#0 a.cel\n#1.3 b.cel\n$0 10,20 30,40\n;@EventHandler\n"
      ";@label(1) add(a, a, i) sub(b, b, 1) mul(c, i, 3) mod(d, i, 7) letobjectx(x, #0) "
      "letfix(f, #1) letset(s) ifgreaterthan(i, 0) let(e, i) endif()\n"
      ";@label(2) repeat(1, 100000, i)\n",
      {}, {{"a.cel", 4, 4, {}}, {"b.cel", 4, 4, {}}});
  struct View : luma::ScriptView {
    bool RendererReady() const override { return true; }
    int CurrentSet() const override { return 0; }
    void SetCurrentSet(int) override {}
    void ActivatePaletteGroup(int) override {}
    luma::PlayPoint ViewportOrigin() const override { return {}; }
    luma::PlayPoint WindowSize() const override { return {100, 100}; }
    void SetViewportOrigin(luma::PlayPoint) override {}
    void SetWindowSize(luma::PlayPoint) override {}
    luma::PlayPoint Pointer() const override { return {}; }
    luma::KissObject* HeldObject() const override { return nullptr; }
    void EndDrag() override {}
    void ReleasePointer() override {}
    void CelChanged(luma::CelInstance&) override {}
    void SetTransparency(luma::CelInstance&, int) override {}
    void CelPaletteChanged(luma::CelInstance&) override {}
    void ObjectMoved(luma::KissObject&, luma::PlayPoint) override {}
    void RedrawAll() override {}
    void RequestClose() override {}
    void ShowNotice(const std::string&) override {}
    void ShowScriptWarning(const std::string&) override {}
    bool AllowShellLink(const std::string&) override { return false; }
  } view;
  luma::FkissRuntime runtime(doll.doll, doll.script, view, doll.host, luma::RuntimeSettings());
  runtime.StartScript();
  luma::FkissEvent* loop = doll.script.FindLabel(2u);
  for (auto _ : state) runtime.RunEvent(loop, true);
  // The if block counts as its three commands, the repeat as one.
  const int64_t actions = int64_t{kRepeats} * (kActionsPerPass + 2) + 1;
  state.SetItemsProcessed(state.iterations() * actions);
  state.counters["actions_per_pass"] = kActionsPerPass + 2;
}
BENCHMARK(BM_TightLoop)->Unit(benchmark::kMillisecond);

// The doll of the corpus whose objects take part in the most pairs, and the
// object with the most.
void BM_EvaluateObject(benchmark::State& state) {
  namespace fs = std::filesystem;
  const fs::path dolls = luma::testing::CorpusDir() / "dolls";
  if (!fs::exists(dolls)) {
    state.SkipWithError("corpus not found");
    return;
  }
  luma::FakeHost host;
  luma::testing::TempDir temp;
  host.set_temp_folder(temp.str());
  luma::SoftwareDevice device;
  const luma::Settings settings;
  std::unique_ptr<luma::CKissCnfDoc> best_doc;
  luma::KissObject* best_object = nullptr;
  size_t best_pairs = 0;
  for (const auto& entry : fs::directory_iterator(dolls)) {
    if (entry.path().extension() != ".lzh") continue;
    auto doc = std::make_unique<luma::CKissCnfDoc>(host, device, settings);
    if (!doc->OpenDoll(entry.path().string()) || !doc->fkiss()) continue;
    luma::KissObject* doll_best = nullptr;
    for (const auto& object : doc->model().objects()) {
      const luma::TargetRecord* record =
          doc->fkiss()->FindRecord(luma::FkissTarget::Of(object.get()));
      const size_t pairs = record ? record->collisions.size() + record->regions.size() : 0;
      if (pairs > best_pairs) {
        best_pairs = pairs;
        doll_best = object.get();
      }
    }
    if (doll_best) {
      if (best_doc) best_doc->Close();
      best_doc = std::move(doc);
      best_object = doll_best;
    } else {
      doc->Close();
    }
  }
  if (!best_object) {
    state.SkipWithError("no doll with pairs");
    return;
  }
  luma::CKissCnfView view(*best_doc, settings);
  view.StartDoll();
  for (auto _ : state) view.runtime()->EvaluateObject(best_object, true, true);
  state.counters["pairs"] = static_cast<double>(best_pairs);
  best_doc->Close();
}
BENCHMARK(BM_EvaluateObject)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
