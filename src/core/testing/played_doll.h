#ifndef LUMA_CORE_TESTING_PLAYED_DOLL_H_
#define LUMA_CORE_TESTING_PLAYED_DOLL_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/render_device.h"
#include "core/host/settings.h"
#include "core/testing/fake_host.h"
#include "core/testing/test_paths.h"
#include "core/view/kiss_cnf_view.h"

namespace luma::testing {

// A doll in a view, driven as a user drives it in a doll window: the device
// made from the settings as the programs make it, the view as large as the
// playfield, the doll started, and the clock standing still until Wait().
// Questions are answered No, except the one Reset() asks.
class PlayedDoll {
 public:
  PlayedDoll();
  ~PlayedDoll();
  PlayedDoll(const PlayedDoll&) = delete;
  PlayedDoll& operator=(const PlayedDoll&) = delete;

  // Writes doll.cnf ("%p.kcf\n" then `cnf_body`) with `cels` beside it; p.kcf
  // has colour 0 black, 2 green and every other colour red unless `cels`
  // brings its own. Returns the CNF's path.
  std::string Write(const std::string& cnf_body,
                    const std::map<std::string, std::vector<uint8_t>>& cels);
  // A w x h cel of colour 1 at the given offset.
  static std::vector<uint8_t> Block(int w, int h, int x_offset = 0, int y_offset = 0);

  // Opens `path` with settings() as they stand and starts the doll; false
  // when it does not load.
  bool Open(const std::string& path);

  void Press(int x, int y);
  void Move(int x, int y);  // drags while the button is down
  void Release();           // where the pointer is
  void RightClick(int x, int y);
  void Wait(int ms);  // runs due alarms in 10 ms steps
  void Reset();
  bool Reload();

  // What a user reads: "#N X,Y" lines for the objects of the current set by
  // number, "#N fix F", "NAME = V", the status bar's cel line, and the file
  // names of the cels shown, one a line each.
  std::string Positions() const;
  std::string Fix(int number) const;
  std::string Var(const std::string& name) const;
  std::string Status() const;
  std::string Mapped() const;
  // With tracing set before Open(), the FKiSS trace lines since then.
  void set_tracing(bool on) { tracing_ = on; }
  const std::vector<std::string>& trace() const { return trace_; }

  Settings& settings() { return settings_; }
  FakeHost& host() { return host_; }
  RenderDevice& device() { return *device_; }
  CKissCnfDoc& doc() { return *doc_; }
  CKissCnfView& view() { return *view_; }
  const TempDir& dir() const { return dir_; }

 private:
  class FittingFrontEnd;

  void Close();

  TempDir dir_;
  Settings settings_;
  FakeHost host_;
  std::unique_ptr<RenderDevice> device_;
  std::unique_ptr<CKissCnfDoc> doc_;
  std::unique_ptr<CKissCnfView> view_;
  std::unique_ptr<FittingFrontEnd> front_end_;
  bool button_down_ = false;
  bool tracing_ = false;
  std::vector<std::string> trace_;
};

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_PLAYED_DOLL_H_
