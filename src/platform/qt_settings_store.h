#ifndef LUMA_PLATFORM_QT_SETTINGS_STORE_H_
#define LUMA_PLATFORM_QT_SETTINGS_STORE_H_

#include <QSettings>
#include <memory>

#include "core/host/settings_store.h"

namespace luma {

// Settings kept by QSettings in INI form: $XDG_CONFIG_HOME/Velmora/Lumadoll.conf.
// QSettings keys are case-sensitive on this platform, so lookups scan the
// section for a name that matches case-insensitively and writes replace it.
class QtSettingsStore : public SettingsStore {
 public:
  // The user's settings file (organisation and application set by SetUpApplicationIdentity).
  QtSettingsStore();
  // A given file, for tests.
  explicit QtSettingsStore(const QString& ini_path);

  std::optional<int32_t> ReadInt(std::string_view section, std::string_view name) const override;
  std::optional<std::string> ReadString(std::string_view section,
                                        std::string_view name) const override;
  void WriteInt(std::string_view section, std::string_view name, int32_t value) override;
  void WriteString(std::string_view section, std::string_view name,
                   std::string_view value) override;
  void Remove(std::string_view section, std::string_view name) override;

  void Sync() { settings_->sync(); }

 private:
  // The stored key ("Section/Name") that matches case-insensitively, or empty.
  QString FindKey(std::string_view section, std::string_view name) const;
  static QString MakeKey(std::string_view section, std::string_view name);

  std::unique_ptr<QSettings> settings_;
};

}  // namespace luma

#endif  // LUMA_PLATFORM_QT_SETTINGS_STORE_H_
