#include "app/additional_files_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/file_dialogs.h"

namespace luma::app {

AdditionalFilesDialog::AdditionalFilesDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Additional Files");
  setMinimumSize(282, 252);
  setSizeGripEnabled(true);

  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(
      "Specify any additional files, such as documentation, which should be included in the "
      "LZH archive:");
  text->setWordWrap(true);
  layout->addWidget(text);

  auto* row = new QHBoxLayout;
  list_ = new QListWidget;
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  row->addWidget(list_, 1);
  auto* side = new QVBoxLayout;
  add_ = new QPushButton("&Add..");
  remove_ = new QPushButton("&Remove...");
  remove_->setEnabled(false);
  side->addWidget(add_);
  side->addWidget(remove_);
  side->addStretch(1);
  row->addLayout(side);
  layout->addLayout(row, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);

  connect(add_, &QPushButton::clicked, this, [this] { Add(); });
  connect(remove_, &QPushButton::clicked, this, [this] { RemoveSelected(); });
  connect(list_, &QListWidget::itemSelectionChanged, this,
          [this] { remove_->setEnabled(!list_->selectedItems().isEmpty()); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void AdditionalFilesDialog::AddFiles(const QStringList& paths) {
  for (const QString& path : paths) {
    if (list_->findItems(path, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()) {
      list_->addItem(path);
    }
  }
}

std::vector<std::string> AdditionalFilesDialog::files() const {
  std::vector<std::string> out;
  for (int i = 0; i < list_->count(); ++i) {
    out.push_back(QFile::encodeName(list_->item(i)->text()).toStdString());
  }
  return out;
}

void AdditionalFilesDialog::Add() { AddFiles(chooser_ ? chooser_() : ChooseDocuments()); }

void AdditionalFilesDialog::RemoveSelected() {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return;
  delete selected.first();
  // The next entry is not selected on its behalf: a second press would
  // remove a file the user never picked.
  list_->clearSelection();
  list_->setCurrentItem(nullptr);
  remove_->setEnabled(false);
}

QStringList AdditionalFilesDialog::ChooseDocuments() {
  return AskOpenFileNames(this, "Select document files", QDir::currentPath(),
                          "Document files (*.doc *.txt *.me);;All files (*)");
}

}  // namespace luma::app
