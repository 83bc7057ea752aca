#include "app/status_panes.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

namespace luma::app {

StatusPanes::StatusPanes(QStatusBar* bar) {
  for (int i = 0; i < kCount; ++i) {
    auto* label = new QLabel(bar);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    const QFontMetrics metrics(label->font());
    label->setFixedWidth(metrics.horizontalAdvance(kTemplates[i]) + 2 * metrics.averageCharWidth());
    label->setEnabled(false);
    bar->addPermanentWidget(label);
    panes_[i] = label;
  }
}

void StatusPanes::Show(const StatusValues& values) {
  const std::array<const QString*, kCount> texts = {
      &values.fkiss,  &values.palette_kind, &values.ckiss, &values.coordinates,
      &values.errors, &values.video_memory, &values.zoom};
  for (int i = 0; i < kCount; ++i) {
    if (panes_[i]->text() != *texts[i]) panes_[i]->setText(*texts[i]);
    panes_[i]->setEnabled(!texts[i]->isEmpty());
  }
}

QString FkissLevelText(int level) {
  static const char* const kNames[] = {"FKiSS 1",   "FKiSS 1b", "FKiSS 2",
                                       "FKiSS 2.1", "FKiSS 3",  "FKiSS 4"};
  if (level < 0) return {};
  return kNames[level > 5 ? 5 : level];
}

}  // namespace luma::app
