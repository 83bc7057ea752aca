#ifndef LUMA_CORE_TESTING_FAKE_HOST_H_
#define LUMA_CORE_TESTING_FAKE_HOST_H_

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/host/host.h"
#include "core/host/posix_file_system.h"

namespace luma {

// A Host for tests: records every call as a line of text, answers questions
// from a script (falling back to a default answer), and keeps a clock and a
// random sequence that the test drives by hand.
class FakeHost : public Host {
 public:
  struct Message {
    std::string caption;
    std::string text;
    MessageIcon icon;
  };

  FakeHost();

  void ShowMessage(std::string_view caption, std::string_view text, MessageIcon icon) override;
  Answer Ask(std::string_view caption, std::string_view text, Buttons buttons,
             MessageIcon icon) override;
  int Choose(std::string_view caption, std::string_view prompt,
             const std::vector<std::string>& items) override;
  void ProgressShow(std::string_view caption) override;
  void ProgressStatus(std::string_view text) override;
  void ProgressRange(int count) override;
  void ProgressPosition(int position) override;
  void ProgressHide() override;
  uint32_t Milliseconds() override { return now_; }
  // Moves the clock on and logs "sleep MS".
  void Sleep(uint32_t ms) override;
  int Random() override;
  void PlaySound(const std::string& path) override;
  void PlayMusic(const std::string& path) override;
  void StopSound() override;
  void StopMusic() override;
  bool OpenLink(const std::string& target) override;
  std::string DataFolder() override { return data_folder_; }
  std::string TempFolder() override { return temp_folder_; }
  // The disk, unless a test gave another file system.
  FileSystem& Files() override { return files_ ? *files_ : disk_; }

  // Scripting.
  void QueueAnswer(Answer a) { answers_.push_back(a); }
  void set_default_answer(Answer a) { default_answer_ = a; }
  void QueueChoice(int index) { choices_.push_back(index); }
  void set_now(uint32_t ms) { now_ = ms; }
  void Advance(uint32_t ms) { now_ += ms; }
  // Random() returns these in turn (repeating the last), or 0 when empty.
  void set_random_sequence(std::vector<int> values) { randoms_ = std::move(values); }
  void set_data_folder(std::string path) { data_folder_ = std::move(path); }
  void set_temp_folder(std::string path) { temp_folder_ = std::move(path); }
  void set_open_link_result(bool ok) { open_link_result_ = ok; }
  // `files` must outlive the host; null goes back to the disk.
  void set_files(FileSystem* files) { files_ = files; }

  // Inspection.
  const std::vector<Message>& messages() const { return messages_; }
  const std::vector<std::string>& questions() const { return questions_; }
  const std::vector<std::string>& statuses() const { return statuses_; }
  const std::vector<std::string>& log() const { return log_; }
  const std::vector<std::string>& sounds() const { return sounds_; }
  const std::vector<std::string>& music() const { return music_; }
  const std::vector<std::string>& links() const { return links_; }
  bool progress_visible() const { return progress_visible_; }
  int progress_range() const { return progress_range_; }
  int progress_position() const { return progress_position_; }
  // True if any logged line contains `needle`.
  bool Logged(std::string_view needle) const;
  void ClearLog();

 private:
  PosixFileSystem disk_;
  FileSystem* files_ = nullptr;
  std::deque<Answer> answers_;
  Answer default_answer_ = Answer::kNo;
  std::deque<int> choices_;
  uint32_t now_ = 1000;
  std::vector<int> randoms_;
  size_t random_index_ = 0;
  std::string data_folder_;
  std::string temp_folder_;
  bool open_link_result_ = true;

  std::vector<Message> messages_;
  std::vector<std::string> questions_;
  std::vector<std::string> statuses_;
  std::vector<std::string> log_;
  std::vector<std::string> sounds_;
  std::vector<std::string> music_;
  std::vector<std::string> links_;
  bool progress_visible_ = false;
  int progress_range_ = 0;
  int progress_position_ = 0;
};

}  // namespace luma

#endif  // LUMA_CORE_TESTING_FAKE_HOST_H_
