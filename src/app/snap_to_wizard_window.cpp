#include "app/snap_to_wizard_window.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/byte_text.h"
#include "core/view/kiss_cnf_view.h"

namespace luma::app {
namespace {

constexpr char kNothingPicked[] = "(none)";

}  // namespace

SnapToWizardWindow::SnapToWizardWindow(QWidget* parent, SnapToWizard& wizard,
                                       const QString& doll_title)
    : QDialog(parent), wizard_(wizard) {
  SetDollTitle(doll_title);

  auto* help = new QLabel(
      "Click an object in the doll, then take it as the parent (the object snapped to) or as "
      "the child (the object that snaps). The child keeps its present offset from the "
      "parent whenever it is dropped onto it.",
      this);
  help->setWordWrap(true);

  auto* picks = new QGroupBox("Objects", this);
  auto* grid = new QGridLayout(picks);
  parent_ = new QLabel(kNothingPicked, picks);
  child_ = new QLabel(kNothingPicked, picks);
  pick_parent_ = new QPushButton("Clicked Object is &Parent", picks);
  pick_child_ = new QPushButton("Clicked Object is &Child", picks);
  find_ = new QPushButton(picks);
  grid->addWidget(new QLabel("Parent:", picks), 0, 0);
  grid->addWidget(parent_, 0, 1);
  grid->addWidget(pick_parent_, 0, 2);
  grid->addWidget(new QLabel("Child:", picks), 1, 0);
  grid->addWidget(child_, 1, 1);
  grid->addWidget(pick_child_, 1, 2);
  grid->addWidget(find_, 2, 2);
  grid->setColumnStretch(1, 1);

  stillin_ = new QCheckBox("Snap while the child is &still inside (stillin instead of in)", this);
  status_ = new QLabel(this);
  status_->setObjectName("status");
  status_->setFrameShape(QFrame::StyledPanel);
  status_->setAlignment(Qt::AlignCenter);
  status_->setMinimumHeight(status_->fontMetrics().lineSpacing() * 3);

  auto* buttons = new QDialogButtonBox(this);
  add_ = buttons->addButton("&Add", QDialogButtonBox::ActionRole);
  remove_ = buttons->addButton("&Remove", QDialogButtonBox::ActionRole);
  buttons->addButton(QDialogButtonBox::Close);
  for (QPushButton* button : {pick_parent_, pick_child_, find_, add_, remove_}) {
    button->setAutoDefault(false);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(help);
  layout->addWidget(picks);
  layout->addWidget(stillin_);
  layout->addWidget(status_);
  layout->addWidget(buttons);

  connect(pick_parent_, &QPushButton::clicked, this, [this] {
    wizard_.PickParentFromView();
    Refresh();
  });
  connect(pick_child_, &QPushButton::clicked, this, [this] {
    wizard_.PickChildFromView();
    Refresh();
  });
  connect(find_, &QPushButton::clicked, this, [this] {
    wizard_.FindSnapChild();
    Refresh();
  });
  connect(stillin_, &QCheckBox::toggled, this, [this](bool on) { wizard_.set_use_stillin(on); });
  connect(add_, &QPushButton::clicked, this, [this] {
    wizard_.Add();
    Refresh();
  });
  connect(remove_, &QPushButton::clicked, this, [this] {
    wizard_.Remove();
    Refresh();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  Refresh();
}

void SnapToWizardWindow::SetDollTitle(const QString& doll_title) {
  setWindowTitle("Snap-To Wizard - " + doll_title);
}

void SnapToWizardWindow::Refresh() {
  wizard_.Refresh();
  // The picks are named by the cels clicked, in the doll's own bytes.
  const TextEncoding encoding = wizard_.view().doc().model().text_encoding;
  const std::string parent = wizard_.ParentText();
  const std::string child = wizard_.ChildText();
  parent_->setText(parent.empty() ? QString(kNothingPicked) : DollText(parent, encoding));
  child_->setText(child.empty() ? QString(kNothingPicked) : DollText(child, encoding));
  find_->setText(DollText(wizard_.FindLabel(), encoding));
  find_->setEnabled(!parent.empty());
  stillin_->setChecked(wizard_.use_stillin());
  status_->setText(DollText(wizard_.status(), encoding));
  add_->setEnabled(wizard_.can_add());
  remove_->setEnabled(wizard_.can_remove());
}

bool SnapToWizardWindow::event(QEvent* event) {
  // The user may have moved objects in the doll since the last look.
  if (event->type() == QEvent::WindowActivate) Refresh();
  return QDialog::event(event);
}

}  // namespace luma::app
