#include "app/palette_editor_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/byte_text.h"
#include "app/file_dialogs.h"
#include "core/gfx/argb.h"
#include "core/view/kiss_cnf_view.h"

namespace luma::app {
namespace {

// The grid's sunken frame takes 3 pixels on each side.
constexpr int kGridInset = 3;
// Room for 16 cells of 16 pixels and the frame.
constexpr int kGridRoom = 16 * 16 + 2 * kGridInset;
constexpr int kRed = 0, kGreen = 1, kBlue = 2, kBrightness = 3;

QColor ToQColor(uint32_t argb) {
  return QColor(static_cast<int>(RedOf(argb)), static_cast<int>(GreenOf(argb)),
                static_cast<int>(BlueOf(argb)));
}

}  // namespace

ColorGridWidget::ColorGridWidget(PaletteEditor& editor, QWidget* parent)
    : QWidget(parent), editor_(editor) {
  const int side = ColorGridControlSide(kGridRoom);
  setFixedSize(side, side);
}

ColorGridLayout ColorGridWidget::Layout() const {
  return ColorGridFor(editor_.colors(), width() - 2 * kGridInset, height() - 2 * kGridInset);
}

void ColorGridWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  const ColorGridLayout grid = Layout();
  const int count = grid.columns * grid.columns;
  for (int i = 0; i < count; ++i) {
    const QRect cell(kGridInset + (i % grid.columns) * grid.cell_width,
                     kGridInset + (i / grid.columns) * grid.cell_height, grid.cell_width,
                     grid.cell_height);
    painter.fillRect(cell.adjusted(1, 1, -1, -1), ToQColor(editor_.ColorAt(i)));
  }
  // The selected colour gets a frame in black and white, visible on any colour.
  const int i = editor_.current_index();
  const QRect selected(kGridInset + (i % grid.columns) * grid.cell_width,
                       kGridInset + (i / grid.columns) * grid.cell_height, grid.cell_width - 1,
                       grid.cell_height - 1);
  painter.setPen(Qt::black);
  painter.drawRect(selected);
  painter.setPen(Qt::white);
  painter.drawRect(selected.adjusted(1, 1, -1, -1));
}

void ColorGridWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint() - QPoint(kGridInset, kGridInset);
  if (on_select) on_select(ColorGridIndexAt(Layout(), at.x(), at.y()));
}

