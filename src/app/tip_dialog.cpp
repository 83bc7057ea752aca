#include "app/tip_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/toolbar_icons.h"
#include "core/host/settings.h"

namespace luma::app {
namespace {

constexpr const char* kTips[Settings::kTipCount] = {
    "Lumadoll opens a doll straight from its LZH or ZIP archive: there is no need to unpack "
    "it first. Drop the archive onto the window, or double-click an LZH archive in your file "
    "manager.",
    "Drag clothes with the left mouse button. A piece that will not move is fixed to the "
    "doll; click it a few more times and it may come loose.",
    "Ctrl+0 to Ctrl+9 switch between the ten sets of a doll, Shift+0 to Shift+9 between "
    "its palettes. Ctrl+Left and Ctrl+Right step through the sets in use.",
    "Turn the mouse wheel to zoom in and out, and hold Ctrl to scroll instead. The "
    "options let you swap the two.",
    "Zoom Home (the Home key) brings the doll back to its natural size, and Fit Window to "
    "Playfield sizes the window around it.",
    "If a doll's music or sounds get too much, Mute Sound and Mute Music in the Tools "
    "menu silence them for every open doll.",
    "You can have several dolls open at once. Alt+N brings the next one to the front; "
    "only the doll in front keeps its FKiSS timers running.",
    "Doll authors: the error report (Ctrl+E) lists every problem found while loading "
    "the doll and reading its FKiSS script.",
    "Pause FKiSS (Ctrl+P) freezes a doll's animations and timers until you press it "
    "again; the doll keeps everything it was doing.",
    "The bounding button on the toolbar shows how strictly objects are kept inside the "
    "playfield. Click it to step through the modes.",
    "Reset (Ctrl+R) puts every piece of a doll back where it started and runs its "
    "start-up script again.",
    "Starting Lumadoll a second time with a doll brings the window you already have to "
    "the front and opens the doll there.",
};

}  // namespace

const char* TipText(int index) {
  if (index < 0 || index >= Settings::kTipCount) index = 0;
  return kTips[index];
}

TipDialog::TipDialog(Settings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
  setWindowTitle("Tip of the Day");
  setAttribute(Qt::WA_DeleteOnClose);

  auto* icon = new QLabel;
  icon->setPixmap(AppIcon().pixmap(48, 48));
  icon->setAlignment(Qt::AlignTop);
  auto* heading = new QLabel("<b>Did you know...</b>");
  text_ = new QLabel;
  text_->setWordWrap(true);
  text_->setMinimumSize(320, 90);
  text_->setAlignment(Qt::AlignTop | Qt::AlignLeft);

  auto* body = new QVBoxLayout;
  body->addWidget(heading);
  body->addWidget(text_, 1);
  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addLayout(body, 1);

  show_at_start_ = new QCheckBox("&Show tips on startup");
  show_at_start_->setChecked(settings_.show_tips);
  connect(show_at_start_, &QCheckBox::toggled, this, [this](bool on) { settings_.show_tips = on; });

  auto* buttons = new QDialogButtonBox;
  QPushButton* next = buttons->addButton("&Next Tip", QDialogButtonBox::ActionRole);
  buttons->addButton(QDialogButtonBox::Close);
  connect(next, &QPushButton::clicked, this, [this] {
    settings_.current_tip = (settings_.current_tip + 1) % Settings::kTipCount;
    ShowCurrent();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(show_at_start_);
  bottom->addStretch();
  bottom->addWidget(buttons);
  layout->addLayout(bottom);
  ShowCurrent();
}

void TipDialog::ShowCurrent() { text_->setText(TipText(settings_.current_tip)); }

}  // namespace luma::app
