#ifndef LUMA_APP_FILE_ASSOCIATION_H_
#define LUMA_APP_FILE_ASSOCIATION_H_

#include <QString>

#include "core/host/settings_store.h"

namespace luma::app {

// Whether this start registers the associations: "File Association" as
// stored, counting a missing value as off. A first run therefore registers
// nothing but saves the default (on) at close, and the next start registers.
bool ShouldRegisterFileAssociations(const SettingsStore& store);

// Makes the program the opener of .cnf, .lzh and .lha files for this user:
// a desktop entry, a shared-mime-info package with one type per extension
// ("KiSS Configuration File", "KiSS Data Set") and their icons, all under
// `data_home` (normally $XDG_DATA_HOME). Files are only rewritten when their
// content changes; returns true when anything was written, in which case the
// desktop's MIME and application caches need refreshing
// (RefreshDesktopCaches). Failures are silent; the other files still get written.
bool RegisterFileAssociations(const QString& program_path, const QString& data_home);

// Runs update-mime-database and update-desktop-database on `data_home` in the
// background when they are installed.
void RefreshDesktopCaches(const QString& data_home);

// The Exec= value for a program path: quoted and escaped as desktop entries
// require, followed by the file field code.
QString DesktopExecLine(const QString& program_path);

}  // namespace luma::app

#endif  // LUMA_APP_FILE_ASSOCIATION_H_
