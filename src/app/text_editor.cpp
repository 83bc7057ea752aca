#include "app/text_editor.h"

#include <QDesktopServices>
#include <QFileInfo>
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

// The Exec line of the desktop's default program for plain text.
QString TextEditorExec() {
  QProcess query;
  query.start("xdg-mime", {"query", "default", "text/plain"});
  if (!query.waitForFinished(2000) || query.exitCode() != 0) return {};
  const QString id = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
  if (id.isEmpty()) return {};
  const QString file = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
  if (file.isEmpty()) return {};
  QSettings entry(file, QSettings::IniFormat);
  return entry.value("Desktop Entry/Exec").toString();
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

}  // namespace luma::app
