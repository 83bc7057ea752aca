#ifndef LUMA_APP_STARTUP_PROBE_H_
#define LUMA_APP_STARTUP_PROBE_H_

#include <QString>
#include <QStringList>
#include <utility>

#include "app/qt_dialog_runner.h"

namespace luma::app {

class CMainFrame;

// Unattended runs for the start-up benchmark and the screenshot script,
// chosen by environment variables:
//   LUMADOLL_FIRST_FRAME=1   print "first frame at <ms since the epoch>" when
//                            the first doll frame has been presented, then quit;
//   LUMADOLL_SNAPSHOTS=DIR   after the first frame, save a picture of the
//                            screen as DIR/set-<n>.png for the set shown and
//                            for each set in LUMADOLL_SNAPSHOT_SETS ("0 3";
//                            "next" steps to the next set in use), then quit.
struct ProbeRequest {
  bool first_frame = false;
  QString snapshot_folder;
  QList<int> snapshot_sets;  // -1: the next set in use
  bool active() const { return first_frame || !snapshot_folder.isEmpty(); }
};

ProbeRequest ProbeRequestFromEnvironment();

// The real dialogs, watched for the first presented doll frame, after which
// the request is carried out.
class ProbeDialogs : public QtDialogRunner {
 public:
  explicit ProbeDialogs(ProbeRequest request) : request_(std::move(request)) {}
  // Starts watching `frame`, whose dialogs these are. Quits the application
  // with exit code 3 when no doll shows within `timeout_ms`.
  void Watch(CMainFrame& frame, int timeout_ms = 60000);
  void FramePresented(CChildFrame& child) override;

 private:
  ProbeRequest request_;
  CMainFrame* frame_ = nullptr;
  bool seen_ = false;
};

}  // namespace luma::app

#endif  // LUMA_APP_STARTUP_PROBE_H_
