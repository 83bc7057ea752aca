#include "app/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/main_frame.h"
#include "core/view/device_status.h"

namespace luma::app {

AboutDialog::AboutDialog(RenderDevice* device, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString("Lumadoll version ") + kProgramVersion);
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(windowIcon().pixmap(48, 48));
  top->addWidget(icon, 0, Qt::AlignTop);
  auto* name = new QLabel(QString("Lumadoll\nVersion ") + kProgramVersion, this);
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  top->addWidget(name, 1);
  layout->addLayout(top);

  QString lines;
  if (device) {
    for (const std::string& line : AboutDeviceLines(device->flags())) {
      lines += QString::fromStdString(line) + "\n";
    }
    lines.chop(1);
  } else {
    lines = QString::fromStdString(DeviceStatusReport(nullptr)).trimmed();
  }
  device_lines_ = new QLabel(lines, this);
  layout->addWidget(device_lines_);

  details_ = new QPlainTextEdit(this);
  details_->setReadOnly(true);
  details_->setPlainText(QString::fromStdString(DeviceStatusReport(device)).remove('\r'));
  details_->setTabStopDistance(details_->fontMetrics().horizontalAdvance(' ') * 4);
  details_->setLineWrapMode(QPlainTextEdit::NoWrap);
  details_->setMinimumSize(360, 220);
  details_->hide();
  layout->addWidget(details_, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  properties_ = buttons->addButton("DirectX Properties", QDialogButtonBox::ActionRole);
  connect(properties_, &QPushButton::clicked, this, [this] {
    const bool open = !details_->isVisible();
    details_->setVisible(open);
    if (!open) {
      // Closed again, the box goes back to the height it had: the layout
      // alone would leave the room the status text took.
      this->layout()->activate();
      resize(width(), sizeHint().height());
    }
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

void RunAboutBox(CMainFrame& main_frame) {
  // Without a device the box says so in its device lines.
  const Result<RenderDevice*> device = main_frame.device();
  AboutDialog dialog(device.ok() ? *device : nullptr, &main_frame);
  dialog.setWindowIcon(main_frame.windowIcon());
  main_frame.dialogs().RunInfoDialog(dialog);
}

}  // namespace luma::app
