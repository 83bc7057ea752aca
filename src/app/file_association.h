#ifndef LUMA_APP_FILE_ASSOCIATION_H_
#define LUMA_APP_FILE_ASSOCIATION_H_

#include <QByteArray>
#include <QString>
#include <QStringList>

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

// The desktop entry's file name. The installed entry and the per-user one
// share it, so the desktop lists the program once whichever it finds.
inline constexpr char kDesktopFileId[] = "org.velmora.Lumadoll.desktop";

// Which desktop entry: the one installed with the program also lists ZIP
// files among those it can open (for "Open With"); the one a start
// registers for the user does not, since most ZIP files are not dolls.
// Neither ever claims ZIP files with a MIME type of its own.
enum class DesktopEntryScope { kPerUser, kInstalled };

// The shared-mime-info package of the three types, and the desktop entry
// with the given Exec value; the installed files are these same texts.
QByteArray MimePackageXml();
QByteArray DesktopEntryText(const QString& exec_line,
                            DesktopEntryScope scope = DesktopEntryScope::kPerUser);

// Whether an installed system-wide desktop entry (in one of
// `system_data_dirs`, normally $XDG_DATA_DIRS) starts this same program and
// its MIME package is installed beside it.
bool SystemRegistrationServes(const QString& program_path, const QStringList& system_data_dirs);

// Removes the per-user desktop entry and MIME package when they are exactly
// what this program writes; true when anything was removed.
bool RemoveUserRegistration(const QString& data_home);

// What start-up does when "File Association" is on: registers per user, or,
// when the installed system-wide entry already serves, removes the per-user
// copies so the program is listed once. True when the desktop caches need a
// refresh.
bool UpdateFileAssociations(const QString& program_path, const QString& data_home,
                            const QStringList& system_data_dirs);

// Runs update-mime-database and update-desktop-database on `data_home` in the
// background when they are installed.
void RefreshDesktopCaches(const QString& data_home);

// The Exec= value for a program path: quoted and escaped as desktop entries
// require, followed by the file field code.
QString DesktopExecLine(const QString& program_path);

}  // namespace luma::app

#endif  // LUMA_APP_FILE_ASSOCIATION_H_
