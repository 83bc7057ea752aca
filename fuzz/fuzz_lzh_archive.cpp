// Opens arbitrary bytes as an LZH archive and decodes every member it lists,
// by position and by name.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/archive/lzh_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  luma::LzhArchive archive;
  if (!archive.OpenImage(std::vector<uint8_t>(data, data + size)).ok()) return 0;
  for (const luma::LzhIndexEntry& entry : archive.index()) {
    const auto bytes = archive.ExtractAt(entry.header_position);
    if (bytes.ok() && bytes->empty()) __builtin_trap();  // empty members never succeed
  }
  if (!archive.index().empty()) {
    (void)archive.ExtractToMemory(archive.index().back().name);
    (void)archive.ExtractToMemory("no such member");
  }
  return 0;
}
