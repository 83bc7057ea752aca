#include "platform/platform_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace luma {

void SetUpApplicationIdentity() {
  QCoreApplication::setOrganizationName("Velmora");
  QCoreApplication::setApplicationName("Lumadoll");
}

std::string UserDataFolder() {
  QString path = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  QDir().mkpath(path);
  return QDir::cleanPath(path).toLocal8Bit().toStdString();
}

std::string SystemTempFolder() {
  return QDir::cleanPath(QDir::tempPath()).toLocal8Bit().toStdString();
}

}  // namespace luma
