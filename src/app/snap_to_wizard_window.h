#ifndef LUMA_APP_SNAP_TO_WIZARD_WINDOW_H_
#define LUMA_APP_SNAP_TO_WIZARD_WINDOW_H_

#include <QDialog>

#include "core/view/snap_to_wizard.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace luma::app {

// "Snap-To Wizard": the user clicks an object in the doll and takes it as
// parent or child here; the wizard says whether the pair can get a snap-to
// effect or has one to remove. The doll window keeps the wizard's state,
// so a parent chosen from its context menu is here too.
class SnapToWizardWindow : public QDialog {
 public:
  SnapToWizardWindow(QWidget* parent, SnapToWizard& wizard, const QString& doll_title);
  void SetDollTitle(const QString& doll_title);

  // Shows the wizard's state again: picks, status and which buttons work.
  void Refresh();

  QPushButton* parent_button() const { return pick_parent_; }
  QPushButton* child_button() const { return pick_child_; }
  QPushButton* find_button() const { return find_; }
  QPushButton* add_button() const { return add_; }
  QPushButton* remove_button() const { return remove_; }
  QCheckBox* stillin_box() const { return stillin_; }
  QLabel* status_label() const { return status_; }
  QLabel* parent_label() const { return parent_; }
  QLabel* child_label() const { return child_; }

 protected:
  bool event(QEvent* event) override;

 private:
  SnapToWizard& wizard_;
  QLabel* parent_ = nullptr;
  QLabel* child_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* pick_parent_ = nullptr;
  QPushButton* pick_child_ = nullptr;
  QPushButton* find_ = nullptr;
  QCheckBox* stillin_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* remove_ = nullptr;
};

}  // namespace luma::app

#endif  // LUMA_APP_SNAP_TO_WIZARD_WINDOW_H_
