#include "core/testing/fake_host.h"

namespace luma {

FakeHost::FakeHost() : data_folder_("/nonexistent/data"), temp_folder_("/tmp") {}

void FakeHost::ShowMessage(std::string_view caption, std::string_view text, MessageIcon icon) {
  messages_.push_back({std::string(caption), std::string(text), icon});
  log_.push_back("message: " + std::string(caption) + ": " + std::string(text));
}

Answer FakeHost::Ask(std::string_view caption, std::string_view text, Buttons, MessageIcon) {
  questions_.push_back(std::string(text));
  log_.push_back("ask: " + std::string(caption) + ": " + std::string(text));
  if (answers_.empty()) return default_answer_;
  Answer a = answers_.front();
  answers_.pop_front();
  return a;
}

int FakeHost::Choose(std::string_view caption, std::string_view,
                     const std::vector<std::string>& items) {
  std::string line = "choose: " + std::string(caption) + ":";
  for (const auto& item : items) line += " " + item;
  log_.push_back(line);
  if (choices_.empty()) return items.empty() ? -1 : 0;
  int c = choices_.front();
  choices_.pop_front();
  return c;
}

void FakeHost::ProgressShow(std::string_view caption) {
  progress_visible_ = true;
  log_.push_back("progress: " + std::string(caption));
}

void FakeHost::ProgressStatus(std::string_view text) {
  statuses_.emplace_back(text);
  log_.push_back("status: " + std::string(text));
}

void FakeHost::ProgressRange(int count) {
  progress_range_ = count;
  progress_position_ = 0;
}

void FakeHost::ProgressPosition(int position) { progress_position_ = position; }

void FakeHost::ProgressHide() {
  progress_visible_ = false;
  log_.push_back("progress hidden");
}

void FakeHost::Sleep(uint32_t ms) {
  now_ += ms;
  log_.push_back("sleep " + std::to_string(ms));
}

int FakeHost::Random() {
  if (randoms_.empty()) return 0;
  const int v = randoms_[random_index_ < randoms_.size() ? random_index_ : randoms_.size() - 1];
  if (random_index_ < randoms_.size()) ++random_index_;
  return v;
}

void FakeHost::PlaySound(const std::string& path) {
  sounds_.push_back(path);
  log_.push_back("sound: " + path);
}

void FakeHost::PlayMusic(const std::string& path) {
  music_.push_back(path);
  log_.push_back("music: " + path);
}

void FakeHost::StopSound() { log_.push_back("sound stopped"); }

void FakeHost::StopMusic() { log_.push_back("music stopped"); }

bool FakeHost::OpenLink(const std::string& target) {
  links_.push_back(target);
  log_.push_back("link: " + target);
  return open_link_result_;
}

bool FakeHost::Logged(std::string_view needle) const {
  for (const auto& line : log_) {
    if (line.find(needle) != std::string::npos) return true;
  }
  return false;
}

void FakeHost::ClearLog() {
  log_.clear();
  messages_.clear();
  questions_.clear();
  statuses_.clear();
}

}  // namespace luma
