#ifndef LUMA_APP_QT_DIALOG_RUNNER_H_
#define LUMA_APP_QT_DIALOG_RUNNER_H_

#include "app/dialog_runner.h"

namespace luma::app {

// The dialogs as the user sees them: message boxes (a message too long for
// one scrolls in a window of its own), questions whose Enter key takes the
// answer that changes nothing, a list to choose from, and every other
// dialog run modally until it is closed.
class QtDialogRunner : public DialogRunner {
 public:
  void ShowMessage(QWidget* parent, std::string_view caption, std::string_view text,
                   MessageIcon icon) override;
  Answer Ask(QWidget* parent, std::string_view caption, std::string_view text, Buttons buttons,
             MessageIcon icon) override;
  int Choose(QWidget* parent, std::string_view caption, std::string_view prompt,
             const std::vector<std::string>& items) override;
  QString RunFileDialog(QFileDialog& dialog) override;
  std::string RunSaveCnfDialog(SaveCnfDialog& dialog) override;
  bool RunAdditionalFilesDialog(AdditionalFilesDialog& dialog) override;
  bool RunOptionsDialog(OptionsDialog& dialog) override;
  void RunInfoDialog(QDialog& dialog) override;
};

}  // namespace luma::app

#endif  // LUMA_APP_QT_DIALOG_RUNNER_H_
