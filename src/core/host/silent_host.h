#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/host/host.h"
#include "core/host/posix_file_system.h"

namespace luma {

// A Host with nobody at the other end: messages and progress vanish, every
// question gets the same answer, nothing plays and the clock stands still.
// For engine work that needs a host but no user, such as parsing a single
// line or timing loads.
class SilentHost : public Host {
 public:
  explicit SilentHost(Answer answer = Answer::kCancel, int choice = -1, std::string folder = {})
      : answer_(answer), choice_(choice), folder_(std::move(folder)) {}

  void ShowMessage(std::string_view, std::string_view, MessageIcon) override {}
  Answer Ask(std::string_view, std::string_view, Buttons, MessageIcon) override { return answer_; }
  int Choose(std::string_view, std::string_view, const std::vector<std::string>&) override {
    return choice_;
  }
  void ProgressShow(std::string_view) override {}
  void ProgressStatus(std::string_view) override {}
  void ProgressRange(int) override {}
  void ProgressPosition(int) override {}
  void ProgressHide() override {}
  uint32_t Milliseconds() override { return 0; }
  int Random() override { return 0; }
  void PlaySound(const std::string&) override {}
  void PlayMusic(const std::string&) override {}
  void StopSound() override {}
  void StopMusic() override {}
  bool OpenLink(const std::string&) override { return false; }
  std::string DataFolder() override { return folder_; }
  std::string TempFolder() override { return folder_; }
  FileSystem& Files() override { return files_; }

 private:
  Answer answer_;
  int choice_;
  std::string folder_;
  PosixFileSystem files_;
};

}  // namespace luma
