#include "core/host/settings_store.h"

#include "core/host/text.h"

namespace luma {

std::string MemorySettingsStore::Key(std::string_view section, std::string_view name) {
  return AsciiLowerCopy(section) + '\n' + AsciiLowerCopy(name);
}

std::optional<int32_t> MemorySettingsStore::ReadInt(std::string_view section,
                                                    std::string_view name) const {
  auto it = values_.find(Key(section, name));
  if (it == values_.end()) return std::nullopt;
  size_t consumed = 0;
  const int32_t value = ParseInt(it->second, &consumed);
  if (consumed == 0) return std::nullopt;
  return value;
}

std::optional<std::string> MemorySettingsStore::ReadString(std::string_view section,
                                                           std::string_view name) const {
  auto it = values_.find(Key(section, name));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

void MemorySettingsStore::WriteInt(std::string_view section, std::string_view name, int32_t value) {
  values_[Key(section, name)] = std::to_string(value);
}

void MemorySettingsStore::WriteString(std::string_view section, std::string_view name,
                                      std::string_view value) {
  values_[Key(section, name)] = std::string(value);
}

void MemorySettingsStore::Remove(std::string_view section, std::string_view name) {
  values_.erase(Key(section, name));
}

}  // namespace luma