PaletteEditorDialog::PaletteEditorDialog(PaletteEditor& editor, const QString& doll_name,
                                         QWidget* parent)
    : QDialog(parent), editor_(editor) {
  setObjectName("Palette Editor");
  SetDollTitle(doll_name);
  setModal(false);

  auto* layout = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  layout->addLayout(left);

  kcf_box_ = new QComboBox;
  left->addWidget(kcf_box_);
  auto* spins = new QHBoxLayout;
  groups_ = new QSpinBox;
  groups_->setRange(1, kPaletteGroupCount);
  group_ = new QSpinBox;
  auto* groups_label = new QLabel("Gr&oups:");
  groups_label->setBuddy(groups_);
  auto* group_label = new QLabel("&This Group:");
  group_label->setBuddy(group_);
  spins->addWidget(groups_label);
  spins->addWidget(groups_);
  spins->addSpacing(12);
  spins->addWidget(group_label);
  spins->addWidget(group_);
  spins->addStretch(1);
  left->addLayout(spins);

  auto* channels = new QGridLayout;
  const char* labels[] = {"&Red:", "&Green:", "&Blue:", "Br&ightness:"};
  for (int c = 0; c < 4; ++c) {
    auto* label = new QLabel(labels[c]);
    Channel& channel = channels_[static_cast<size_t>(c)];
    channel.slider = new QSlider(Qt::Horizontal);
    channel.slider->setRange(0, 255);
    channel.slider->setSingleStep(8);
    channel.slider->setPageStep(32);
    channel.edit = new QLineEdit;
    channel.edit->setMaxLength(4);
    channel.edit->setFixedWidth(channel.edit->fontMetrics().horizontalAdvance("00000") + 12);
    label->setBuddy(channel.slider);
    channels->addWidget(label, c, 0);
    channels->addWidget(channel.slider, c, 1);
    channels->addWidget(channel.edit, c, 2);
    connect(channel.slider, &QSlider::valueChanged, this, [this, c](int value) {
      if (!refreshing_) SetChannel(c, value);
    });
    connect(channel.edit, &QLineEdit::editingFinished, this, [this, c] { ChannelTyped(c); });
  }
  left->addLayout(channels);

  index_button_ = new QPushButton;
  left->addWidget(index_button_);
  immediate_ = new QCheckBox("Apply Changes Immediately");
  left->addWidget(immediate_);
  left->addStretch(1);

  auto* right = new QVBoxLayout;
  layout->addLayout(right);
  grid_ = new ColorGridWidget(editor_);
  right->addWidget(grid_);
  auto* actions = new QGridLayout;
  apply_ = new QPushButton("&Apply");
  append_ = new QPushButton("Append Color Groups from Other &KCF");
  reset_color_ = new QPushButton("R&eset Color");
  reset_all_ = new QPushButton("Reset A&ll Colors");
  save_ = new QPushButton("&Save");
  actions->addWidget(apply_, 0, 0);
  actions->addWidget(save_, 0, 1);
  actions->addWidget(reset_color_, 1, 0);
  actions->addWidget(reset_all_, 1, 1);
  actions->addWidget(append_, 2, 0, 1, 2);
  right->addLayout(actions);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  right->addWidget(buttons);
  for (QPushButton* button : {apply_, append_, reset_color_, reset_all_, save_}) {
    button->setAutoDefault(false);
  }

  connect(kcf_box_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (refreshing_ || index < 0) return;
    editor_.SelectKcf(index);
    Refresh();
  });
  connect(groups_, &QSpinBox::valueChanged, this, [this](int count) {
    if (refreshing_) return;
    editor_.SetGroupCount(count);
    Edited(editor_.apply_immediately());
  });
  connect(group_, &QSpinBox::valueChanged, this, [this](int group) {
    if (refreshing_) return;
    editor_.SelectGroup(group);
    Refresh();
  });
  grid_->on_select = [this](int index) {
    editor_.SelectColor(index);
    Refresh();
  };
  connect(index_button_, &QPushButton::clicked, this, [this] { PickColour(); });
  connect(immediate_, &QCheckBox::toggled, this, [this](bool on) {
    editor_.set_apply_immediately(on);
    if (on) {
      editor_.Apply();
      Edited(true);
    }
  });
  connect(apply_, &QPushButton::clicked, this, [this] {
    editor_.Apply();
    Edited(true);
  });
  connect(append_, &QPushButton::clicked, this, [this] {
    const bool appended = editor_.AppendGroups([this]() -> std::string {
      if (append_hook_) return append_hook_();
      const QString path = AskOpenFileName(this, "Append Palette", QString(),
                                           "KCF Palette Files (*.kcf *.KCF);;All files (*)");
      return path.isEmpty() ? std::string() : QFile::encodeName(path).toStdString();
    });
    Edited(appended && editor_.apply_immediately());
  });
  connect(reset_color_, &QPushButton::clicked, this, [this] {
    editor_.ResetColor();
    Edited(editor_.apply_immediately());
  });
  connect(reset_all_, &QPushButton::clicked, this, [this] {
    editor_.ResetAllColors();
    Edited(editor_.apply_immediately());
  });
  connect(save_, &QPushButton::clicked, this, [this] { Edited(editor_.Save(save_chooser_)); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void PaletteEditorDialog::OpenEditor() {
  editor_.Open();
  Refresh();
  show();
  raise();
  activateWindow();
}

void PaletteEditorDialog::SetDollTitle(const QString& doll_name) {
  setWindowTitle("Palette Editor for " + doll_name);
  if (kcf_box_ && isVisible()) Refresh();
}

void PaletteEditorDialog::Refresh() {
  refreshing_ = true;
  kcf_box_->clear();
  for (const std::string& name : editor_.KcfNames()) {
    kcf_box_->addItem(DollText(name, editor_.view().doc().model().text_encoding));
  }
  kcf_box_->setCurrentIndex(editor_.current_kcf());
  groups_->setValue(editor_.group_count());
  group_->setRange(0, editor_.group_count() - 1);
  group_->setValue(editor_.current_group());
  const int values[] = {editor_.red(), editor_.green(), editor_.blue(), editor_.brightness()};
  for (int c = 0; c < 4; ++c) {
    channels_[static_cast<size_t>(c)].slider->setValue(values[c]);
    channels_[static_cast<size_t>(c)].edit->setText(QString::number(values[c]));
  }
  index_button_->setText(QString::asprintf("Color Index #%d", editor_.current_index()));
  const QColor colour(editor_.red(), editor_.green(), editor_.blue());
  const QColor text = colour.lightness() < 128 ? Qt::white : Qt::black;
  index_button_->setStyleSheet(
      QString("background-color: %1; color: %2;").arg(colour.name(), text.name()));
  immediate_->setChecked(editor_.apply_immediately());
  reset_color_->setEnabled(editor_.CanResetColor());
  const bool any = editor_.kcf_count() > 0;
  for (QWidget* w : std::initializer_list<QWidget*>{kcf_box_, groups_, group_, apply_, append_,
                                                    reset_all_, save_, index_button_}) {
    w->setEnabled(any);
  }
  grid_->update();
  refreshing_ = false;
}

int PaletteEditorDialog::ChannelValue(int channel) const {
  switch (channel) {
    case kRed:
      return editor_.red();
    case kGreen:
      return editor_.green();
    case kBlue:
      return editor_.blue();
    default:
      return editor_.brightness();
  }
}

void PaletteEditorDialog::SetChannel(int channel, int value) {
  if (value == ChannelValue(channel)) return;
  bool taken = false;
  switch (channel) {
    case kRed:
      taken = editor_.SetRed(value);
      break;
    case kGreen:
      taken = editor_.SetGreen(value);
      break;
    case kBlue:
      taken = editor_.SetBlue(value);
      break;
    case kBrightness:
      taken = editor_.SetBrightness(value);
      break;
  }
  Edited(taken && editor_.apply_immediately());
}

void PaletteEditorDialog::ChannelTyped(int channel) {
  bool ok = false;
  const int value = channels_[static_cast<size_t>(channel)].edit->text().trimmed().toInt(&ok);
  // Anything but a number in range is refused: the values shown before come back.
  if (!ok || value < 0 || value > 255) {
    Refresh();
    return;
  }
  SetChannel(channel, value);
}

void PaletteEditorDialog::PickColour() {
  const QColor chosen = QColorDialog::getColor(
      QColor(editor_.red(), editor_.green(), editor_.blue()), this, index_button_->text());
  if (!chosen.isValid()) return;
  editor_.SetRed(chosen.red());
  editor_.SetGreen(chosen.green());
  editor_.SetBlue(chosen.blue());
  Edited(editor_.apply_immediately());
}

void PaletteEditorDialog::Edited(bool doll_changed) {
  Refresh();
  if (doll_changed && applied_) applied_();
}

void PaletteEditorDialog::done(int result) {
  if (result == QDialog::Accepted) {
    editor_.Apply();
    if (applied_) applied_();
  }
  editor_.Close();
  QDialog::done(result);
}

}  // namespace luma::app
