#ifndef LUMA_CORE_HOST_SYSTEM_FACTS_H_
#define LUMA_CORE_HOST_SYSTEM_FACTS_H_

#include <cstdint>
#include <string>

namespace luma {

// What the bug report tells about the machine. Sizes are in bytes; a part
// the system would not tell is marked unknown.
struct SystemFacts {
  std::string os_name;                 // the kernel's name, e.g. "Linux"
  unsigned os_version[3] = {0, 0, 0};  // major, minor, patch of its release
  bool memory_known = false;
  uint64_t physical_memory = 0;
  uint64_t available_physical = 0;
  // Memory the system can hand out in all: RAM and swap together.
  uint64_t virtual_memory = 0;
  uint64_t available_virtual = 0;
  bool disk_known = false;
  uint64_t disk_total = 0;  // the file system holding `home`
  uint64_t disk_free = 0;   // free to an ordinary user
};

// Reads the facts of this machine; `home` names a folder on the disk to
// describe (the user's home).
SystemFacts ReadSystemFacts(const std::string& home);

// "6.1.0-18-amd64" as {6, 1, 0}; missing or unreadable parts stay 0.
void ParseReleaseVersion(const std::string& release, unsigned version[3]);

}  // namespace luma

#endif  // LUMA_CORE_HOST_SYSTEM_FACTS_H_
