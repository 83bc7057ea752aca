#include "app/bug_report_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/byte_text.h"
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "core/host/system_facts.h"
#include "core/view/system_report.h"

namespace luma::app {

BugReportDialog::BugReportDialog(std::string report, QWidget* parent)
    : QDialog(parent), report_(std::move(report)) {
  setWindowTitle("Bug Report");
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(
      "Found a problem in Lumadoll? Write down what you did, what you expected and what "
      "happened instead, and send it to the Lumadoll developers together with the report "
      "below, which describes this computer, the program's options and the dolls now open.\n\n"
      "Click into the report and press Ctrl+A and Ctrl+C to copy it, or use \"Copy Report\". "
      "If the problem comes with one doll, name where it can be found.",
      this);
  intro->setWordWrap(true);
  layout->addWidget(intro);
  box_ = new QPlainTextEdit(this);
  box_->setReadOnly(true);
  box_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  box_->setLineWrapMode(QPlainTextEdit::NoWrap);
  box_->setTabStopDistance(box_->fontMetrics().horizontalAdvance(' ') * 4);
  box_->setPlainText(FromBytes(report_).remove('\r'));
  layout->addWidget(box_, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  QPushButton* copy = buttons->addButton("Copy Report", QDialogButtonBox::ActionRole);
  connect(copy, &QPushButton::clicked, this, [this] { CopyReport(); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  resize(560, 520);
}

void BugReportDialog::CopyReport() { QApplication::clipboard()->setText(FromBytes(report_)); }

std::string ComposeReportFor(CMainFrame& main_frame) {
  std::vector<DollStatistics> dolls;
  for (CChildFrame* child : main_frame.Children()) {
    dolls.push_back(GatherStatistics(child->doc(), child->view().runtime()));
  }
  const SystemFacts facts = ReadSystemFacts(QFile::encodeName(QDir::homePath()).toStdString());
  return ComposeSystemReport(facts, main_frame.existing_device(), main_frame.settings(), dolls);
}

void RunBugReport(CMainFrame& main_frame) {
  BugReportDialog dialog(ComposeReportFor(main_frame), &main_frame);
  main_frame.dialogs().RunInfoDialog(dialog);
}

}  // namespace luma::app
