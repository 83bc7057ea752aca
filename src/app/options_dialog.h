#ifndef LUMA_APP_OPTIONS_DIALOG_H_
#define LUMA_APP_OPTIONS_DIALOG_H_

#include <QDialog>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "core/host/settings.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace luma {
class Host;
}

namespace luma::app {

class ThumbnailOptionsPage;
class ValuePoolsPage;

// "Options": seven pages over the user's settings and an OK button. The
// pages start from `settings`; settings() gives them back as the pages
// stand, in range. Value pools deleted on its pool page are gone at once,
// whatever happens to the other edits.
class OptionsDialog : public QDialog {
 public:
  // `paletted_textures`: whether the device draws with palettes of its own
  // (the Video page's status line). Questions about deleting pools go
  // through `host`.
  OptionsDialog(const Settings& settings, bool paletted_textures, Host& host, QWidget* parent);
  ~OptionsDialog() override;

  Settings settings() const;

  QTabWidget* tabs() const { return tabs_; }
  QSlider* easy_click_slider() const { return easy_click_; }
  QLabel* easy_click_label() const { return easy_click_label_; }
  ThumbnailOptionsPage* thumbnail_page() const { return thumbnails_; }
  ValuePoolsPage* pool_page() const { return pools_; }
  QComboBox* text_encoding_box() const { return text_encoding_; }

 private:
  QWidget* BoundingPage();
  QWidget* MousePage();
  QWidget* ShellPage();
  QWidget* VideoPage(bool paletted_textures);
  QWidget* MiscPage();

  // Controls tied to one setting each, filled from it and read back.
  QCheckBox* Box(const char* text, bool Settings::*value);
  QButtonGroup* Radios(QWidget* parent, const std::vector<const char*>& texts,
                       int Settings::*value);
  QSpinBox* Spin(int minimum, int maximum, int Settings::*value);

  Settings initial_;
  QTabWidget* tabs_ = nullptr;
  QSlider* easy_click_ = nullptr;
  QLabel* easy_click_label_ = nullptr;
  ThumbnailOptionsPage* thumbnails_ = nullptr;
  ValuePoolsPage* pools_ = nullptr;
  QComboBox* text_encoding_ = nullptr;
  std::vector<std::pair<QCheckBox*, bool Settings::*>> boxes_;
  std::vector<std::pair<QButtonGroup*, int Settings::*>> radios_;
  std::vector<std::pair<QSpinBox*, int Settings::*>> spins_;
};

}  // namespace luma::app

#endif  // LUMA_APP_OPTIONS_DIALOG_H_
