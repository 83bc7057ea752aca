#ifndef LUMA_APP_TEXT_EDITOR_H_
#define LUMA_APP_TEXT_EDITOR_H_

#include <QString>
#include <QStringList>

namespace luma::app {

// Opens a file in the desktop's text editor (the program registered for
// plain text), whatever its own type; a CNF would otherwise open in this
// program again. Falls back to the desktop's choice for the file.
bool OpenInTextEditor(const QString& path);

// Opens a file with the program the desktop associates with it.
bool OpenWithDesktop(const QString& path);

// The command of a desktop entry's Exec line for one file: field codes for
// files and URLs take the path, the others are dropped. Empty when the line
// names no program.
QStringList ExecCommand(const QString& exec_line, const QString& path);

}  // namespace luma::app

#endif  // LUMA_APP_TEXT_EDITOR_H_
