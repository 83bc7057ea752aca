#ifndef LUMA_APP_OBJECT_CEL_INFO_WINDOW_H_
#define LUMA_APP_OBJECT_CEL_INFO_WINDOW_H_

#include <QDialog>
#include <functional>
#include <optional>

#include "core/view/kiss_cnf_view.h"
#include "core/view/object_cel_info.h"

class QCheckBox;
class QFormLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace luma::app {

// "Object/Cel Properties for <doll>": the object and the cel line clicked
// last, on two tabs, with their script events behind the "FKiSS" button. The
// cel tab also edits the cel line's membership of the shown set, mapping,
// ghost flag and transparency. "Locked" keeps the window on its cel while
// the user clicks others. Modeless.
class ObjectCelInfoWindow : public QDialog {
 public:
  enum Tab { kObjectTab = 0, kCelTab = 1 };
  using ApplyHandler = std::function<void(const CelProperties& properties)>;

  ObjectCelInfoWindow(const QString& doll_name, QWidget* parent);

  // Shows a cel; with `edits` the cel tab's controls take those values (a
  // newly chosen cel), otherwise they keep what the user is editing.
  void Fill(const ObjectCelInfo& info, const std::optional<CelProperties>& edits);
  // Nothing selected.
  void Clear();
  void ShowTab(Tab tab);

  bool locked() const;
  void set_apply_handler(ApplyHandler handler) { apply_ = std::move(handler); }
  void set_locked_handler(std::function<void(bool)> handler) { locked_ = std::move(handler); }

  QLabel* status() const { return status_; }
  QTabWidget* tabs() const { return tabs_; }
  QCheckBox* lock_box() const { return lock_; }
  QPushButton* fkiss_button() const { return fkiss_; }
  QPlainTextEdit* script_text() const { return script_; }
  QPushButton* apply_button() const { return apply_button_; }
  QSpinBox* transparency() const { return transparency_; }
  // The value beside `label` on the object or cel tab, empty when none.
  QString ValueOf(Tab tab, const QString& label) const;

 private:
  void ShowScript();
  static void FillForm(QFormLayout* form,
                       const std::vector<std::pair<std::string, std::string>>& rows);

  QLabel* status_;
  QTabWidget* tabs_;
  QFormLayout* object_form_;
  QFormLayout* cel_form_;
  QCheckBox* in_set_;
  QCheckBox* mapped_;
  QCheckBox* ghost_;
  QSpinBox* transparency_;
  QPushButton* apply_button_;
  QWidget* edits_;
  QCheckBox* lock_;
  QPushButton* fkiss_;
  QPlainTextEdit* script_;
  std::optional<ObjectCelInfo> shown_;
  ApplyHandler apply_;
  std::function<void(bool)> locked_;
};

}  // namespace luma::app

#endif  // LUMA_APP_OBJECT_CEL_INFO_WINDOW_H_
