#include "app/app_host.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <ctime>

#include "app/byte_text.h"
#include "audio/audio_player.h"
#include "core/host/text.h"
#include "platform/platform_paths.h"

namespace luma::app {
namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kWarning:
      return QMessageBox::Warning;
    case MessageIcon::kError:
      return QMessageBox::Critical;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

// A list of choices with OK and Cancel; a double click chooses at once.
int ChooseFromList(QWidget* parent, const QString& caption, const QString& prompt,
                   const std::vector<std::string>& items) {
  QDialog dialog(parent);
  dialog.setWindowTitle(caption);
  auto* layout = new QVBoxLayout(&dialog);
  if (!prompt.isEmpty()) layout->addWidget(new QLabel(prompt));
  auto* list = new QListWidget;
  for (const std::string& item : items) list->addItem(FromBytes(item));
  list->setCurrentRow(0);
  layout->addWidget(list);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  if (dialog.exec() != QDialog::Accepted) return -1;
  return list->currentRow();
}

// A message too long for a message box (the report of an event stack that
// ran too deep lists every stacked event): the text scrolls in a window.
constexpr int kMaxMessageBoxLines = 20;

void ShowLongMessage(QWidget* parent, const QString& caption, const QString& text,
                     QMessageBox::Icon icon) {
  QDialog dialog(parent);
  dialog.setWindowTitle(caption);
  auto* layout = new QVBoxLayout(&dialog);
  auto* row = new QHBoxLayout;
  if (icon != QMessageBox::NoIcon) {
    auto* picture = new QLabel;
    const int size = dialog.style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    const QStyle::StandardPixmap kind =
        icon == QMessageBox::Critical   ? QStyle::SP_MessageBoxCritical
        : icon == QMessageBox::Warning  ? QStyle::SP_MessageBoxWarning
        : icon == QMessageBox::Question ? QStyle::SP_MessageBoxQuestion
                                        : QStyle::SP_MessageBoxInformation;
    picture->setPixmap(dialog.style()->standardIcon(kind).pixmap(size, size));
    picture->setAlignment(Qt::AlignTop);
    row->addWidget(picture);
  }
  auto* body = new QPlainTextEdit;
  body->setReadOnly(true);
  body->setObjectName("message");
  body->setPlainText(QString(text).remove('\r'));
  body->setMinimumSize(460, 300);
  row->addWidget(body);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  dialog.exec();
}

}  // namespace

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

AppHost::AppHost(QWidget* window, audio::AudioPlayer* audio)
    : window_(window), audio_(audio), random_state_(static_cast<uint32_t>(std::time(nullptr))) {}

AppHost::~AppHost() = default;

void AppHost::ShowMessage(std::string_view caption, std::string_view text, MessageIcon icon) {
  if (dialog_hook_) {
    dialog_hook_(caption, text, Buttons::kOk, icon);
    return;
  }
  QWidget* parent = window_ ? window_->window() : nullptr;
  if (std::count(text.begin(), text.end(), '\n') >= kMaxMessageBoxLines) {
    ShowLongMessage(parent, FromBytes(caption), FromBytes(text), BoxIcon(icon));
    return;
  }
  QMessageBox box(BoxIcon(icon), FromBytes(caption), FromBytes(text), QMessageBox::Ok, parent);
  box.exec();
}

Answer AppHost::Ask(std::string_view caption, std::string_view text, Buttons buttons,
                    MessageIcon icon) {
  if (dialog_hook_) return dialog_hook_(caption, text, buttons, icon);
  QMessageBox::StandardButtons set = QMessageBox::Ok;
  // Enter takes the answer that changes nothing.
  QMessageBox::StandardButton default_button = QMessageBox::Ok;
  switch (buttons) {
    case Buttons::kOk:
      break;
    case Buttons::kOkCancel:
      set = QMessageBox::Ok | QMessageBox::Cancel;
      default_button = QMessageBox::Cancel;
      break;
    case Buttons::kYesNo:
      set = QMessageBox::Yes | QMessageBox::No;
      default_button = QMessageBox::No;
      break;
    case Buttons::kYesNoCancel:
      set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      default_button = QMessageBox::Cancel;
      break;
  }
  QMessageBox box(BoxIcon(icon), FromBytes(caption), FromBytes(text), set,
                  window_ ? window_->window() : nullptr);
  box.setDefaultButton(default_button);
  switch (box.exec()) {
    case QMessageBox::Ok:
      return Answer::kOk;
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    default:
      return Answer::kCancel;
  }
}

int AppHost::Choose(std::string_view caption, std::string_view prompt,
                    const std::vector<std::string>& items) {
  if (items.empty()) return -1;
  if (choice_hook_) return choice_hook_(items);
  return ChooseFromList(window_ ? window_->window() : nullptr, FromBytes(caption),
                        FromBytes(prompt), items);
}

void AppHost::ProgressShow(std::string_view caption) {
  if (!progress_)
    progress_ = std::make_unique<ProgressWindow>(window_ ? window_->window() : nullptr);
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
