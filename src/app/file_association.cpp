#include "app/file_association.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "app/toolbar_icons.h"
#include "core/host/settings.h"

namespace luma::app {
namespace {

struct MimeType {
  const char* type;
  const char* comment;
  const char* glob;
  const char* parent;
  const char* icon;
};

// Our types win over the generic archive type by glob weight and stay
// archives for every other program through sub-class-of.
constexpr MimeType kTypes[] = {
    {"application/x-kiss-cnf", "KiSS Configuration File", "*.cnf", "text/plain",
     "application-x-kiss-cnf"},
    {"application/x-kiss-lzh", "KiSS Data Set", "*.lzh", "application/x-lha",
     "application-x-kiss-lzh"},
    {"application/x-kiss-lha", "KiSS Data Set", "*.lha", "application/x-lha",
     "application-x-kiss-lzh"},
};

constexpr char kMimePackage[] = "mime/packages/lumadoll.xml";
// Written under this name before the installed entry existed.
constexpr char kOldDesktopFile[] = "applications/lumadoll.desktop";

QString DesktopFile() { return QString("applications/") + kDesktopFileId; }
constexpr char kIconFolder[] = "icons/hicolor/48x48";
constexpr int kIconSize = 48;

// Writes `content` unless the file already holds exactly that.
bool WriteIfChanged(const QString& path, const QByteArray& content) {
  QFile existing(path);
  if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content) return false;
  existing.close();
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(content);
  return file.commit();
}

QByteArray PngOf(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

// The program an entry's Exec line starts, with the quoting of DesktopExecLine undone.
QString ExecProgram(const QByteArray& entry) {
  for (const QByteArray& line : entry.split('\n')) {
    if (!line.startsWith("Exec=")) continue;
    const QString exec = QString::fromUtf8(line.mid(5));
    if (!exec.startsWith('"')) return exec.section(' ', 0, 0);
    QString program;
    const QString unescaped = QString(exec).replace("\\\\", "\\");
    for (int i = 1; i < unescaped.size() && unescaped[i] != '"'; ++i) {
      if (unescaped[i] == '\\' && i + 1 < unescaped.size()) ++i;
      program += unescaped[i];
    }
    return program.replace("%%", "%");
  }
  return QString();
}

QString CanonicalProgram(const QString& program) {
  const QString found =
      QFileInfo(program).isAbsolute() ? program : QStandardPaths::findExecutable(program);
  return found.isEmpty() ? QString() : QFileInfo(found).canonicalFilePath();
}

QByteArray Slurp(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Removes a per-user desktop entry when it is exactly one this program wrote.
bool RemoveOwnEntry(const QString& path) {
  const QByteArray entry = Slurp(path);
  if (entry.isEmpty() || entry != DesktopEntryText(DesktopExecLine(ExecProgram(entry)))) {
    return false;
  }
  return QFile::remove(path);
}

}  // namespace

QByteArray MimePackageXml() {
  QByteArray xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  for (const MimeType& t : kTypes) {
    xml += QByteArray("  <mime-type type=\"") + t.type + "\">\n";
    xml += QByteArray("    <comment>") + t.comment + "</comment>\n";
    xml += QByteArray("    <sub-class-of type=\"") + t.parent + "\"/>\n";
    xml += QByteArray("    <icon name=\"") + t.icon + "\"/>\n";
    xml += QByteArray("    <glob pattern=\"") + t.glob + "\" weight=\"60\"/>\n";
    xml += "  </mime-type>\n";
  }
  xml += "</mime-info>\n";
  return xml;
}

QByteArray DesktopEntryText(const QString& exec_line, DesktopEntryScope scope) {
  QByteArray mime_list;
  for (const MimeType& t : kTypes) mime_list += QByteArray(t.type) + ';';
  if (scope == DesktopEntryScope::kInstalled) mime_list += "application/zip;";
  return QByteArray(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Lumadoll\n"
             "GenericName=KiSS Doll Viewer\n"
             "Comment=Play with KiSS paper dolls\n"
             "Icon=lumadoll\n"
             "Exec=") +
         exec_line.toUtf8() +
         "\n"
         "Terminal=false\n"
         "Categories=Graphics;Viewer;\n"
         "MimeType=" +
         mime_list + "\n";
}

bool ShouldRegisterFileAssociations(const SettingsStore& store) {
  return store.ReadInt(kOptionsSection, "File Association").value_or(0) > 0;
}

QString DesktopExecLine(const QString& program_path) {
  // Inside double quotes the characters " ` $ \ take a backslash; then every
  // backslash is doubled once more because the value is a desktop-entry string.
  QString quoted;
  for (QChar c : program_path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted.replace("\\", "\\\\");
  // A literal percent sign is written as %%.
  quoted.replace("%", "%%");
  return '"' + quoted + "\" %f";
}

bool RegisterFileAssociations(const QString& program_path, const QString& data_home) {
  const QDir home(data_home);
  bool changed = false;
  changed |= WriteIfChanged(home.filePath(kMimePackage), MimePackageXml());
  changed |=
      WriteIfChanged(home.filePath(DesktopFile()), DesktopEntryText(DesktopExecLine(program_path)));
  changed |= RemoveOwnEntry(home.filePath(kOldDesktopFile));
  const QString icons = home.filePath(kIconFolder);
  changed |= WriteIfChanged(icons + "/apps/lumadoll.png", PngOf(AppIconImage(kIconSize)));
  changed |= WriteIfChanged(icons + "/mimetypes/application-x-kiss-cnf.png",
                            PngOf(DocumentIconImage(kIconSize, false)));
  changed |= WriteIfChanged(icons + "/mimetypes/application-x-kiss-lzh.png",
                            PngOf(DocumentIconImage(kIconSize, true)));
  return changed;
}

bool SystemRegistrationServes(const QString& program_path, const QStringList& system_data_dirs) {
  const QString program = QFileInfo(program_path).canonicalFilePath();
  for (const QString& dir : system_data_dirs) {
    const QDir data(dir);
    const QByteArray entry = Slurp(data.filePath(DesktopFile()));
    if (entry.isEmpty() || !QFile::exists(data.filePath(kMimePackage))) continue;
    if (!program.isEmpty() && CanonicalProgram(ExecProgram(entry)) == program) return true;
  }
  return false;
}

bool RemoveUserRegistration(const QString& data_home) {
  const QDir home(data_home);
  bool removed = RemoveOwnEntry(home.filePath(DesktopFile()));
  removed |= RemoveOwnEntry(home.filePath(kOldDesktopFile));
  if (Slurp(home.filePath(kMimePackage)) == MimePackageXml()) {
    removed |= QFile::remove(home.filePath(kMimePackage));
  }
  return removed;
}

bool UpdateFileAssociations(const QString& program_path, const QString& data_home,
                            const QStringList& system_data_dirs) {
  if (SystemRegistrationServes(program_path, system_data_dirs)) {
    return RemoveUserRegistration(data_home);
  }
  return RegisterFileAssociations(program_path, data_home);
}

void RefreshDesktopCaches(const QString& data_home) {
  const QDir home(data_home);
  const QString mime_tool = QStandardPaths::findExecutable("update-mime-database");
  if (!mime_tool.isEmpty()) QProcess::startDetached(mime_tool, {home.filePath("mime")});
  const QString desktop_tool = QStandardPaths::findExecutable("update-desktop-database");
  if (!desktop_tool.isEmpty()) {
    QProcess::startDetached(desktop_tool, {home.filePath("applications")});
  }
}

}  // namespace luma::app
