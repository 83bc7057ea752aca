#ifndef LUMA_APP_PREVIEW_FILE_DIALOG_H_
#define LUMA_APP_PREVIEW_FILE_DIALOG_H_

#include <QFileDialog>
#include <string>

#include "core/host/settings.h"

class QLabel;

namespace luma::app {

// The open-file dialog with a preview pane: when a file is selected, its
// thumbnail (the ".KTN" bitmap beside it, or first in the thumbnail folder
// when the settings keep thumbnails there) is shown, else "no preview".
class PreviewFileDialog : public QFileDialog {
 public:
  PreviewFileDialog(QWidget* parent, const QString& caption, const QString& folder,
                    const QString& filter, const Settings& settings, std::string data_folder);

  // The pane, and the thumbnail file it shows (empty when none).
  QLabel* preview() const { return preview_; }
  const QString& shown_thumbnail() const { return shown_; }
  // Looks up the thumbnail of `path` and shows it.
  void ShowPreview(const QString& path);

 private:
  // The pane holds a picture of `picture` size inside its frame.
  void FitPane(QSize picture);

  Settings settings_;
  std::string data_folder_;
  QLabel* preview_ = nullptr;
  QString shown_;
};

}  // namespace luma::app

#endif  // LUMA_APP_PREVIEW_FILE_DIALOG_H_
