#include "app/object_cel_info_window.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/byte_text.h"

namespace luma::app {
namespace {

bool SameInfo(const ObjectCelInfo& a, const ObjectCelInfo& b) {
  return a.status == b.status && a.object_rows == b.object_rows && a.cel_rows == b.cel_rows &&
         a.object_script == b.object_script && a.cel_script == b.cel_script;
}

}  // namespace

ObjectCelInfoWindow::ObjectCelInfoWindow(const QString& doll_name, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle("Object/Cel Properties for " + doll_name);
  auto* layout = new QVBoxLayout(this);
  status_ = new QLabel(this);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(status_);

  tabs_ = new QTabWidget(this);
  auto* object_page = new QWidget(tabs_);
  object_form_ = new QFormLayout(object_page);
  tabs_->addTab(object_page, "Object");
  auto* cel_page = new QWidget(tabs_);
  auto* cel_layout = new QVBoxLayout(cel_page);
  cel_form_ = new QFormLayout;
  cel_layout->addLayout(cel_form_);
  auto* edit_box = new QGroupBox("Change", cel_page);
  edits_ = edit_box;
  auto* edit_layout = new QHBoxLayout(edit_box);
  in_set_ = new QCheckBox("In this set", edit_box);
  mapped_ = new QCheckBox("Mapped", edit_box);
  ghost_ = new QCheckBox("Ghost", edit_box);
  transparency_ = new QSpinBox(edit_box);
  transparency_->setRange(0, 255);
  apply_button_ = new QPushButton("Apply", edit_box);
  edit_layout->addWidget(in_set_);
  edit_layout->addWidget(mapped_);
  edit_layout->addWidget(ghost_);
  edit_layout->addWidget(new QLabel("Transparency:", edit_box));
  edit_layout->addWidget(transparency_);
  edit_layout->addWidget(apply_button_);
  cel_layout->addWidget(edit_box);
  cel_layout->addStretch(1);
  tabs_->addTab(cel_page, "Cel");
  layout->addWidget(tabs_);

  script_ = new QPlainTextEdit(this);
  script_->setReadOnly(true);
  script_->setLineWrapMode(QPlainTextEdit::NoWrap);
  script_->setFont(QFont("Monospace"));
  script_->hide();
  layout->addWidget(script_, 1);

  auto* row = new QHBoxLayout;
  lock_ = new QCheckBox("Locked", this);
  fkiss_ = new QPushButton("FKiSS", this);
  fkiss_->setCheckable(true);
  auto* close = new QPushButton("Close", this);
  row->addWidget(lock_);
  row->addStretch(1);
  row->addWidget(fkiss_);
  row->addWidget(close);
  layout->addLayout(row);

  connect(close, &QPushButton::clicked, this, &QDialog::hide);
  connect(fkiss_, &QPushButton::toggled, this, [this](bool on) {
    script_->setVisible(on);
    ShowScript();
  });
  connect(tabs_, &QTabWidget::currentChanged, this, [this] { ShowScript(); });
  connect(lock_, &QCheckBox::toggled, this, [this](bool on) {
    if (locked_) locked_(on);
  });
  connect(apply_button_, &QPushButton::clicked, this, [this] {
    if (!apply_ || !shown_) return;
    CelProperties properties;
    properties.in_current_set = in_set_->isChecked();
    properties.mapped = mapped_->isChecked();
    properties.ghost = ghost_->isChecked();
    properties.transparency = transparency_->value();
    apply_(properties);
  });
  Clear();
  resize(460, 380);
}

void ObjectCelInfoWindow::FillForm(QFormLayout* form,
                                   const std::vector<std::pair<std::string, std::string>>& rows) {
  while (form->rowCount() > 0) form->removeRow(0);
  for (const auto& [label, value] : rows) {
    auto* shown = new QLabel(FromBytes(value));
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(FromBytes(label), shown);
  }
}

void ObjectCelInfoWindow::Fill(const ObjectCelInfo& info,
                               const std::optional<CelProperties>& edits) {
  if (edits) {
    in_set_->setChecked(edits->in_current_set);
    mapped_->setChecked(edits->mapped);
    ghost_->setChecked(edits->ghost);
    transparency_->setValue(edits->transparency);
  }
  edits_->setEnabled(true);
  fkiss_->setEnabled(true);
  if (shown_ && SameInfo(*shown_, info)) return;
  status_->setText(FromBytes(info.status));
  FillForm(object_form_, info.object_rows);
  FillForm(cel_form_, info.cel_rows);
  shown_ = info;
  ShowScript();
}

void ObjectCelInfoWindow::Clear() {
  if (!shown_ && status_->text() == kNoObjectSelected) return;
  shown_.reset();
  status_->setText(kNoObjectSelected);
  FillForm(object_form_, {});
  FillForm(cel_form_, {});
  edits_->setEnabled(false);
  fkiss_->setEnabled(false);
  ShowScript();
}

void ObjectCelInfoWindow::ShowTab(Tab tab) { tabs_->setCurrentIndex(tab); }

bool ObjectCelInfoWindow::locked() const { return lock_->isChecked(); }

void ObjectCelInfoWindow::ShowScript() {
  if (!shown_) {
    script_->clear();
    return;
  }
  const std::string& text =
      tabs_->currentIndex() == kObjectTab ? shown_->object_script : shown_->cel_script;
  script_->setPlainText(FromBytes(text));
}

QString ObjectCelInfoWindow::ValueOf(Tab tab, const QString& label) const {
  if (!shown_) return {};
  const auto& rows = tab == kObjectTab ? shown_->object_rows : shown_->cel_rows;
  for (const auto& [name, value] : rows) {
    if (FromBytes(name) == label) return FromBytes(value);
  }
  return {};
}

}  // namespace luma::app
