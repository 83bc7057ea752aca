#include "app/file_dialogs.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QScreen>
#include <QTreeView>
#include <algorithm>

namespace luma::app {
namespace {

// Characters of room: a folder path in the "Look in" box, and the file
// list's name, size, type and date columns side by side, with the places
// beside them.
constexpr int kPathChars = 64;
constexpr int kNameChars = 36;
constexpr int kPlacesChars = 16;
constexpr int kListLines = 22;

// The detail list's columns: wide enough for a size, a type and a date as
// this desktop writes them; the name takes what is left.
int FitColumns(QFileDialog& dialog, const QFontMetrics& metrics) {
  const int pad = 3 * metrics.averageCharWidth();
  const int size = metrics.horizontalAdvance("9999.99 KiB") + pad;
  const int type = metrics.horizontalAdvance("LHA archive file") + pad;
  const QDateTime late(QDate(2000, 12, 28), QTime(23, 59, 59));
  const int date = metrics.horizontalAdvance(QLocale().toString(late, QLocale::ShortFormat)) + pad;
  auto* list = dialog.findChild<QTreeView*>("treeView");
  if (list) {
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->resizeSection(1, size);
    header->resizeSection(2, type);
    header->resizeSection(3, date);
  }
  return size + type + date;
}

QStringList Run(QFileDialog& dialog) {
  FitFileDialog(dialog);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

}  // namespace

void FitFileDialog(QFileDialog& dialog, int extra) {
  const QFontMetrics metrics(dialog.font());
  const int chars = metrics.averageCharWidth();
  const int columns = FitColumns(dialog, metrics) + (kNameChars + kPlacesChars) * chars;
  int filter = 0;
  for (const QString& text : dialog.nameFilters()) {
    filter = std::max(filter, metrics.horizontalAdvance(text));
  }
  // Beside the filter box sit its label and the buttons' column.
  const int label = metrics.horizontalAdvance("Files of type:") + 6 * chars;
  const int buttons = metrics.horizontalAdvance("Cancel") + 10 * chars;
  int width = std::max({columns, label + kPathChars * chars + buttons,
                        label + filter + 8 * chars + buttons}) +
              extra;
  int height = kListLines * metrics.lineSpacing();
  width = std::max(width, dialog.sizeHint().width());
  height = std::max(height, dialog.sizeHint().height());
  // Never larger than the screen it opens on.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QSize room = screen->availableSize() * 9 / 10;
    width = std::min(width, room.width());
    height = std::min(height, room.height());
  }
  dialog.resize(width, height);
}

QString AskOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter) {
  QFileDialog dialog(parent, caption, folder, filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  const QStringList chosen = Run(dialog);
  return chosen.isEmpty() ? QString() : chosen.first();
}

QStringList AskOpenFileNames(QWidget* parent, const QString& caption, const QString& folder,
                             const QString& filter) {
  QFileDialog dialog(parent, caption, folder, filter);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  return Run(dialog);
}

QString AskExistingFolder(QWidget* parent, const QString& caption, const QString& folder) {
  QFileDialog dialog(parent, caption, folder);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  const QStringList chosen = Run(dialog);
  return chosen.isEmpty() ? QString() : chosen.first();
}

}  // namespace luma::app
