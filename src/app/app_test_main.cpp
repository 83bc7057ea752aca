// The application tests run with a real QApplication on the offscreen
// platform, with every per-user folder pointing into a temporary folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

#include "platform/platform_paths.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QTemporaryDir home;
  for (const char* name :
       {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
    const QString dir = home.path() + '/' + name;
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv(name, QFile::encodeName(dir).constData(), 1);
  }
  // The temporary folder too: the main window cleans up old temporary files.
  const QString tmp = home.path() + "/tmp";
  QDir().mkpath(tmp);
  setenv("TMPDIR", QFile::encodeName(tmp).constData(), 1);
  // No sound card is needed; the audio module stays silent without one.
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  QApplication app(argc, argv);
  luma::SetUpApplicationIdentity();
  return RUN_ALL_TESTS();
}
