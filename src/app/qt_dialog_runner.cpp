#include "app/qt_dialog_runner.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "app/additional_files_dialog.h"
#include "app/byte_text.h"
#include "app/options_dialog.h"
#include "app/save_cnf_dialog.h"

namespace luma::app {
namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kWarning:
      return QMessageBox::Warning;
    case MessageIcon::kError:
      return QMessageBox::Critical;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

// A list of choices with OK and Cancel; a double click chooses at once.
int ChooseFromList(QWidget* parent, const QString& caption, const QString& prompt,
                   const std::vector<std::string>& items) {
  QDialog dialog(parent);
  dialog.setWindowTitle(caption);
  auto* layout = new QVBoxLayout(&dialog);
  if (!prompt.isEmpty()) layout->addWidget(new QLabel(prompt));
  auto* list = new QListWidget;
  for (const std::string& item : items) list->addItem(FromBytes(item));
  list->setCurrentRow(0);
  layout->addWidget(list);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  if (dialog.exec() != QDialog::Accepted) return -1;
  return list->currentRow();
}

// A message too long for a message box (the report of an event stack that
// ran too deep lists every stacked event): the text scrolls in a window.
constexpr int kMaxMessageBoxLines = 20;

void ShowLongMessage(QWidget* parent, const QString& caption, const QString& text,
                     QMessageBox::Icon icon) {
  QDialog dialog(parent);
  dialog.setWindowTitle(caption);
  auto* layout = new QVBoxLayout(&dialog);
  auto* row = new QHBoxLayout;
  if (icon != QMessageBox::NoIcon) {
    auto* picture = new QLabel;
    const int size = dialog.style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    const QStyle::StandardPixmap kind =
        icon == QMessageBox::Critical   ? QStyle::SP_MessageBoxCritical
        : icon == QMessageBox::Warning  ? QStyle::SP_MessageBoxWarning
        : icon == QMessageBox::Question ? QStyle::SP_MessageBoxQuestion
                                        : QStyle::SP_MessageBoxInformation;
    picture->setPixmap(dialog.style()->standardIcon(kind).pixmap(size, size));
    picture->setAlignment(Qt::AlignTop);
    row->addWidget(picture);
  }
  auto* body = new QPlainTextEdit;
  body->setReadOnly(true);
  body->setObjectName("message");
  body->setPlainText(QString(text).remove('\r'));
  body->setMinimumSize(460, 300);
  row->addWidget(body);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  dialog.exec();
}

}  // namespace

void QtDialogRunner::ShowMessage(QWidget* parent, std::string_view caption, std::string_view text,
                                 MessageIcon icon) {
  if (std::count(text.begin(), text.end(), '\n') >= kMaxMessageBoxLines) {
    ShowLongMessage(parent, FromBytes(caption), FromBytes(text), BoxIcon(icon));
    return;
  }
  QMessageBox box(BoxIcon(icon), FromBytes(caption), FromBytes(text), QMessageBox::Ok, parent);
  box.exec();
}

Answer QtDialogRunner::Ask(QWidget* parent, std::string_view caption, std::string_view text,
                           Buttons buttons, MessageIcon icon) {
  QMessageBox::StandardButtons set = QMessageBox::Ok;
  // Enter takes the answer that changes nothing.
  QMessageBox::StandardButton default_button = QMessageBox::Ok;
  switch (buttons) {
    case Buttons::kOk:
      break;
    case Buttons::kOkCancel:
      set = QMessageBox::Ok | QMessageBox::Cancel;
      default_button = QMessageBox::Cancel;
      break;
    case Buttons::kYesNo:
      set = QMessageBox::Yes | QMessageBox::No;
      default_button = QMessageBox::No;
      break;
    case Buttons::kYesNoCancel:
      set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      default_button = QMessageBox::Cancel;
      break;
  }
  QMessageBox box(BoxIcon(icon), FromBytes(caption), FromBytes(text), set, parent);
  box.setDefaultButton(default_button);
  switch (box.exec()) {
    case QMessageBox::Ok:
      return Answer::kOk;
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    default:
      return Answer::kCancel;
  }
}

int QtDialogRunner::Choose(QWidget* parent, std::string_view caption, std::string_view prompt,
                           const std::vector<std::string>& items) {
  return ChooseFromList(parent, FromBytes(caption), FromBytes(prompt), items);
}

QString QtDialogRunner::RunFileDialog(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

std::string QtDialogRunner::RunSaveCnfDialog(SaveCnfDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.chosen_path();
}

bool QtDialogRunner::RunAdditionalFilesDialog(AdditionalFilesDialog& dialog) {
  return dialog.exec() == QDialog::Accepted;
}

bool QtDialogRunner::RunOptionsDialog(OptionsDialog& dialog) {
  return dialog.exec() == QDialog::Accepted;
}

void QtDialogRunner::RunInfoDialog(QDialog& dialog) { dialog.exec(); }

}  // namespace luma::app
