#include "core/host/system_facts.h"

#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

#include <cctype>
#include <fstream>
#include <sstream>

namespace luma {
namespace {

// MemAvailable counts the caches the kernel gives back on demand, which is
// what a user means by free memory; old kernels lack it (0 then).
uint64_t MemAvailableBytes() {
  std::ifstream meminfo("/proc/meminfo");
  std::string line;
  while (std::getline(meminfo, line)) {
    if (line.rfind("MemAvailable:", 0) != 0) continue;
    std::istringstream fields(line.substr(13));
    uint64_t kilobytes = 0;
    fields >> kilobytes;
    return kilobytes * 1024;
  }
  return 0;
}

}  // namespace

void ParseReleaseVersion(const std::string& release, unsigned version[3]) {
  version[0] = version[1] = version[2] = 0;
  size_t at = 0;
  for (int part = 0; part < 3; ++part) {
    if (at >= release.size() || !std::isdigit(static_cast<unsigned char>(release[at]))) return;
    unsigned value = 0;
    while (at < release.size() && std::isdigit(static_cast<unsigned char>(release[at]))) {
      if (value < 100000000) value = value * 10 + static_cast<unsigned>(release[at] - '0');
      ++at;
    }
    version[part] = value;
    if (at >= release.size() || release[at] != '.') return;
    ++at;
  }
}

SystemFacts ReadSystemFacts(const std::string& home) {
  SystemFacts facts;
  struct utsname names {};
  if (uname(&names) == 0) {
    facts.os_name = names.sysname;
    ParseReleaseVersion(names.release, facts.os_version);
  }

  struct sysinfo info {};
  if (sysinfo(&info) == 0) {
    const uint64_t unit = info.mem_unit ? info.mem_unit : 1;
    facts.memory_known = true;
    facts.physical_memory = info.totalram * unit;
    const uint64_t available = MemAvailableBytes();
    facts.available_physical = available ? available : info.freeram * unit;
    facts.virtual_memory = facts.physical_memory + info.totalswap * unit;
    facts.available_virtual = facts.available_physical + info.freeswap * unit;
  }

  struct statvfs disk {};
  if (!home.empty() && statvfs(home.c_str(), &disk) == 0) {
    facts.disk_known = true;
    facts.disk_total = static_cast<uint64_t>(disk.f_blocks) * disk.f_frsize;
    facts.disk_free = static_cast<uint64_t>(disk.f_bavail) * disk.f_frsize;
  }
  return facts;
}

}  // namespace luma
