#include "app/set_properties_window.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/byte_text.h"

namespace luma::app {

SetPropertiesWindow::SetPropertiesWindow(const QString& doll_name, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle("Set Properties for " + doll_name);
  auto* layout = new QVBoxLayout(this);
  auto* box = new QGroupBox("KiSS Data Set Properties", this);
  form_ = new QFormLayout(box);
  layout->addWidget(box);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton("Close", QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
  layout->addWidget(buttons);
}

void SetPropertiesWindow::Fill(const PropertyRows& rows) {
  if (rows == shown_) return;
  if (rows.size() != shown_.size()) {
    while (form_->rowCount() > 0) form_->removeRow(0);
    values_.clear();
    for (const auto& row : rows) {
      auto* value = new QLabel(this);
      value->setTextInteractionFlags(Qt::TextSelectableByMouse);
      form_->addRow(FromBytes(row.first), value);
      values_.push_back(value);
    }
  }
  for (size_t i = 0; i < rows.size(); ++i) values_[i]->setText(FromBytes(rows[i].second));
  shown_ = rows;
}

QString SetPropertiesWindow::ValueOf(const QString& label) const {
  for (size_t i = 0; i < shown_.size(); ++i) {
    if (FromBytes(shown_[i].first) == label) return values_[i]->text();
  }
  return {};
}

}  // namespace luma::app
