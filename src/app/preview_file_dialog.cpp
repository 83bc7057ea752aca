#include "app/preview_file_dialog.h"

#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <algorithm>

#include "app/file_dialogs.h"
#include "core/render/thumbnail_preview.h"

namespace luma::app {
namespace {

constexpr char kNoPreview[] = "no preview";

}  // namespace

PreviewFileDialog::PreviewFileDialog(QWidget* parent, const QString& caption, const QString& folder,
                                     const QString& filter, const Settings& settings,
                                     std::string data_folder)
    : QFileDialog(parent, caption, folder, filter),
      settings_(settings),
      data_folder_(std::move(data_folder)) {
  // The platform's own dialog cannot carry the pane.
  setOption(QFileDialog::DontUseNativeDialog);
  setAcceptMode(QFileDialog::AcceptOpen);
  setFileMode(QFileDialog::ExistingFile);

  preview_ = new QLabel(kNoPreview, this);
  preview_->setObjectName("preview");
  preview_->setAlignment(Qt::AlignCenter);
  preview_->setFrameShape(QFrame::StyledPanel);
  // As large as the thumbnails the settings make, and no larger.
  FitPane(QSize(settings_.thumb_width, settings_.thumb_height));
  // The non-native dialog lays itself out on a grid; the pane takes a
  // column of its own to the right of the file list.
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    grid->addWidget(preview_, 0, grid->columnCount(), grid->rowCount(), 1, Qt::AlignTop);
  }
  connect(this, &QFileDialog::currentChanged, this, &PreviewFileDialog::ShowPreview);
  // A new folder has nothing selected yet.
  connect(this, &QFileDialog::directoryEntered, this, [this] { ShowPreview(QString()); });
  // A name typed or set by the program changes no current item; follow the
  // name box as well.
  if (auto* name = findChild<QLineEdit*>("fileNameEdit")) {
    connect(name, &QLineEdit::textChanged, this, [this](const QString& text) {
      if (!text.isEmpty()) ShowPreview(directory().filePath(text));
    });
  }
  const QStringList initial = selectedFiles();
  ShowPreview(initial.isEmpty() ? QString() : initial.first());
  FitFileDialog(*this, preview_->width());
}

void PreviewFileDialog::FitPane(QSize picture) {
  const int frame = 2 * preview_->frameWidth();
  const QSize text = preview_->fontMetrics().size(0, kNoPreview);
  preview_->setFixedSize(std::max(picture.width(), text.width()) + frame,
                         std::max(picture.height(), text.height()) + frame);
}

void PreviewFileDialog::ShowPreview(const QString& path) {
  shown_.clear();
  QPixmap picture;
  const std::string selected = QFile::encodeName(path).toStdString();
  for (const std::string& candidate : PreviewThumbnailPaths(selected, settings_, data_folder_)) {
    // The thumbnail is a bitmap under its own extension.
    if (picture.load(QFile::decodeName(candidate.c_str()), "BMP")) {
      shown_ = QFile::decodeName(candidate.c_str());
      break;
    }
  }
  if (shown_.isEmpty()) {
    preview_->setPixmap(QPixmap());
    preview_->setText(kNoPreview);
  } else {
    // A thumbnail made with larger settings is shown whole all the same.
    const QSize pane = preview_->size() - QSize(2, 2) * preview_->frameWidth();
    if (picture.width() > pane.width() || picture.height() > pane.height()) {
      FitPane(picture.size().expandedTo(pane));
    }
    preview_->setPixmap(picture);
  }
}

}  // namespace luma::app
