#include "app/thumbnail_options_page.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "app/file_dialogs.h"
#include "core/host/option_texts.h"

namespace luma::app {
namespace {

// A sunken frame with the thumbnail's outline drawn to scale inside it.
class ThumbnailPreview : public QFrame {
 public:
  ThumbnailPreview() {
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setFixedSize(Settings::kMaxThumbWidth / 2 + 2 * frameWidth(),
                 Settings::kMaxThumbHeight / 2 + 2 * frameWidth());
  }
  void SetSize(int width, int height) {
    width_ = width;
    height_ = height;
    update();
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QFrame::paintEvent(event);
    const QRect inside = contentsRect();
    const PreviewRect rect = ThumbnailPreviewRect(width_, height_, inside.width(), inside.height());
    QPainter painter(this);
    painter.fillRect(inside.left() + rect.left, inside.top() + rect.top, rect.width, rect.height,
                     palette().color(QPalette::Highlight));
  }

 private:
  int width_ = 0;
  int height_ = 0;
};

QSlider* SizeSlider(int minimum, int maximum, int value) {
  auto* slider = new QSlider(Qt::Horizontal);
  slider->setRange(minimum, maximum);
  slider->setSingleStep(1);
  slider->setPageStep(SliderPageStep(minimum, maximum));
  slider->setValue(value);
  return slider;
}

}  // namespace

ThumbnailOptionsPage::ThumbnailOptionsPage(const Settings& settings, QWidget* parent)
    : QWidget(parent) {
  width_ = SizeSlider(Settings::kMinThumbWidth, Settings::kMaxThumbWidth, settings.thumb_width);
  height_ = SizeSlider(Settings::kMinThumbHeight, Settings::kMaxThumbHeight, settings.thumb_height);
  size_label_ = new QLabel;
  size_label_->setAlignment(Qt::AlignCenter);
  auto* preview = new ThumbnailPreview;
  preview_ = preview;
  connect(width_, &QSlider::valueChanged, this, [this] { SizeChanged(); });
  connect(height_, &QSlider::valueChanged, this, [this] { SizeChanged(); });

  auto* size = new QGridLayout;
  size->addWidget(new QLabel("Width:"), 0, 0);
  size->addWidget(width_, 0, 1);
  size->addWidget(new QLabel("Height:"), 1, 0);
  size->addWidget(height_, 1, 1);
  size->addWidget(size_label_, 2, 1);
  size->addWidget(preview_, 0, 2, 3, 1);
  size->setColumnStretch(1, 1);

  show_ = new QCheckBox("&Show Thumbnail Previews when Opening File");
  show_->setChecked(settings.thumb_show);
  create_ = new QCheckBox("&Automatically create Thumbnail Preview if none exists");
  create_->setChecked(settings.thumb_create);
  verbose_ = new QCheckBox("Show pop-up message when a Thumbnail is created");
  verbose_->setChecked(settings.thumb_verbose);
  use_folder_ = new QCheckBox("Store all Thumbnails in a central folder:");
  use_folder_->setChecked(settings.thumb_use_directory);
  folder_ = new QLineEdit(QFile::decodeName(QByteArray::fromStdString(settings.thumb_directory)));
  select_ = new QPushButton("Select...");
  connect(select_, &QPushButton::clicked, this, [this] { SelectFolder(); });
  auto* folder_row = new QHBoxLayout;
  folder_row->addSpacing(20);
  folder_row->addWidget(folder_, 1);
  folder_row->addWidget(select_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(size);
  layout->addWidget(show_);
  layout->addWidget(create_);
  layout->addWidget(verbose_);
  layout->addWidget(use_folder_);
  layout->addLayout(folder_row);
  layout->addStretch(1);
  SizeChanged();
}

void ThumbnailOptionsPage::TakeValues(Settings& settings) const {
  settings.thumb_width = width_->value();
  settings.thumb_height = height_->value();
  settings.thumb_show = show_->isChecked();
  settings.thumb_create = create_->isChecked();
  settings.thumb_verbose = verbose_->isChecked();
  settings.thumb_use_directory = use_folder_->isChecked();
  settings.thumb_directory = QFile::encodeName(folder_->text()).toStdString();
}

void ThumbnailOptionsPage::SelectFolder() {
  const QString title = "Select Thumbnail Folder";
  const QString chosen = folder_hook_ ? folder_hook_(title, folder_->text())
                                      : AskExistingFolder(this, title, folder_->text());
  if (chosen.isEmpty()) return;
  folder_->setText(chosen);
  use_folder_->setChecked(true);
}

void ThumbnailOptionsPage::SizeChanged() {
  size_label_->setText(
      QString::fromStdString(ThumbnailSizeLabel(width_->value(), height_->value())));
  static_cast<ThumbnailPreview*>(preview_)->SetSize(width_->value(), height_->value());
}

}  // namespace luma::app
