#ifndef LUMA_CORE_HOST_SETTINGS_STORE_H_
#define LUMA_CORE_HOST_SETTINGS_STORE_H_

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace luma {

// Persistent per-user key/value storage grouped in sections. Value names and
// section names compare case-insensitively ("Warn palette" is "Warn Palette").
// Numbers are 32-bit integers; a value that is missing or not a number reads
// as nullopt so the caller takes its default.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<int32_t> ReadInt(std::string_view section, std::string_view name) const = 0;
  virtual std::optional<std::string> ReadString(std::string_view section,
                                                std::string_view name) const = 0;
  virtual void WriteInt(std::string_view section, std::string_view name, int32_t value) = 0;
  virtual void WriteString(std::string_view section, std::string_view name,
                           std::string_view value) = 0;
  virtual void Remove(std::string_view section, std::string_view name) = 0;
};

// An in-memory store for tests and for runs that must not touch the user's files.
class MemorySettingsStore : public SettingsStore {
 public:
  std::optional<int32_t> ReadInt(std::string_view section, std::string_view name) const override;
  std::optional<std::string> ReadString(std::string_view section,
                                        std::string_view name) const override;
  void WriteInt(std::string_view section, std::string_view name, int32_t value) override;
  void WriteString(std::string_view section, std::string_view name,
                   std::string_view value) override;
  void Remove(std::string_view section, std::string_view name) override;

  size_t size() const { return values_.size(); }

 private:
  static std::string Key(std::string_view section, std::string_view name);
  std::map<std::string, std::string> values_;
};

}  // namespace luma

#endif  // LUMA_CORE_HOST_SETTINGS_STORE_H_
