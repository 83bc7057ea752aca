#include "app/app_host.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QUrl>
#include <QVBoxLayout>
#include <chrono>
#include <ctime>

#include "app/byte_text.h"
#include "audio/audio_player.h"
#include "core/host/text.h"
#include "platform/platform_paths.h"

namespace luma::app {
ProgressWindow::ProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowModality(Qt::NonModal);
  // It only reports: keys stay with the window the user typed in.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowFlag(Qt::WindowDoesNotAcceptFocus);
  auto* layout = new QVBoxLayout(this);
  status_ = new QLabel;
  status_->setMinimumWidth(360);
  bar_ = new QProgressBar;
  bar_->setTextVisible(false);
  layout->addWidget(status_);
  layout->addWidget(bar_);
}

void ProgressWindow::SetCaption(const QString& caption) { setWindowTitle(caption); }

void ProgressWindow::SetStatus(const QString& text) {
  status_->setText(text);
  // Loading runs on this thread: paint now rather than when the load is over.
  if (isVisible()) repaint();
}

void ProgressWindow::SetRange(int count) { bar_->setRange(0, count > 0 ? count : 0); }

void ProgressWindow::SetPosition(int position) {
  bar_->setValue(position);
  if (isVisible()) bar_->repaint();
}

QString ProgressWindow::status() const { return status_->text(); }

AppHost::AppHost(QWidget* window, audio::AudioPlayer* audio, DialogRunner& dialogs)
    : window_(window),
      audio_(audio),
      dialogs_(dialogs),
      random_state_(static_cast<uint32_t>(std::time(nullptr))) {}

AppHost::~AppHost() = default;

QWidget* AppHost::dialog_parent() const { return window_ ? window_->window() : nullptr; }

void AppHost::ShowMessage(std::string_view caption, std::string_view text, MessageIcon icon) {
  dialogs_.ShowMessage(dialog_parent(), caption, text, icon);
}

Answer AppHost::Ask(std::string_view caption, std::string_view text, Buttons buttons,
                    MessageIcon icon) {
  return dialogs_.Ask(dialog_parent(), caption, text, buttons, icon);
}

int AppHost::Choose(std::string_view caption, std::string_view prompt,
                    const std::vector<std::string>& items) {
  if (items.empty()) return -1;
  return dialogs_.Choose(dialog_parent(), caption, prompt, items);
}

void AppHost::ProgressShow(std::string_view caption) {
  if (!progress_) progress_ = std::make_unique<ProgressWindow>(dialog_parent());
  progress_->SetCaption(FromBytes(caption));
  progress_->SetStatus({});
  progress_->SetRange(0);
  progress_->SetPosition(0);
  progress_->show();
  progress_->raise();
  progress_->repaint();
}

void AppHost::ProgressStatus(std::string_view text) {
  if (progress_) progress_->SetStatus(FromBytes(text));
}

void AppHost::ProgressRange(int count) {
  if (progress_) progress_->SetRange(count);
}

void AppHost::ProgressPosition(int position) {
  if (progress_) progress_->SetPosition(position);
}

void AppHost::ProgressHide() {
  if (progress_) progress_->hide();
}

uint32_t AppHost::Milliseconds() {
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int AppHost::Random() {
  random_state_ = random_state_ * 1103515245u + 12345u;
  return static_cast<int>((random_state_ >> 16) & 0x7fff);
}

void AppHost::PlaySound(const std::string& path) {
  if (audio_) audio_->PlaySound(path);
}

void AppHost::PlayMusic(const std::string& path) {
  if (audio_) audio_->PlayMusic(path);
}

void AppHost::StopSound() {
  if (audio_) audio_->StopSound();
}

void AppHost::StopMusic() {
  if (audio_) audio_->StopMusic();
}

bool AppHost::OpenLink(const std::string& target) {
  const QString text = FromBytes(target);
  // Web and mail links go as they are; anything else is a local document.
  const bool is_link = StartsWithIgnoreCase(target, "http:") ||
                       StartsWithIgnoreCase(target, "https:") ||
                       StartsWithIgnoreCase(target, "mailto:");
  const QUrl url = is_link ? QUrl(text) : QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
  if (!url.isValid()) return false;
  return QDesktopServices::openUrl(url);
}

std::string AppHost::DataFolder() { return UserDataFolder(); }
std::string AppHost::TempFolder() { return SystemTempFolder(); }

}  // namespace luma::app
