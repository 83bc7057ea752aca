#include "app/options_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/thumbnail_options_page.h"
#include "app/value_pools_page.h"
#include "core/host/option_texts.h"

namespace luma::app {
namespace {

QLabel* WrappedLabel(const QString& text) {
  auto* label = new QLabel(text);
  label->setWordWrap(true);
  return label;
}

QSpinBox* SpinRow(QVBoxLayout* layout, const char* text, QSpinBox* spin) {
  auto* row = new QHBoxLayout;
  auto* label = new QLabel(text);
  label->setBuddy(spin);
  row->addWidget(label);
  row->addWidget(spin);
  row->addStretch(1);
  layout->addLayout(row);
  return spin;
}

}  // namespace

OptionsDialog::OptionsDialog(const Settings& settings, bool paletted_textures, Host& host,
                             QWidget* parent)
    : QDialog(parent), initial_(settings) {
  setWindowTitle("Options");

  tabs_ = new QTabWidget;
  tabs_->addTab(BoundingPage(), "Bounding");
  tabs_->addTab(MousePage(), "Mouse");
  thumbnails_ = new ThumbnailOptionsPage(settings);
  tabs_->addTab(thumbnails_, "Thumbnails");
  tabs_->addTab(ShellPage(), "Shell()");
  tabs_->addTab(VideoPage(paletted_textures), "Video");
  pools_ = new ValuePoolsPage(settings, host);
  tabs_->addTab(pools_, "Value Pools");
  tabs_->addTab(MiscPage(), "Misc");
  tabs_->setCurrentIndex(0);

  for (const auto& [box, value] : boxes_) box->setChecked(settings.*value);
  for (const auto& [group, value] : radios_) {
    if (QAbstractButton* button = group->button(settings.*value)) button->setChecked(true);
  }
  for (const auto& [spin, value] : spins_) spin->setValue(settings.*value);

  auto* note = new QLabel("You must restart Lumadoll for some settings to take effect.");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(note, 1);
  bottom->addWidget(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(bottom);
}

OptionsDialog::~OptionsDialog() = default;

Settings OptionsDialog::settings() const {
  Settings out = initial_;
  for (const auto& [box, value] : boxes_) out.*value = box->isChecked();
  for (const auto& [group, value] : radios_) {
    if (group->checkedId() >= 0) out.*value = group->checkedId();
  }
  for (const auto& [spin, value] : spins_) out.*value = spin->value();
  out.easy_click = easy_click_->value();
  out.text_encoding = text_encoding_->currentIndex();
  thumbnails_->TakeValues(out);
  pools_->TakeValues(out);
  out.Clamp();
  return out;
}

QCheckBox* OptionsDialog::Box(const char* text, bool Settings::*value) {
  auto* box = new QCheckBox(text);
  boxes_.emplace_back(box, value);
  return box;
}

QButtonGroup* OptionsDialog::Radios(QWidget* parent, const std::vector<const char*>& texts,
                                    int Settings::*value) {
  auto* group = new QButtonGroup(parent);
  auto* layout = new QVBoxLayout(parent);
  for (size_t i = 0; i < texts.size(); ++i) {
    auto* radio = new QRadioButton(texts[i]);
    group->addButton(radio, static_cast<int>(i));
    layout->addWidget(radio);
  }
  radios_.emplace_back(group, value);
  return group;
}

QSpinBox* OptionsDialog::Spin(int minimum, int maximum, int Settings::*value) {
  auto* spin = new QSpinBox;
  spin->setRange(minimum, maximum);
  spins_.emplace_back(spin, value);
  return spin;
}

QWidget* OptionsDialog::BoundingPage() {
  auto* page = new QWidget;
  auto* enforcement = new QGroupBox("Default Boundary Enforcement");
  Radios(enforcement,
         {"&All (enforce all boundaries)", "&FKiSS (enforce boundaries for FKiSS)",
          "&Limited (enforce visible boundaries for FKiSS)",
          "&Visible (enforce visible boundaries)", "&None"},
         &Settings::boundary_enforcement);
  auto* override_group = new QGroupBox("Boundary Override");
  Radios(override_group,
         {"&Never override my boundary settings", "&Ask to override when unbounded seems necessary",
          "Automatically &override when unbounded seems necessary"},
         &Settings::bounding_ask);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(enforcement);
  layout->addWidget(override_group);
  layout->addWidget(Box("&Edged Border", &Settings::edged_border));
  layout->addStretch(1);
  return page;
}

QWidget* OptionsDialog::MousePage() {
  auto* page = new QWidget;
  auto* style = new QGroupBox("Pointer Style");
  Radios(style, {"&Normal", "&Custom", "&Dot"}, &Settings::mouse_type);

  easy_click_ = new QSlider(Qt::Horizontal);
  easy_click_->setRange(0, 5);
  easy_click_->setPageStep(1);
  easy_click_->setTickPosition(QSlider::TicksBelow);
  easy_click_label_ = new QLabel;
  connect(easy_click_, &QSlider::valueChanged, this, [this](int radius) {
    easy_click_label_->setText(QString::fromStdString(EasyClickLabel(radius)));
  });
  easy_click_->setValue(initial_.easy_click);
  easy_click_label_->setText(QString::fromStdString(EasyClickLabel(easy_click_->value())));

  auto* wheel = new QGroupBox("Mouse Wheel");
  Radios(
      wheel,
      {"Mouse wheel controls &Zoom, CTRL+wheel Scrolls", "Mouse wheel &Scrolls, CTRL+wheel Zooms"},
      &Settings::scroll_type);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(style);
  layout->addWidget(Box("&Hide on Drag", &Settings::mouse_hide));
  layout->addWidget(Box("Pointer Stays Put on Immoveable Objects", &Settings::stuck_mouse));
  layout->addWidget(easy_click_label_);
  layout->addWidget(easy_click_);
  layout->addWidget(wheel);
  layout->addStretch(1);
  return page;
}

QWidget* OptionsDialog::ShellPage() {
  auto* page = new QWidget;
  auto* warning = new QGroupBox("Warning");
  auto* warning_layout = new QVBoxLayout(warning);
  warning_layout->addWidget(
      WrappedLabel("The FKiSS command Shell() can open a web or e-mail URL."));
  warning_layout->addWidget(
      WrappedLabel("Please use caution when allowing Lumadoll to use the Shell() command."));
  warning_layout->addWidget(
      WrappedLabel("A KiSS set you do not trust could lead your browser to a web address that "
                   "harms your computer or your privacy."));
  auto* choices = new QWidget;
  Radios(choices, {"Disable Shell()", "Ask me before executing Shell()", "Always allow Shell()"},
         &Settings::shell_permission);
  warning_layout->addWidget(choices);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(warning);
  layout->addStretch(1);
  return page;
}

QWidget* OptionsDialog::VideoPage(bool paletted_textures) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(
      Box("&Warn if paletted textures are not supported by video card.", &Settings::warn_palette));
  layout->addWidget(new QLabel(PalettedTextureStatus(paletted_textures)));
  layout->addWidget(
      Box("Force Palette &Emulation next time Lumadoll starts up", &Settings::force_palette));
  layout->addWidget(
      Box("&Recycle unused texture memory whenever possible.", &Settings::recycle_textures));
  auto* recycle_note = WrappedLabel(
      "Recycling can reduce texture memory use by up to 75%, but may make the use of video "
      "memory less efficient.");
  recycle_note->setIndent(20);
  layout->addWidget(recycle_note);
  layout->addWidget(Box("Force &Video Memory Saver mode", &Settings::video_memory_saver));
  layout->addWidget(Box("Use &Texel Alignment Adjustment", &Settings::texel_adjust));
  layout->addStretch(1);
  return page;
}

QWidget* OptionsDialog::MiscPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  SpinRow(layout, "Strong Fix Value:", Spin(2, 16000000, &Settings::strong_fix));
  SpinRow(layout, "&Quick Timer:", Spin(1, 50, &Settings::quick_timer));
  layout->addWidget(Box("&Always associate CNF, LZH, and LHA extensions with Lumadoll",
                        &Settings::file_association));
  layout->addWidget(Box("Show &Closing Progress", &Settings::closing_progress));
  layout->addWidget(Box("Ignore &Snap-to in \"Find FKiSS\"", &Settings::ignore_snap));
  QCheckBox* errors_only = Box("Don't Display &Error Report if there are Warnings but no Errors",
                               &Settings::errors_only);
  layout->addWidget(errors_only);
  QCheckBox* errors_lzh =
      Box("...&but only for LZH files.\nKeep showing warnings for uncompressed dolls",
          &Settings::errors_lzh);
  // Indented under the box it qualifies, and only meaningful with it.
  auto* lzh_row = new QHBoxLayout;
  lzh_row->addSpacing(20);
  lzh_row->addWidget(errors_lzh);
  layout->addLayout(lzh_row);
  connect(errors_only, &QCheckBox::toggled, errors_lzh, &QWidget::setEnabled);
  errors_lzh->setEnabled(initial_.errors_only);
  layout->addWidget(Box("&Only run a single instance of Lumadoll", &Settings::single_instance));
  layout->addWidget(Box("Don't warn about &missing cels in FKiSS", &Settings::no_missing_cel));
  SpinRow(layout, "Maximum Stack &Depth:", Spin(20, 16000000, &Settings::max_stack));
  layout->addWidget(Box("Show &Tips at Startup", &Settings::show_tips));
  // For the dolls whose encoding the automatic choice gets wrong.
  text_encoding_ = new QComboBox;
  for (const TextEncoding encoding : {TextEncoding::kAutomatic, TextEncoding::kShiftJis,
                                      TextEncoding::kWindows1252, TextEncoding::kUtf8}) {
    text_encoding_->addItem(TextEncodingName(encoding));
  }
  text_encoding_->setCurrentIndex(initial_.text_encoding);
  auto* encoding_row = new QHBoxLayout;
  auto* encoding_label = new QLabel("Text E&ncoding:");
  encoding_label->setBuddy(text_encoding_);
  encoding_row->addWidget(encoding_label);
  encoding_row->addWidget(text_encoding_);
  encoding_row->addStretch(1);
  layout->addLayout(encoding_row);
  layout->addStretch(1);
  return page;
}

}  // namespace luma::app
