#ifndef LUMA_APP_APP_HOST_H_
#define LUMA_APP_APP_HOST_H_

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "app/dialog_runner.h"
#include "core/host/host.h"
#include "core/host/posix_file_system.h"

class QLabel;
class QProgressBar;

namespace luma::audio {
class AudioPlayer;
}

namespace luma::app {

class ProgressWindow;

// The desktop program's Host: message boxes, questions and the list choice
// over the main window (run by `dialogs`), the modeless progress window, a
// monotonic clock, sound and music through the audio module, links through
// the desktop.
class AppHost : public Host {
 public:
  // `audio` may be null (no sound at all); `dialogs` must outlive the host.
  AppHost(QWidget* window, audio::AudioPlayer* audio, DialogRunner& dialogs);
  ~AppHost() override;

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
  uint32_t Milliseconds() override;
  int Random() override;
  void PlaySound(const std::string& path) override;
  void PlayMusic(const std::string& path) override;
  void StopSound() override;
  void StopMusic() override;
  bool OpenLink(const std::string& target) override;
  std::string DataFolder() override;
  std::string TempFolder() override;
  FileSystem& Files() override { return files_; }

  audio::AudioPlayer* audio() const { return audio_; }
  ProgressWindow* progress_window() const { return progress_.get(); }

 private:
  // The window the host's dialogs belong to, or null once it is gone.
  QWidget* dialog_parent() const;

  QPointer<QWidget> window_;
  audio::AudioPlayer* audio_;
  DialogRunner& dialogs_;
  std::unique_ptr<ProgressWindow> progress_;
  uint32_t random_state_;
  PosixFileSystem files_;
};

// The modeless window that shows the progress of loading or closing a doll.
class ProgressWindow : public QWidget {
 public:
  explicit ProgressWindow(QWidget* parent);
  void SetCaption(const QString& caption);
  void SetStatus(const QString& text);
  void SetRange(int count);
  void SetPosition(int position);
  QString status() const;

 private:
  QLabel* status_;
  QProgressBar* bar_;
};

}  // namespace luma::app

#endif  // LUMA_APP_APP_HOST_H_
