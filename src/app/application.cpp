#include "app/application.h"

#include <QApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "app/about_dialog.h"
#include "app/file_association.h"
#include "app/main_frame.h"
#include "app/program_options.h"
#include "app/single_instance.h"
#include "app/startup_probe.h"
#include "app/termination_signals.h"
#include "audio/audio_player.h"
#include "platform/platform_paths.h"
#include "platform/qt_settings_store.h"

namespace luma::app {
namespace {

constexpr char kNeedsDisplay[] = "lumadoll: Lumadoll needs a graphical display (X11 or Wayland)";

bool EnvironmentSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

// Qt ends the process with an abort when no platform plugin starts (a display
// that is named but cannot be reached): say what is missing and end with 1.
QtMessageHandler g_previous_handler = nullptr;

void StartUpMessageHandler(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "%s\n%s, and none could be used.\n", qPrintable(message), kNeedsDisplay);
    std::fflush(stderr);
    std::_Exit(1);
  }
  if (g_previous_handler) {
    g_previous_handler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(message));
  }
}

// What the command line asks for before any window: -1 to go on, else the
// exit code.
int HandleOptions(int argc, char** argv) {
  bool platform_given = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (const ProgramOption* option = FindProgramOption(arg)) {
      switch (option->action) {
        case ProgramAction::kHelp:
          std::fputs(ProgramUsage().c_str(), stdout);
          return 0;
        case ProgramAction::kVersion:
          std::printf("Lumadoll %s\n", kProgramVersion);
          return 0;
      }
    }
    if (arg == "-platform" || arg.starts_with("-platform=")) platform_given = true;
    if (arg.starts_with("--") && arg.size() > 2) {
      std::fprintf(stderr, "lumadoll: unknown option %s\n%s", argv[i], ProgramUsage().c_str());
      return 2;
    }
  }
  if (!platform_given && !EnvironmentSet("QT_QPA_PLATFORM") && !EnvironmentSet("DISPLAY") &&
      !EnvironmentSet("WAYLAND_DISPLAY")) {
    std::fprintf(stderr, "%s; neither DISPLAY nor WAYLAND_DISPLAY is set.\n", kNeedsDisplay);
    return 1;
  }
  return -1;
}

}  // namespace

int RunApplication(int argc, char** argv) {
  if (const int code = HandleOptions(argc, argv); code >= 0) return code;
  g_previous_handler = qInstallMessageHandler(StartUpMessageHandler);
  QApplication application(argc, argv);
  qInstallMessageHandler(g_previous_handler);
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
  const ProbeRequest probe = ProbeRequestFromEnvironment();
  ProbeDialogs probe_dialogs(probe);
  CMainFrame main_frame(store, &audio, probe.active() ? &probe_dialogs : nullptr);
  frame = &main_frame;
  // A signal ends the session as closing the window does: the dolls close
  // (deleting their temporary files) and the settings are saved.
  TerminationSignals termination([&main_frame] {
    main_frame.close();
    QApplication::quit();
  });
  if (probe.active()) probe_dialogs.Watch(main_frame);
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
