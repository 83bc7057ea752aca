#include "app/variable_watch_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "app/byte_text.h"
#include "core/fkiss/fkiss_script.h"

namespace luma::app {
namespace {

constexpr int kMinWidth = 350;
constexpr int kMinHeight = 290;

}  // namespace

VariableWatchWindow::VariableWatchWindow(QWidget* parent, FkissScript& script,
                                         const QString& doll_title, TextEncoding encoding)
    : QDialog(parent),
      script_(script),
      encoding_(encoding),
      watch_(std::make_unique<VariableWatch>(script)) {
  setWindowTitle("Variables - " + doll_title);
  setMinimumSize(kMinWidth, kMinHeight);
  setSizeGripEnabled(true);

  names_ = new QListWidget(this);
  toggle_ = new QPushButton("&Watch", this);
  toggle_->setAutoDefault(false);
  display_ = new QPlainTextEdit(this);
  display_->setReadOnly(true);
  display_->setLineWrapMode(QPlainTextEdit::NoWrap);

  // The list and the display take what the window gains; the button keeps
  // its size.
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("&Variables:", this), 0, 0);
  grid->addWidget(names_, 1, 0);
  grid->addWidget(toggle_, 2, 0, Qt::AlignLeft);
  grid->addWidget(new QLabel("Watched:", this), 0, 1);
  grid->addWidget(display_, 1, 1, 2, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 2);
  grid->setRowStretch(1, 1);
  static_cast<QLabel*>(grid->itemAtPosition(0, 0)->widget())->setBuddy(names_);

  watch_->set_on_refresh([this](const std::string& text) { Show(text); });
  connect(names_, &QListWidget::itemSelectionChanged, this, &VariableWatchWindow::SelectionChanged);
  connect(names_, &QListWidget::itemDoubleClicked, this, &VariableWatchWindow::Toggle);
  connect(toggle_, &QPushButton::clicked, this, &VariableWatchWindow::Toggle);
  Reload();
  resize(kMinWidth, kMinHeight);
}

void VariableWatchWindow::Reload() {
  names_->clear();
  for (const std::string& name : script_.variable_names()) {
    names_->addItem(DollText(name, encoding_));
  }
  watch_->ClearWatch();
  SelectionChanged();
}

void VariableWatchWindow::SetDollTitle(const QString& doll_title, TextEncoding encoding) {
  setWindowTitle("Variables - " + doll_title);
  if (encoding == encoding_) return;
  encoding_ = encoding;
  const std::vector<std::string>& names = script_.variable_names();
  for (int row = 0; row < names_->count() && static_cast<size_t>(row) < names.size(); ++row) {
    names_->item(row)->setText(DollText(names[static_cast<size_t>(row)], encoding_));
  }
  Show(watch_->text());
}

std::string VariableWatchWindow::SelectedName() const {
  const QList<QListWidgetItem*> items = names_->selectedItems();
  if (items.isEmpty()) return {};
  const size_t row = static_cast<size_t>(names_->row(items.first()));
  const std::vector<std::string>& names = script_.variable_names();
  return row < names.size() ? names[row] : std::string();
}

void VariableWatchWindow::SelectionChanged() {
  const std::string label = watch_->ButtonLabel(SelectedName());
  toggle_->setEnabled(!label.empty());
  if (!label.empty()) toggle_->setText(QString::fromLatin1(label.c_str()));
}

void VariableWatchWindow::Toggle() {
  const std::string name = SelectedName();
  if (name.empty()) return;
  watch_->Toggle(name);
  SelectionChanged();
}

void VariableWatchWindow::Show(const std::string& text) {
  QString shown = DollText(text, encoding_);
  shown.replace("\r\n", "\n");
  display_->setPlainText(shown);
  display_->verticalScrollBar()->setValue(display_->verticalScrollBar()->maximum());
}

}  // namespace luma::app
