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

// The Exec line of the desktop's default program for a type, empty when it
// has none (or no way to say).
QString DefaultProgramExec(const QString& mime_type) {
  QProcess query;
  query.start("xdg-mime", {"query", "default", mime_type});
  if (!query.waitForFinished(2000) || query.exitCode() != 0) return {};
  const QString id = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
  if (id.isEmpty()) return {};
  const QString file = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
  if (file.isEmpty()) return {};
  QSettings entry(file, QSettings::IniFormat);
  return entry.value("Desktop Entry/Exec").toString();
}

QString TextEditorExec() { return DefaultProgramExec("text/plain"); }

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

bool OpenInTextEditor(const QString& path) {
  QStringList command = ExecCommand(TextEditorExec(), QFileInfo(path).absoluteFilePath());
  if (!command.isEmpty()) {
    const QString program = command.takeFirst();
    if (QProcess::startDetached(program, command)) return true;
  }
  return OpenWithDesktop(path);
}

bool OpenWithDesktop(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool DesktopLauncher::HasProgramFor(const QString& path, bool text_editor) {
  const QString type =
      text_editor ? QString("text/plain") : QMimeDatabase().mimeTypeForFile(path).name();
  return !ExecCommand(DefaultProgramExec(type), path).isEmpty();
}

bool DesktopLauncher::Open(const QString& path, bool text_editor) {
  return text_editor ? OpenInTextEditor(path) : OpenWithDesktop(path);
}

}  // namespace luma::app
