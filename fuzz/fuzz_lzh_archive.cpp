// Opens arbitrary bytes as an LZH archive and decodes every member it lists,
// by position and by name.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/archive/lzh_archive.h"
#include "core/archive/lzh_header.h"

namespace {

// A few bytes of static-Huffman data can legitimately expand to hundreds of
// megabytes; members claiming more than this are left out to keep runs fast.
constexpr uint32_t kMaxFuzzedMemberSize = 1u << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  luma::LzhArchive archive;
  if (!archive.OpenImage(std::vector<uint8_t>(data, data + size)).ok()) return 0;
  const std::span<const uint8_t> image = archive.image().bytes();
  for (const luma::LzhIndexEntry& entry : archive.index()) {
    luma::LzhHeader header;
    if (!luma::ParseLzhHeader(image.subspan(entry.header_position), header)) __builtin_trap();
    if (header.unpacked_size > kMaxFuzzedMemberSize) continue;
    const auto bytes = archive.ExtractAt(entry.header_position);
    if (bytes.ok() && bytes->size() != header.unpacked_size) __builtin_trap();
  }
  if (!archive.index().empty()) {
    const luma::LzhIndexEntry& first = archive.index().front();
    luma::LzhHeader header;
    if (luma::ParseLzhHeader(image.subspan(first.header_position), header) &&
        header.unpacked_size <= kMaxFuzzedMemberSize) {
      (void)archive.ExtractToMemory(first.name);
    }
    (void)archive.ExtractToMemory("no such member");
  }
  return 0;
}
