#ifndef LUMA_APP_RECENT_FILES_H_
#define LUMA_APP_RECENT_FILES_H_

#include <QString>
#include <QStringList>

#include "core/host/settings_store.h"

namespace luma::app {

// The most recently opened dolls, newest first, kept in section
// "Recent File List" as "File1".."File16".
class RecentFiles {
 public:
  static constexpr int kMaxFiles = 16;

  void Load(const SettingsStore& store);
  void Save(SettingsStore& store) const;

  // Moves (or puts) the path to the front; the oldest falls off the end.
  void Add(const QString& path);
  void Remove(const QString& path);
  const QStringList& files() const { return files_; }

  // The menu text of entry `index`: "&1 " and the path, home folder shown as
  // "~" and long paths shortened in the middle.
  static QString MenuText(int index, const QString& path);

 private:
  QStringList files_;
};

}  // namespace luma::app

#endif  // LUMA_APP_RECENT_FILES_H_
