#include "core/archive/lzh_method.h"

#include <algorithm>
#include <array>

#include "core/archive/lzh_decoders.h"
#include "core/host/text.h"

namespace luma {
namespace {

constexpr std::array<LzhMethodInfo, 13> kMethods = {{
    {"-lh0-", LzhMethod::kLh0, 0, 0, 0, DecodeStored},
    {"-lh1-", LzhMethod::kLh1, 12, 0, 0, DecodeAdaptiveHuffman},
    {"-lh2-", LzhMethod::kLh2, 13, 0, 0, DecodeAdaptiveHuffman},
    {"-lh3-", LzhMethod::kLh3, 13, 0, 0, DecodeLh3},
    // -lh4- keeps the position alphabet of -lh5- over its smaller ring.
    {"-lh4-", LzhMethod::kLh4, 12, 14, 4, DecodeHuffmanBlocks},
    {"-lh5-", LzhMethod::kLh5, 13, 14, 4, DecodeHuffmanBlocks},
    {"-lh6-", LzhMethod::kLh6, 15, 16, 5, DecodeHuffmanBlocks},
    {"-lzs-", LzhMethod::kLzs, 11, 0, 0, DecodeLarc},
    {"-lz5-", LzhMethod::kLz5, 12, 0, 0, DecodeLarc},
    {"-lz4-", LzhMethod::kLz4, 0, 0, 0, DecodeStored},
    {"-lhd-", LzhMethod::kLhd, 0, 0, 0, DecodeNothing},
    {"-lh7-", LzhMethod::kLh7, 16, 17, 5, DecodeHuffmanBlocks},
    {"-lhx-", LzhMethod::kLhx, 19, 20, 5, DecodeHuffmanBlocks},
}};

}  // namespace

const LzhMethodInfo* FindLzhMethod(std::string_view id) {
  for (const LzhMethodInfo& m : kMethods) {
    if (EqualsIgnoreCase(id, m.id)) return &m;
  }
  return nullptr;
}

bool DecodeLzhToMemory(const LzhMethodInfo& method, std::span<const uint8_t> packed,
                       uint32_t unpacked_size, std::vector<uint8_t>& out) {
  // Room for ordinary ratios up front; more arrives as the data proves real.
  out.reserve(std::min<uint64_t>(unpacked_size, uint64_t{1} << 20));
  LzhMemoryOutput memory(out);
  return method.decode(method, packed, unpacked_size, memory);
}

const LzhMethodInfo& StoredLzhMethod() { return kMethods[0]; }

}  // namespace luma
