#include "app/application.h"

#include <QApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include "app/file_association.h"
#include "app/main_frame.h"
#include "app/single_instance.h"
#include "app/startup_probe.h"
#include "audio/audio_player.h"
#include "platform/platform_paths.h"
#include "platform/qt_settings_store.h"

namespace luma::app {

int RunApplication(int argc, char** argv) {
  QApplication application(argc, argv);
  SetUpApplicationIdentity();
  QApplication::setApplicationDisplayName("Lumadoll");

  // The first argument names the file to open. It is made absolute here
  // because a running instance that receives it has its own working folder.
  const QStringList arguments = QApplication::arguments();
  const QString file =
      arguments.size() > 1 ? QFileInfo(arguments[1]).absoluteFilePath() : QString();

  QtSettingsStore store;
  const bool single = store.ReadInt(kOptionsSection, "Single Instance").value_or(1) > 0;
  CMainFrame* frame = nullptr;
  QStringList early_paths;
  SingleInstance instance([&](const QString& path) {
    if (frame) {
      frame->OpenHandedOver(path);
    } else {
      early_paths.append(path);
    }
  });
  if (single) {
    if (SingleInstance::HandOver(file)) return 0;
    instance.Listen();
  }
  const bool register_types = ShouldRegisterFileAssociations(store);

  audio::AudioPlayer audio;
  CMainFrame main_frame(store, &audio);
  frame = &main_frame;
  const ProbeRequest probe = ProbeRequestFromEnvironment();
  if (probe.active()) StartProbe(main_frame, probe);
  main_frame.ReadWindowPlacement();
  if (!file.isEmpty() && !main_frame.OpenDocumentFile(file)) return 1;
  for (const QString& path : early_paths) main_frame.OpenHandedOver(path);

  if (register_types) {
    const QString data_home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QStringList system_dirs =
        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    system_dirs.removeAll(data_home);
    if (UpdateFileAssociations(QApplication::applicationFilePath(), data_home, system_dirs)) {
      RefreshDesktopCaches(data_home);
    }
  }
  if (main_frame.settings().show_tips && !probe.active()) {
    QTimer::singleShot(0, &main_frame, [&main_frame] { main_frame.ShowTips(); });
  }
  const int code = QApplication::exec();
  frame = nullptr;
  return code;
}

}  // namespace luma::app
