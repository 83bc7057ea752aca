#include "app/text_editor.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace luma::app {
namespace {

// Splits an Exec line into words, honouring double quotes and backslashes.
QStringList SplitExec(const QString& line) {
  QStringList words;
  QString word;
  bool quoted = false, in_word = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    if (c == '\\' && quoted && i + 1 < line.size()) {
      word += line[++i];
    } else if (c == '"') {
      quoted = !quoted;
      in_word = true;
    } else if (c.isSpace() && !quoted) {
      if (in_word) words.append(word);
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.append(word);
  return words;
}

// The desktop entry file of the desktop's default program for a type, empty
// when it has none (or no way to say).
QString DefaultProgramEntry(const QString& mime_type) {
  QProcess query;
  query.start("xdg-mime", {"query", "default", mime_type});
  if (!query.waitForFinished(2000) || query.exitCode() != 0) return {};
  const QString id = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
  if (id.isEmpty()) return {};
  return QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
}

// Debian's name for the terminal emulator the user chose.
QString TerminalEmulator() { return QStandardPaths::findExecutable("x-terminal-emulator"); }

QStringList DefaultProgramCommand(const QString& mime_type, const QString& path) {
  const QString entry = DefaultProgramEntry(mime_type);
  if (entry.isEmpty()) return {};
  return DesktopEntryCommand(entry, QFileInfo(path).absoluteFilePath(), TerminalEmulator());
}

QString FileType(const QString& path, bool text_editor) {
  return text_editor ? QString("text/plain") : QMimeDatabase().mimeTypeForFile(path).name();
}

bool StartDetached(QStringList command) {
  if (command.isEmpty()) return false;
  const QString program = command.takeFirst();
  return QProcess::startDetached(program, command);
}

}  // namespace

QStringList ExecCommand(const QString& exec_line, const QString& path) {
  QStringList command;
  bool placed = false;
  for (const QString& word : SplitExec(exec_line)) {
    if (word == "%f" || word == "%F" || word == "%u" || word == "%U") {
      command.append(path);
      placed = true;
    } else if (word.size() == 2 && word[0] == '%') {
      // %i, %c, %k and the deprecated codes carry nothing we need.
    } else {
      command.append(word);
    }
  }
  if (command.isEmpty() || (placed && command.size() == 1)) return {};
  if (!placed) command.append(path);
  return command;
}

QStringList DesktopEntryCommand(const QString& entry_file, const QString& path,
                                const QString& terminal) {
  QSettings entry(entry_file, QSettings::IniFormat);
  QStringList command = ExecCommand(entry.value("Desktop Entry/Exec").toString(), path);
  if (command.isEmpty() || !entry.value("Desktop Entry/Terminal").toBool()) return command;
  if (terminal.isEmpty()) return {};
  return QStringList{terminal, "-e"} + command;
}

bool OpenInTextEditor(const QString& path) {
  return StartDetached(DefaultProgramCommand("text/plain", path)) || OpenWithDesktop(path);
}

bool OpenWithDesktop(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool DesktopLauncher::HasProgramFor(const QString& path, bool text_editor) {
  return !DefaultProgramCommand(FileType(path, text_editor), path).isEmpty();
}

bool DesktopLauncher::Open(const QString& path, bool text_editor) {
  // The program HasProgramFor found, so a terminal program gets its terminal.
  if (StartDetached(DefaultProgramCommand(FileType(path, text_editor), path))) return true;
  return text_editor ? OpenInTextEditor(path) : OpenWithDesktop(path);
}

}  // namespace luma::app
