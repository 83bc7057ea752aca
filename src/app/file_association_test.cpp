#include "app/file_association.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "core/host/settings_store.h"

namespace luma::app {
namespace {

QByteArray Slurp(const QString& path) {
  QFile file(path);
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

TEST(FileAssociationTest, RegistersOnlyWhenTheStoredSwitchIsOn) {
  MemorySettingsStore store;
  EXPECT_FALSE(ShouldRegisterFileAssociations(store));
  store.WriteInt("Options", "File Association", 1);
  EXPECT_TRUE(ShouldRegisterFileAssociations(store));
  store.WriteInt("Options", "File Association", 0);
  EXPECT_FALSE(ShouldRegisterFileAssociations(store));
}

TEST(FileAssociationTest, WritesEntryTypesAndIconsOnceAndRepairsChanges) {
  QTemporaryDir home;
  const QString program = "/opt/Lumadoll Beta/bin/lumadoll";
  EXPECT_TRUE(RegisterFileAssociations(program, home.path()));

  const QByteArray entry = Slurp(home.filePath("applications/org.velmora.Lumadoll.desktop"));
  EXPECT_TRUE(entry.contains("Exec=\"/opt/Lumadoll Beta/bin/lumadoll\" %f\n"));
  EXPECT_TRUE(entry.contains(
      "MimeType=application/x-kiss-cnf;application/x-kiss-lzh;application/x-kiss-lha;"));
  const QByteArray xml = Slurp(home.filePath("mime/packages/lumadoll.xml"));
  EXPECT_TRUE(xml.contains("<comment>KiSS Configuration File</comment>"));
  EXPECT_EQ(xml.count("<comment>KiSS Data Set</comment>"), 2);
  for (const char* glob : {"*.cnf", "*.lzh", "*.lha"}) EXPECT_TRUE(xml.contains(glob)) << glob;
  for (const char* icon : {"apps/lumadoll.png", "mimetypes/application-x-kiss-cnf.png",
                           "mimetypes/application-x-kiss-lzh.png"}) {
    EXPECT_TRUE(Slurp(home.filePath(QString("icons/hicolor/48x48/") + icon)).startsWith("\x89PNG"))
        << icon;
  }

  // ZIP files stay with whatever opens them: no type claims "*.zip" and the
  // entry a start registers does not list them; the installed entry offers
  // to open them among its types.
  EXPECT_FALSE(xml.contains("zip"));
  EXPECT_FALSE(entry.contains("zip"));
  EXPECT_TRUE(DesktopEntryText("lumadoll %f", DesktopEntryScope::kInstalled)
                  .contains("application/x-kiss-lha;application/zip;\n"));

  // A second start finds everything in place and writes nothing.
  EXPECT_FALSE(RegisterFileAssociations(program, home.path()));
  // A moved program or a damaged file is put right.
  EXPECT_TRUE(RegisterFileAssociations("/usr/bin/lumadoll", home.path()));
  QFile(home.filePath("mime/packages/lumadoll.xml")).remove();
  EXPECT_TRUE(RegisterFileAssociations("/usr/bin/lumadoll", home.path()));
  EXPECT_EQ(Slurp(home.filePath("mime/packages/lumadoll.xml")), xml);
}

TEST(FileAssociationTest, AnInstalledEntryForThisProgramReplacesThePerUserOne) {
  QTemporaryDir root;
  const QString system = root.filePath("usr/share");
  const QString home = root.filePath("home/.local/share");
  const QString program = root.filePath("usr/bin/lumadoll");
  QDir().mkpath(root.filePath("usr/bin"));
  QFile binary(program);
  ASSERT_TRUE(binary.open(QIODevice::WriteOnly));
  binary.close();

  // Registered per user first, as a build or an earlier start does; an
  // entry of the old name is taken over too.
  ASSERT_TRUE(RegisterFileAssociations(program, home));
  QDir().mkpath(home + "/applications");
  QFile old(home + "/applications/lumadoll.desktop");
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write(DesktopEntryText(DesktopExecLine("/old/build/lumadoll")));
  old.close();
  EXPECT_TRUE(RegisterFileAssociations(program, home));
  EXPECT_FALSE(QFile::exists(home + "/applications/lumadoll.desktop"));

  // Without an installed entry, or with one for another program, the user's stay.
  EXPECT_FALSE(SystemRegistrationServes(program, {system}));
  QDir().mkpath(system + "/applications");
  QDir().mkpath(system + "/mime/packages");
  auto install = [&](const QByteArray& exec) {
    QFile entry(system + "/applications/org.velmora.Lumadoll.desktop");
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write(DesktopEntryText(exec));
    entry.close();
    QFile mime(system + "/mime/packages/lumadoll.xml");
    ASSERT_TRUE(mime.open(QIODevice::WriteOnly));
    mime.write(MimePackageXml());
  };
  install("/opt/other/lumadoll %f");
  EXPECT_FALSE(SystemRegistrationServes(program, {system}));
  EXPECT_FALSE(UpdateFileAssociations(program, home, {system}));
  EXPECT_TRUE(QFile::exists(home + "/applications/org.velmora.Lumadoll.desktop"));

  // The installed entry names the program on the PATH, as packages do.
  install("lumadoll %f");
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", root.filePath("usr/bin").toUtf8());
  binary.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
  EXPECT_TRUE(SystemRegistrationServes(program, {system}));
  EXPECT_TRUE(UpdateFileAssociations(program, home, {system}));
  qputenv("PATH", path);
  EXPECT_FALSE(QFile::exists(home + "/applications/org.velmora.Lumadoll.desktop"));
  EXPECT_FALSE(QFile::exists(home + "/mime/packages/lumadoll.xml"));

  // A per-user entry the user edited is left alone.
  QFile edited(home + "/applications/org.velmora.Lumadoll.desktop");
  ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
  edited.write(DesktopEntryText(DesktopExecLine(program)) + "NoDisplay=true\n");
  edited.close();
  EXPECT_FALSE(RemoveUserRegistration(home));
  EXPECT_TRUE(QFile::exists(home + "/applications/org.velmora.Lumadoll.desktop"));
}

TEST(FileAssociationTest, ExecLineQuotesAndEscapes) {
  EXPECT_EQ(DesktopExecLine("/usr/bin/lumadoll"), "\"/usr/bin/lumadoll\" %f");
  // Desktop-entry quoting: \" inside quotes, then string escaping doubles backslashes.
  EXPECT_EQ(DesktopExecLine("/a\"b"), "\"/a\\\\\"b\" %f");
  EXPECT_EQ(DesktopExecLine("/a\\b"), "\"/a\\\\\\\\b\" %f");
  EXPECT_EQ(DesktopExecLine("/$x/`y`"), "\"/\\\\$x/\\\\`y\\\\`\" %f");
  EXPECT_EQ(DesktopExecLine("/100%/l"), "\"/100%%/l\" %f");
}

TEST(FileAssociationTest, TheMimeDatabaseAcceptsThePackage) {
  const QString tool = QStandardPaths::findExecutable("update-mime-database");
  if (tool.isEmpty()) GTEST_SKIP() << "update-mime-database is not installed";
  QTemporaryDir home;
  RegisterFileAssociations("/usr/bin/lumadoll", home.path());
  QProcess process;
  process.start(tool, {home.filePath("mime")});
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  const QByteArray globs = Slurp(home.filePath("mime/globs2"));
  EXPECT_TRUE(globs.contains("60:application/x-kiss-cnf:*.cnf"));
  EXPECT_TRUE(globs.contains("60:application/x-kiss-lzh:*.lzh"));
  EXPECT_TRUE(globs.contains("60:application/x-kiss-lha:*.lha"));
}

}  // namespace
}  // namespace luma::app
