#ifndef LUMA_WEB_WEB_HOST_H_
#define LUMA_WEB_WEB_HOST_H_

#include <cstdint>
#include <string>
#include <vector>

#include "core/host/file_system.h"
#include "core/host/host.h"
#include "core/host/random_numbers.h"

namespace luma::web {

// The Host of the web page. Messages, questions and lists go to the page's
// script (lumadoll-page.js), which shows them as dialogs, answers with the
// browser's own modal boxes, or in a test run answers as lumadoll-tool does;
// sounds go to Web Audio; links open in a new tab. The clock is the
// browser's, or a simulated one that only moves through Advance (the page
// in a test run, as lumadoll-tool's render and play). Files are the page's
// own, in memory (WebFiles); `files` must outlive the host.
class WebHost : public Host {
 public:
  explicit WebHost(FileSystem& files);

  void ShowMessage(std::string_view caption, std::string_view text, MessageIcon icon) override;
  Answer Ask(std::string_view caption, std::string_view text, Buttons buttons,
             MessageIcon icon) override;
  int Choose(std::string_view caption, std::string_view prompt,
             const std::vector<std::string>& items) override;
  void ProgressShow(std::string_view caption) override;
  void ProgressStatus(std::string_view text) override;
  void ProgressRange(int) override {}
  void ProgressPosition(int) override {}
  void ProgressHide() override;
  uint32_t Milliseconds() override;
  // A page cannot block to show frames in between, so a pause only moves a
  // simulated clock on.
  void Sleep(uint32_t ms) override;
  int Random() override { return random_.Next(); }
  void PlaySound(const std::string& path) override;
  void PlayMusic(const std::string& path) override;
  void StopSound() override;
  void StopMusic() override;
  bool OpenLink(const std::string& target) override;
  std::string DataFolder() override;
  std::string TempFolder() override;
  FileSystem& Files() override { return files_; }

  void SeedRandom(uint32_t seed) { random_.Seed(seed); }
  void UseSimulatedClock(uint32_t start_ms) {
    simulated_ = true;
    now_ = start_ms;
  }
  bool simulated_clock() const { return simulated_; }
  void Advance(uint32_t ms) { now_ += ms; }

 private:
  RandomNumbers random_;
  FileSystem& files_;
  bool simulated_ = false;
  uint32_t now_ = 0;
};

}  // namespace luma::web

#endif  // LUMA_WEB_WEB_HOST_H_
