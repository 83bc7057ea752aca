#include "app/text_editor.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace luma::app {
namespace {

TEST(TextEditorTest, ExecLinesTakeThePathWhereTheirFieldCodesSay) {
  const QString path = "/home/m/my dolls/doll.cnf";
  EXPECT_EQ(ExecCommand("gedit %U", path), (QStringList{"gedit", path}));
  EXPECT_EQ(ExecCommand("kate -b %u --icon %i", path), (QStringList{"kate", "-b", path, "--icon"}));
  EXPECT_EQ(ExecCommand("\"/opt/my editor/edit\" --new-window %F", path),
            (QStringList{"/opt/my editor/edit", "--new-window", path}));
  // Without a field code the file goes last; without a program nothing runs.
  EXPECT_EQ(ExecCommand("mousepad", path), (QStringList{"mousepad", path}));
  EXPECT_TRUE(ExecCommand("", path).isEmpty());
  EXPECT_TRUE(ExecCommand("%f", path).isEmpty());
}

TEST(TextEditorTest, AProgramThatWantsATerminalRunsInOneOrNotAtAll) {
  QTemporaryDir dir;
  auto entry = [&](const QString& name, const QByteArray& lines) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Desktop Entry]\nType=Application\nName=Editor\n" + lines);
    return file.fileName();
  };
  const QString path = "/home/m/doll.cnf";
  const QString windowed = entry("mousepad.desktop", "Exec=mousepad %F\n");
  const QString terminal = entry("vim.desktop", "Exec=vim %F\nTerminal=true\n");
  EXPECT_EQ(DesktopEntryCommand(windowed, path, ""), (QStringList{"mousepad", path}));
  EXPECT_EQ(DesktopEntryCommand(windowed, path, "/usr/bin/x-terminal-emulator"),
            (QStringList{"mousepad", path}));
  // vim started without a terminal ends at once and nothing shows: it is no
  // program for the file unless the desktop has a terminal to run it in.
  EXPECT_TRUE(DesktopEntryCommand(terminal, path, "").isEmpty());
  EXPECT_EQ(DesktopEntryCommand(terminal, path, "/usr/bin/x-terminal-emulator"),
            (QStringList{"/usr/bin/x-terminal-emulator", "-e", "vim", path}));
  EXPECT_TRUE(DesktopEntryCommand(dir.filePath("missing.desktop"), path, "").isEmpty());
}

}  // namespace
}  // namespace luma::app
