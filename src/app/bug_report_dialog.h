#ifndef LUMA_APP_BUG_REPORT_DIALOG_H_
#define LUMA_APP_BUG_REPORT_DIALOG_H_

#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace luma::app {

class CMainFrame;

// "Bug Report": what to do with the report, and the report itself in a
// read-only box the user copies from. Modal.
class BugReportDialog : public QDialog {
 public:
  BugReportDialog(std::string report, QWidget* parent);

  const std::string& report() const { return report_; }
  QPlainTextEdit* report_box() const { return box_; }
  // Puts the whole report on the clipboard, line ends as composed.
  void CopyReport();

 private:
  std::string report_;
  QPlainTextEdit* box_;
};

// The system report for this machine, the main window's device (when it
// has one; none is made for the report), its settings and every open doll.
std::string ComposeReportFor(CMainFrame& main_frame);

// Shows the bug report window.
void RunBugReport(CMainFrame& main_frame);

}  // namespace luma::app

#endif  // LUMA_APP_BUG_REPORT_DIALOG_H_
