#include "app/script_output_window.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/byte_text.h"

namespace luma::app {
namespace {

QString Shown(std::string_view text, TextEncoding encoding) {
  return DollText(text, encoding).remove('\r');
}

}  // namespace

ScriptOutputWindow::ScriptOutputWindow(const QString& title, QWidget* parent) : QDialog(parent) {
  setWindowTitle(title);
  auto* layout = new QVBoxLayout(this);
  edit_ = new QPlainTextEdit(this);
  edit_->setReadOnly(true);
  edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit_->setFont(QFont("Monospace"));
  layout->addWidget(edit_, 1);
  buttons_ = new QHBoxLayout;
  buttons_->addStretch(1);
  auto* clear = new QPushButton("Clear", this);
  connect(clear, &QPushButton::clicked, this, [this] { Clear(); });
  buttons_->addWidget(clear);
  layout->addLayout(buttons_);
  resize(480, 360);
}

void ScriptOutputWindow::AddLine(std::string_view line) {
  const size_t before = log_.text().size();
  log_.AddLine(line);
  if (log_.text().size() == before + line.size() + 2) {
    // The end of the text is the last line as the log stored it.
    edit_->appendPlainText(Shown(line, encoding_));
  } else {
    // The log dropped its oldest text to make room.
    ShowAll();
  }
  edit_->verticalScrollBar()->setValue(edit_->verticalScrollBar()->maximum());
}

void ScriptOutputWindow::SetTextEncoding(TextEncoding encoding) {
  if (encoding == encoding_) return;
  encoding_ = encoding;
  ShowAll();
  edit_->verticalScrollBar()->setValue(edit_->verticalScrollBar()->maximum());
}

void ScriptOutputWindow::ShowAll() {
  QString all = Shown(log_.text(), encoding_);
  if (all.endsWith('\n')) all.chop(1);
  edit_->setPlainText(all);
}

void ScriptOutputWindow::Clear() {
  log_.Clear();
  edit_->clear();
}

void ScriptOutputWindow::reject() {
  QDialog::reject();
  if (closed_) closed_();
}

}  // namespace luma::app
