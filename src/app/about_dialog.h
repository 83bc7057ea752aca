#ifndef LUMA_APP_ABOUT_DIALOG_H_
#define LUMA_APP_ABOUT_DIALOG_H_

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace luma {
class RenderDevice;
}

namespace luma::app {

class CMainFrame;

inline constexpr char kProgramVersion[] = LUMA_VERSION;

// The about box: the program and its version, how the graphics device
// works, and behind "DirectX Properties" the device's full status. Modal.
class AboutDialog : public QDialog {
 public:
  // `device` may be null (none could be made).
  AboutDialog(RenderDevice* device, QWidget* parent);

  QLabel* device_lines() const { return device_lines_; }
  QPushButton* properties_button() const { return properties_; }
  QPlainTextEdit* properties_text() const { return details_; }

 private:
  QLabel* device_lines_;
  QPushButton* properties_;
  QPlainTextEdit* details_;
};

// Shows the about box for the main window's device.
void RunAboutBox(CMainFrame& main_frame);

}  // namespace luma::app

#endif  // LUMA_APP_ABOUT_DIALOG_H_
