#ifndef LUMA_APP_MAIN_WINDOW_FIXTURE_H_
#define LUMA_APP_MAIN_WINDOW_FIXTURE_H_

// The main window as the application tests drive it: over a settings file
// of its own, with every dialog answered by a script instead of a user.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/child_frame.h"
#include "app/dialog_runner.h"
#include "app/doll_view_widget.h"
#include "app/main_frame.h"
#include "audio/audio_player.h"
#include "platform/qt_settings_store.h"

namespace luma::app {

// Answers the main window's dialogs as a test says. Messages and questions
// are kept as "caption: text"; questions get `answer` (or what `answer_to`
// says for the caption); every other dialog is cancelled unless its handler
// is set, which may work the dialog as a user would.
class ScriptedDialogs : public DialogRunner {
 public:
  void ShowMessage(QWidget*, std::string_view caption, std::string_view text,
                   MessageIcon) override {
    Say(caption, text);
  }
  Answer Ask(QWidget*, std::string_view caption, std::string_view text, Buttons,
             MessageIcon) override {
    Say(caption, text);
    return answer_to ? answer_to(caption) : answer;
  }
  int Choose(QWidget*, std::string_view, std::string_view,
             const std::vector<std::string>&) override {
    return choice;
  }
  QString RunFileDialog(QFileDialog& dialog) override {
    file_dialogs.push_back(dialog.windowTitle().toStdString());
    return on_file ? on_file(dialog) : QString();
  }
  std::string RunSaveCnfDialog(SaveCnfDialog& dialog) override {
    return on_save_cnf ? on_save_cnf(dialog) : std::string();
  }
  bool RunAdditionalFilesDialog(AdditionalFilesDialog& dialog) override {
    return on_additional_files && on_additional_files(dialog);
  }
  bool RunOptionsDialog(OptionsDialog& dialog) override { return on_options && on_options(dialog); }
  void RunInfoDialog(QDialog& dialog) override {
    if (on_info) on_info(dialog);
  }

  std::vector<std::string> said;          // "caption: text", in order
  std::vector<std::string> texts;         // the texts alone
  std::vector<std::string> file_dialogs;  // the titles of the file dialogs run
  Answer answer = Answer::kYes;
  std::function<Answer(std::string_view caption)> answer_to;
  int choice = -1;
  std::function<QString(QFileDialog&)> on_file;
  std::function<std::string(SaveCnfDialog&)> on_save_cnf;
  std::function<bool(AdditionalFilesDialog&)> on_additional_files;
  std::function<bool(OptionsDialog&)> on_options;
  std::function<void(QDialog&)> on_info;

 private:
  void Say(std::string_view caption, std::string_view text) {
    said.push_back(std::string(caption) + ": " + std::string(text));
    texts.emplace_back(text);
  }
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PrepareFolder();
    frame_ = MakeFrame(*store_);
    frame_->resize(900, 700);
    frame_->show();
  }
  // The folder and the settings file, without a window.
  void PrepareFolder() {
    ASSERT_TRUE(dir_.isValid());
    saved_cwd_ = QDir::currentPath();
    store_ = std::make_unique<QtSettingsStore>(dir_.filePath("Lumadoll.conf"));
  }
  void TearDown() override {
    if (frame_) frame_->close();
    frame_.reset();
    QDir::setCurrent(saved_cwd_);
  }

  // Another main window over `store`, its dialogs answered by `dialogs_`.
  std::unique_ptr<CMainFrame> MakeFrame(SettingsStore& store) {
    return std::make_unique<CMainFrame>(store, &audio_, &dialogs_);
  }

  void Write(const QString& name, std::string_view bytes) {
    QFile file(dir_.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
  QString PathOf(const QString& name) const { return dir_.filePath(name); }

  // Opens a doll as the command line does: its window, or null when it
  // did not open.
  CChildFrame* OpenPath(const QString& path) {
    if (!frame_->OpenDocumentFile(path)) return nullptr;
    return frame_->ActiveChild();
  }
  // The same, once the window has shown its first frame.
  CChildFrame* OpenShown(const QString& path) {
    CChildFrame* child = OpenPath(path);
    if (child) SpinUntil([child] { return child->frames_presented() > 0; });
    return child;
  }

  // Runs the event loop until `done` holds or a generous deadline passes.
  static bool SpinUntil(const std::function<bool()>& done, int deadline_ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < deadline_ms) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
  }
  // Lets the event loop run for `ms`.
  static void Settle(int ms = 50) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  // A left click at a doll point, through the window's own mouse events.
  static void Click(CChildFrame* child, int x, int y) {
    const ClientPoint at = child->view().DollToScreen(PlayPoint{x, y});
    QWidget* area = child->view_widget()->viewport();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent event(
          type, QPointF(at.x, at.y), area->mapToGlobal(QPointF(at.x, at.y)), Qt::LeftButton,
          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(area, &event);
    }
  }

  QTemporaryDir dir_;
  QString saved_cwd_;
  std::unique_ptr<QtSettingsStore> store_;
  audio::AudioPlayer audio_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace luma::app

#endif  // LUMA_APP_MAIN_WINDOW_FIXTURE_H_
