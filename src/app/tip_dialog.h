#ifndef LUMA_APP_TIP_DIALOG_H_
#define LUMA_APP_TIP_DIALOG_H_

#include <QDialog>

class QCheckBox;
class QLabel;

namespace luma {
struct Settings;
}

namespace luma::app {

// The twelve tips, in showing order.
const char* TipText(int index);

// "Tip of the Day": shows the settings' current tip; "Next Tip" advances it,
// and the check box is "Show Tips". Modeless; edits the settings in place.
class TipDialog : public QDialog {
 public:
  TipDialog(Settings& settings, QWidget* parent);

 private:
  void ShowCurrent();

  Settings& settings_;
  QLabel* text_;
  QCheckBox* show_at_start_;
};

}  // namespace luma::app

#endif  // LUMA_APP_TIP_DIALOG_H_
