#ifndef LUMA_APP_ERROR_REPORT_WINDOW_H_
#define LUMA_APP_ERROR_REPORT_WINDOW_H_

#include <QDialog>

#include "core/host/text_encoding.h"

class QLabel;
class QPlainTextEdit;

namespace luma {
class ErrorReport;
}

namespace luma::app {

// "Error Report for <doll>": the errors and warnings found while loading,
// each list under a heading that counts it. Modeless.
class ErrorReportWindow : public QDialog {
 public:
  ErrorReportWindow(const QString& doll_name, QWidget* parent);

  // The entries quote the doll's names and texts, shown in `encoding`.
  void Fill(const ErrorReport& report, TextEncoding encoding);

  QLabel* error_heading() const { return error_heading_; }
  QLabel* warning_heading() const { return warning_heading_; }
  QPlainTextEdit* errors() const { return errors_; }
  QPlainTextEdit* warnings() const { return warnings_; }

 private:
  QLabel* error_heading_;
  QLabel* warning_heading_;
  QPlainTextEdit* errors_;
  QPlainTextEdit* warnings_;
};

}  // namespace luma::app

#endif  // LUMA_APP_ERROR_REPORT_WINDOW_H_
