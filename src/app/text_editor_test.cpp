#include "app/text_editor.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace luma::app
