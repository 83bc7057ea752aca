#include "app/startup_probe.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "app/child_frame.h"
#include "app/command_table.h"
#include "app/main_frame.h"

namespace luma::app {
namespace {

constexpr int kNoDollExit = 3;
constexpr int kNextSet = -1;
// Time for the window system to show what was painted before it is grabbed.
constexpr int kSettleMs = 400;

void SaveScreen(const QString& path) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QPixmap picture = screen->grabWindow(0);
  if (picture.save(path, "PNG")) {
    std::printf("screenshot %s\n", QFile::encodeName(path).constData());
  } else {
    std::fprintf(stderr, "lumadoll: cannot save %s\n", QFile::encodeName(path).constData());
  }
  std::fflush(stdout);
}

// Saves the screen with the set shown now, then moves on to the next set
// asked for ("next" steps to the next set in use).
void TakeSnapshots(CMainFrame* frame, QList<int> sets, QDir folder) {
  CChildFrame* child = frame->ActiveChild();
  if (!child) {
    QCoreApplication::exit(kNoDollExit);
    return;
  }
  SaveScreen(folder.filePath(QString("set-%1.png").arg(child->view().CurrentSet())));
  if (sets.isEmpty()) {
    QCoreApplication::exit(0);
    return;
  }
  const int set = sets.takeFirst();
  frame->RunCommand(set == kNextSet ? kIdNextSet : kIdSet0 + set);
  QTimer::singleShot(kSettleMs, frame,
                     [frame, sets, folder] { TakeSnapshots(frame, sets, folder); });
}

}  // namespace

ProbeRequest ProbeRequestFromEnvironment() {
  ProbeRequest request;
  request.first_frame = qEnvironmentVariableIntValue("LUMADOLL_FIRST_FRAME") != 0;
  request.snapshot_folder = qEnvironmentVariable("LUMADOLL_SNAPSHOTS");
  for (const QString& word :
       qEnvironmentVariable("LUMADOLL_SNAPSHOT_SETS").split(' ', Qt::SkipEmptyParts)) {
    bool ok = false;
    const int set = word.toInt(&ok);
    if (ok && set >= 0 && set <= 9) {
      request.snapshot_sets.append(set);
    } else if (word == "next") {
      request.snapshot_sets.append(kNextSet);
    }
  }
  return request;
}

void ProbeDialogs::Watch(CMainFrame& frame, int timeout_ms) {
  frame_ = &frame;
  QTimer::singleShot(timeout_ms, &frame, [] {
    std::fprintf(stderr, "lumadoll: no doll was shown\n");
    QCoreApplication::exit(kNoDollExit);
  });
}

void ProbeDialogs::FramePresented(CChildFrame&) {
  if (seen_ || !frame_) return;
  seen_ = true;
  if (request_.first_frame) {
    std::printf("first frame at %lld\n",
                static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
    std::fflush(stdout);
  }
  if (request_.snapshot_folder.isEmpty()) {
    QCoreApplication::exit(0);
    return;
  }
  QDir().mkpath(request_.snapshot_folder);
  CMainFrame* frame = frame_;
  const QList<int> sets = request_.snapshot_sets;
  const QDir folder(request_.snapshot_folder);
  QTimer::singleShot(kSettleMs, frame,
                     [frame, sets, folder] { TakeSnapshots(frame, sets, folder); });
}

}  // namespace luma::app
