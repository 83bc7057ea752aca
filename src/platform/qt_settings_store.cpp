#include "platform/qt_settings_store.h"

#include "core/host/text.h"

namespace luma {
namespace {

QString FromBytes(std::string_view s) {
  return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

QtSettingsStore::QtSettingsStore() : settings_(std::make_unique<QSettings>()) {}

QtSettingsStore::QtSettingsStore(const QString& ini_path)
    : settings_(std::make_unique<QSettings>(ini_path, QSettings::IniFormat)) {}

QString QtSettingsStore::MakeKey(std::string_view section, std::string_view name) {
  return FromBytes(section) + '/' + FromBytes(name);
}

QString QtSettingsStore::FindKey(std::string_view section, std::string_view name) const {
  const QString wanted = MakeKey(section, name);
  if (settings_->contains(wanted)) return wanted;
  const QStringList keys = settings_->allKeys();
  for (const QString& key : keys) {
    if (key.compare(wanted, Qt::CaseInsensitive) == 0) return key;
  }
  return {};
}

std::optional<int32_t> QtSettingsStore::ReadInt(std::string_view section,
                                                std::string_view name) const {
  const QString key = FindKey(section, name);
  if (key.isEmpty()) return std::nullopt;
  const std::string text = settings_->value(key).toString().toStdString();
  size_t consumed = 0;
  const int32_t value = ParseInt(text, &consumed);
  if (consumed == 0) return std::nullopt;
  return value;
}

std::optional<std::string> QtSettingsStore::ReadString(std::string_view section,
                                                       std::string_view name) const {
  const QString key = FindKey(section, name);
  if (key.isEmpty()) return std::nullopt;
  return settings_->value(key).toString().toLocal8Bit().toStdString();
}

void QtSettingsStore::WriteInt(std::string_view section, std::string_view name, int32_t value) {
  Remove(section, name);
  settings_->setValue(MakeKey(section, name), value);
}

void QtSettingsStore::WriteString(std::string_view section, std::string_view name,
                                  std::string_view value) {
  Remove(section, name);
  settings_->setValue(MakeKey(section, name), FromBytes(value));
}

void QtSettingsStore::Remove(std::string_view section, std::string_view name) {
  for (QString key = FindKey(section, name); !key.isEmpty(); key = FindKey(section, name)) {
    settings_->remove(key);
  }
}

}  // namespace luma
