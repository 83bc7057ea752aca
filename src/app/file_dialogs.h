#ifndef LUMA_APP_FILE_DIALOGS_H_
#define LUMA_APP_FILE_DIALOGS_H_

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace luma::app {

// Gives a file dialog room, at the desktop's font, for its longest filter,
// a long folder path and the four columns of its file list, plus `extra`
// pixels for a pane of its own. Call it once the dialog has its filters.
void FitFileDialog(QFileDialog& dialog, int extra = 0);

// File dialogs of that size: one existing file, several, a new file name,
// or a folder; empty when cancelled.
QString AskOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter);
QStringList AskOpenFileNames(QWidget* parent, const QString& caption, const QString& folder,
                             const QString& filter);
QString AskExistingFolder(QWidget* parent, const QString& caption, const QString& folder);

}  // namespace luma::app

#endif  // LUMA_APP_FILE_DIALOGS_H_
