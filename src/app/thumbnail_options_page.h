#ifndef LUMA_APP_THUMBNAIL_OPTIONS_PAGE_H_
#define LUMA_APP_THUMBNAIL_OPTIONS_PAGE_H_

#include <QString>
#include <QWidget>
#include <functional>

#include "core/host/settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace luma::app {

// The "Thumbnails" page of the options: the thumbnail size on two sliders
// with a preview of its shape, when thumbnails are shown and made, and the
// central folder they may all go to.
class ThumbnailOptionsPage : public QWidget {
 public:
  explicit ThumbnailOptionsPage(const Settings& settings, QWidget* parent = nullptr);

  // Writes the page's values into `settings`.
  void TakeValues(Settings& settings) const;

  // "Select...": asks for a folder (the answer is empty when cancelled); a
  // hook answers instead of the folder browser.
  using FolderHook = std::function<QString(const QString& title, const QString& start)>;
  void set_folder_hook(FolderHook hook) { folder_hook_ = std::move(hook); }
  void SelectFolder();

  QSlider* width_slider() const { return width_; }
  QSlider* height_slider() const { return height_; }
  QLabel* size_label() const { return size_label_; }
  QWidget* preview() const { return preview_; }
  QCheckBox* use_folder_box() const { return use_folder_; }
  QLineEdit* folder_edit() const { return folder_; }
  QPushButton* select_button() const { return select_; }

 private:
  void SizeChanged();

  QSlider* width_ = nullptr;
  QSlider* height_ = nullptr;
  QLabel* size_label_ = nullptr;
  QWidget* preview_ = nullptr;
  QCheckBox* show_ = nullptr;
  QCheckBox* create_ = nullptr;
  QCheckBox* verbose_ = nullptr;
  QCheckBox* use_folder_ = nullptr;
  QLineEdit* folder_ = nullptr;
  QPushButton* select_ = nullptr;
  FolderHook folder_hook_;
};

}  // namespace luma::app

#endif  // LUMA_APP_THUMBNAIL_OPTIONS_PAGE_H_
