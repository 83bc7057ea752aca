#ifndef LUMA_APP_SET_PROPERTIES_WINDOW_H_
#define LUMA_APP_SET_PROPERTIES_WINDOW_H_

#include <QDialog>
#include <vector>

#include "core/view/set_properties_text.h"

class QFormLayout;
class QLabel;

namespace luma::app {

// "Set Properties for <doll>": the doll's files and counts as the set
// properties rows give them. Modeless.
class SetPropertiesWindow : public QDialog {
 public:
  SetPropertiesWindow(const QString& doll_name, QWidget* parent);

  // Shows the rows; the same rows again change nothing.
  void Fill(const PropertyRows& rows);
  // The value shown beside `label`, empty when there is none.
  QString ValueOf(const QString& label) const;

 private:
  QFormLayout* form_;
  PropertyRows shown_;
  std::vector<QLabel*> values_;
};

}  // namespace luma::app

#endif  // LUMA_APP_SET_PROPERTIES_WINDOW_H_
