#include "app/error_report_window.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/byte_text.h"
#include "core/model/error_report.h"
#include "core/view/error_report_view.h"

namespace luma::app {
namespace {

QPlainTextEdit* ReadOnlyList(QWidget* parent) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setReadOnly(true);
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  return edit;
}

}  // namespace

ErrorReportWindow::ErrorReportWindow(const QString& doll_name, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Error Report for " + doll_name);
  auto* layout = new QVBoxLayout(this);
  auto* errors_box = new QGroupBox("Errors:", this);
  auto* errors_layout = new QVBoxLayout(errors_box);
  error_heading_ = new QLabel(errors_box);
  errors_ = ReadOnlyList(errors_box);
  errors_layout->addWidget(error_heading_);
  errors_layout->addWidget(errors_);
  auto* warnings_box = new QGroupBox("Warnings:", this);
  auto* warnings_layout = new QVBoxLayout(warnings_box);
  warning_heading_ = new QLabel(warnings_box);
  warnings_ = ReadOnlyList(warnings_box);
  warnings_layout->addWidget(warning_heading_);
  warnings_layout->addWidget(warnings_);
  layout->addWidget(errors_box, 1);
  layout->addWidget(warnings_box, 1);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton("Close", QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
  layout->addWidget(buttons);
  resize(560, 420);
}

void ErrorReportWindow::Fill(const ErrorReport& report, TextEncoding encoding) {
  error_heading_->setText(QString::fromStdString(ErrorHeading(report.error_count())));
  warning_heading_->setText(QString::fromStdString(WarningHeading(report.warning_count())));
  errors_->setPlainText(DollText(report.ErrorText(), encoding));
  warnings_->setPlainText(DollText(report.WarningText(), encoding));
}

}  // namespace luma::app
