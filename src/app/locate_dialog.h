#ifndef LUMA_APP_LOCATE_DIALOG_H_
#define LUMA_APP_LOCATE_DIALOG_H_

#include <QDialog>

#include "core/view/locate_entries.h"

class QListWidget;
class QPushButton;

namespace luma {
class CKissCnfView;
}

namespace luma::app {

// "Find Object or Cel": lists the doll's objects and cels; Find flashes the
// chosen one in the view (or says it is not on the shown page).
class LocateDialog : public QDialog {
 public:
  LocateDialog(QWidget* parent, CKissCnfView& view, const QString& doll_title);
  void SetDollTitle(const QString& doll_title);

  // The doll was loaded again: the lists are made anew.
  void Reload();
  // Finds the selected entry of a list; false when none is selected or it
  // is not on the shown page.
  bool FindObject();
  bool FindCel();

  QListWidget* objects() const { return objects_; }
  QListWidget* cels() const { return cels_; }

 private:
  CKissCnfView& view_;
  LocateEntries entries_;
  QListWidget* objects_ = nullptr;
  QListWidget* cels_ = nullptr;
  QPushButton* find_object_ = nullptr;
  QPushButton* find_cel_ = nullptr;
};

}  // namespace luma::app

#endif  // LUMA_APP_LOCATE_DIALOG_H_
