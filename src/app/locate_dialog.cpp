#include "app/locate_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/byte_text.h"
#include "core/view/kiss_cnf_view.h"

namespace luma::app {

LocateDialog::LocateDialog(QWidget* parent, CKissCnfView& view, const QString& doll_title)
    : QDialog(parent), view_(view) {
  SetDollTitle(doll_title);
  objects_ = new QListWidget(this);
  cels_ = new QListWidget(this);
  find_object_ = new QPushButton("&Find", this);
  find_cel_ = new QPushButton("F&ind", this);
  auto* objects_label = new QLabel("&Objects:", this);
  objects_label->setBuddy(objects_);
  auto* cels_label = new QLabel("&Cels:", this);
  cels_label->setBuddy(cels_);
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);

  auto* grid = new QGridLayout(this);
  grid->addWidget(objects_label, 0, 0);
  grid->addWidget(objects_, 1, 0);
  grid->addWidget(find_object_, 2, 0, Qt::AlignLeft);
  grid->addWidget(cels_label, 0, 1);
  grid->addWidget(cels_, 1, 1);
  grid->addWidget(find_cel_, 2, 1, Qt::AlignLeft);
  grid->addWidget(close, 3, 0, 1, 2);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 2);
  grid->setRowStretch(1, 1);

  connect(find_object_, &QPushButton::clicked, this, &LocateDialog::FindObject);
  connect(find_cel_, &QPushButton::clicked, this, &LocateDialog::FindCel);
  connect(objects_, &QListWidget::itemActivated, this, &LocateDialog::FindObject);
  connect(cels_, &QListWidget::itemActivated, this, &LocateDialog::FindCel);
  connect(objects_, &QListWidget::itemSelectionChanged, this,
          [this] { find_object_->setEnabled(objects_->currentRow() >= 0); });
  connect(cels_, &QListWidget::itemSelectionChanged, this,
          [this] { find_cel_->setEnabled(cels_->currentRow() >= 0); });
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::close);
  Reload();
  resize(340, 320);
}

void LocateDialog::SetDollTitle(const QString& doll_title) {
  setWindowTitle("Find Object or Cel - " + doll_title);
}

void LocateDialog::Reload() {
  entries_ = ListLocateEntries(view_.doc().model());
  objects_->clear();
  cels_->clear();
  const TextEncoding encoding = view_.doc().model().text_encoding;
  for (const LocateEntries::Object& entry : entries_.objects) {
    objects_->addItem(DollText(entry.label, encoding));
  }
  for (const LocateEntries::Cel& entry : entries_.cels) {
    cels_->addItem(DollText(entry.label, encoding));
  }
  find_object_->setEnabled(false);
  find_cel_->setEnabled(false);
}

bool LocateDialog::FindObject() {
  const int row = objects_->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= entries_.objects.size()) return false;
  return view_.LocateObject(entries_.objects[static_cast<size_t>(row)].number);
}

bool LocateDialog::FindCel() {
  const int row = cels_->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= entries_.cels.size()) return false;
  return view_.LocateCel(entries_.cels[static_cast<size_t>(row)].cel);
}

}  // namespace luma::app
