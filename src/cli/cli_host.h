#ifndef LUMA_CLI_CLI_HOST_H_
#define LUMA_CLI_CLI_HOST_H_

#include <cstdint>
#include <string>
#include <vector>

#include "core/host/host.h"
#include "core/host/posix_file_system.h"
#include "core/host/random_numbers.h"

namespace luma {

// The non-interactive Host of lumadoll-tool: messages go to standard error,
// questions take the answer the command set in advance, lists take the
// configured choice, progress is silent. The clock is simulated when a command
// drives time itself (play, render --run-ms) and real otherwise.
class CliHost : public Host {
 public:
  CliHost();

  void ShowMessage(std::string_view caption, std::string_view text, MessageIcon icon) override;
  Answer Ask(std::string_view caption, std::string_view text, Buttons buttons,
             MessageIcon icon) override;
  int Choose(std::string_view caption, std::string_view prompt,
             const std::vector<std::string>& items) override;
  void ProgressShow(std::string_view) override {}
  void ProgressStatus(std::string_view) override {}
  void ProgressRange(int) override {}
  void ProgressPosition(int) override {}
  void ProgressHide() override {}
  uint32_t Milliseconds() override;
  void Sleep(uint32_t ms) override;
  int Random() override;
  void PlaySound(const std::string& path) override;
  void PlayMusic(const std::string& path) override;
  void StopSound() override;
  void StopMusic() override;
  bool OpenLink(const std::string& target) override;
  std::string DataFolder() override;
  std::string TempFolder() override;
  FileSystem& Files() override { return files_; }

  void set_answer(Answer answer) { answer_ = answer; }
  void set_choice(int index) { choice_ = index; }
  // Lists take the item of this name (the whole item or its file name part,
  // ignoring case) when one matches; -1 (cancel) when none does.
  void set_choice_name(std::string name) { choice_name_ = std::move(name); }
  // Messages are kept in messages() instead of going to standard error.
  void set_collect_messages(bool collect) { collect_messages_ = collect; }
  const std::vector<std::string>& messages() const { return messages_; }
  // From now on the clock only moves through Advance().
  void UseSimulatedClock(uint32_t start_ms) {
    simulated_ = true;
    now_ = start_ms;
  }
  void Advance(uint32_t ms) { now_ += ms; }
  void set_verbose(bool verbose) { verbose_ = verbose; }
  // Random numbers from a fixed start instead of the time (--seed).
  void SeedRandom(uint32_t seed) { random_.Seed(seed); }

 private:
  Answer answer_ = Answer::kNo;
  int choice_ = 0;
  std::string choice_name_;
  bool collect_messages_ = false;
  std::vector<std::string> messages_;
  bool simulated_ = false;
  bool verbose_ = false;
  uint32_t now_ = 0;
  RandomNumbers random_;
  PosixFileSystem files_;
};

}  // namespace luma

#endif  // LUMA_CLI_CLI_HOST_H_
