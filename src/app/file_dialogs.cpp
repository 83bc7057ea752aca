#include "app/file_dialogs.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace luma::app {
namespace {

// Characters of room: a folder path in the "Look in" box, and the file
// list's name, size, type and date columns side by side.
constexpr int kPathChars = 64;
constexpr int kListChars = 96;
constexpr int kListLines = 22;

QStringList Run(QFileDialog& dialog) {
  FitFileDialog(dialog);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

}  // namespace

void FitFileDialog(QFileDialog& dialog, int extra) {
  const QFontMetrics metrics(dialog.font());
  const int chars = metrics.averageCharWidth();
  int filter = 0;
  for (const QString& text : dialog.nameFilters()) {
    filter = std::max(filter, metrics.horizontalAdvance(text));
  }
  // Beside the filter box sit its label and the buttons' column.
  const int label = metrics.horizontalAdvance("Files of type:") + 6 * chars;
  const int buttons = metrics.horizontalAdvance("Cancel") + 10 * chars;
  int width = std::max({kListChars * chars, label + kPathChars * chars + buttons,
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
