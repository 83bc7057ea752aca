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

// What the desktop offers for opening a doll's files. Tests put in their
// own.
class DesktopLauncher {
 public:
  virtual ~DesktopLauncher() = default;
  // Whether the desktop has a program for the file: a text editor with
  // `text_editor`, else one for the file's type.
  virtual bool HasProgramFor(const QString& path, bool text_editor);
  // Starts that program; false when it could not be started.
  virtual bool Open(const QString& path, bool text_editor);
};

// The command of a desktop entry's Exec line for one file: field codes for
// files and URLs take the path, the others are dropped. Empty when the line
// names no program.
QStringList ExecCommand(const QString& exec_line, const QString& path);

// The command that runs the program of the desktop entry file `entry_file`
// on one file. A program that wants a terminal (Terminal=true, as vim's
// entry says) runs in `terminal`, the desktop's terminal emulator; without
// one it is no program for us: started alone it would end unseen at once.
QStringList DesktopEntryCommand(const QString& entry_file, const QString& path,
                                const QString& terminal);

}  // namespace luma::app

#endif  // LUMA_APP_TEXT_EDITOR_H_
