#ifndef LUMA_APP_DIALOG_RUNNER_H_
#define LUMA_APP_DIALOG_RUNNER_H_

#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "core/host/host.h"

class QDialog;
class QFileDialog;
class QWidget;

namespace luma::app {

class AdditionalFilesDialog;
class CChildFrame;
class OptionsDialog;
class SaveCnfDialog;

// Where the main window meets the user: every modal dialog it raises runs
// through here, and it reports each doll frame that reached the screen.
// QtDialogRunner shows the real dialogs; tests and unattended runs supply
// their own answers. The window sets each dialog up before handing it over,
// so a runner only decides how it is answered.
class DialogRunner {
 public:
  virtual ~DialogRunner() = default;

  // A message box over `parent` (may be null).
  virtual void ShowMessage(QWidget* parent, std::string_view caption, std::string_view text,
                           MessageIcon icon) = 0;
  // A question with `buttons`.
  virtual Answer Ask(QWidget* parent, std::string_view caption, std::string_view text,
                     Buttons buttons, MessageIcon icon) = 0;
  // One of `items` (never empty): its index, or -1 when cancelled.
  virtual int Choose(QWidget* parent, std::string_view caption, std::string_view prompt,
                     const std::vector<std::string>& items) = 0;
  // An open or save dialog: the file chosen, empty when cancelled.
  virtual QString RunFileDialog(QFileDialog& dialog) = 0;
  // "Save to new CNF": the path chosen (local encoding), empty when cancelled.
  virtual std::string RunSaveCnfDialog(SaveCnfDialog& dialog) = 0;
  // "Additional Files", "Options": whether the dialog was closed with OK.
  virtual bool RunAdditionalFilesDialog(AdditionalFilesDialog& dialog) = 0;
  virtual bool RunOptionsDialog(OptionsDialog& dialog) = 0;
  // The about box or the bug report window, until it is closed.
  virtual void RunInfoDialog(QDialog& dialog) = 0;

  // A frame of `child` has been presented.
  virtual void FramePresented(CChildFrame& /*child*/) {}
};

}  // namespace luma::app

#endif  // LUMA_APP_DIALOG_RUNNER_H_
