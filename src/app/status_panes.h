#ifndef LUMA_APP_STATUS_PANES_H_
#define LUMA_APP_STATUS_PANES_H_

#include <QString>
#include <array>

class QLabel;
class QStatusBar;

namespace luma::app {

// What the seven information panes of the status bar show; an empty text
// shows the pane empty and disabled.
struct StatusValues {
  QString fkiss;         // "FKiSS 2.1"
  QString palette_kind;  // "Enhanced Palette", "256-color", "16-color"
  QString ckiss;         // "CKiSS"
  QString coordinates;   // "%5d, %5d"
  QString errors;        // "%d errors"
  QString video_memory;  // "Approx %uMb VideoMem free"
  QString zoom;          // "Zoom 2:1"
};

// The panes after the message pane, each as wide as its template text.
class StatusPanes {
 public:
  static constexpr int kCount = 7;
  static constexpr std::array<const char*, kCount> kTemplates = {
      "FKiSS 5.9",    "Enhanced Palette", "CKiSS",
      "99999, 99999", "99999 errors",     "Approx 9999Mb texture memory free",
      "Zoom 10:1"};

  explicit StatusPanes(QStatusBar* bar);
  void Show(const StatusValues& values);
  const QLabel* pane(int index) const { return panes_[index]; }

 private:
  std::array<QLabel*, kCount> panes_;
};

// "FKiSS 1", "FKiSS 1b", "FKiSS 2", "FKiSS 2.1", "FKiSS 3" or "FKiSS 4" for
// levels 0..5; empty for a doll without FKiSS (a negative level).
QString FkissLevelText(int level);

}  // namespace luma::app

#endif  // LUMA_APP_STATUS_PANES_H_
