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

#include "app/byte_text.h"
#include "app/file_dialogs.h"

namespace luma::app {
namespace {

// An entry that is a member of the doll's archive carries its full name.
constexpr int kMemberRole = Qt::UserRole;

}  // namespace

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
  add_ = new QPushButton("&Add...");
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

void AdditionalFilesDialog::ListMembers(const std::vector<AdditionalFile>& members,
                                        const QString& archive_name) {
  for (const AdditionalFile& member : members) {
    auto* item = new QListWidgetItem(archive_name + ": " + FromBytes(member.path));
    item->setData(kMemberRole, QByteArray::fromStdString(member.path));
    list_->addItem(item);
  }
}

std::vector<AdditionalFile> AdditionalFilesDialog::files() const {
  std::vector<AdditionalFile> out;
  for (int i = 0; i < list_->count(); ++i) {
    const QListWidgetItem* item = list_->item(i);
    const QVariant member = item->data(kMemberRole);
    if (member.isValid()) {
      out.push_back({member.toByteArray().toStdString(), true});
    } else {
      out.push_back({QFile::encodeName(item->text()).toStdString(), false});
    }
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
  return AskOpenFileNames(this, "Select document files", start_folder_,
                          "Document files (*.doc *.txt *.me);;All files (*)");
}

}  // namespace luma::app
