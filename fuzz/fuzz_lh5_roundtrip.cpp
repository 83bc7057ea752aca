// Compresses arbitrary data with the -lh5- encoder and requires the decoder
// to give it back unchanged.
//
// The first input byte selects how the rest is expanded before encoding, so
// that short inputs still reach the window slides (8448 bytes and more), the
// long runs that crowd hash chains, and matches of the maximum length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/archive/lh5_encoder.h"
#include "core/archive/lzh_method.h"

namespace {

std::vector<uint8_t> Expand(const uint8_t* data, size_t size) {
  if (size == 0) return {};
  const uint8_t mode = data[0];
  std::vector<uint8_t> body(data + 1, data + size);
  if (body.empty() || (mode & 3) == 0) return body;
  // Repeat the body up to a target length, changing one byte in every
  // repetition so that matches end in different places.
  const size_t target = 1024 + static_cast<size_t>(mode >> 2) * 384;  // up to 25 KiB: two slides
  std::vector<uint8_t> out;
  out.reserve(target);
  uint8_t tweak = 0;
  while (out.size() < target) {
    if ((mode & 3) == 2) {
      // Runs: every body byte becomes a run of its own value.
      for (uint8_t b : body) out.insert(out.end(), 1 + b % 64 * (mode & 4 ? 5 : 1), b);
    } else {
      out.insert(out.end(), body.begin(), body.end());
    }
    if ((mode & 3) == 3) out[out.size() - 1 - tweak % body.size()] ^= static_cast<uint8_t>(tweak);
    ++tweak;
  }
  out.resize(target);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static luma::Lh5Encoder encoder;  // reused on purpose: no state may leak between inputs
  const std::vector<uint8_t> source = Expand(data, size);
  std::vector<uint8_t> packed;
  if (!encoder.Encode(source, &packed)) {
    if (!packed.empty()) std::abort();
    return 0;
  }
  if (packed.size() >= source.size()) std::abort();
  const luma::LzhMethodInfo* lh5 = luma::FindLzhMethod("-lh5-");
  std::vector<uint8_t> unpacked;
  if (!luma::DecodeLzhToMemory(*lh5, packed, static_cast<uint32_t>(source.size()), unpacked))
    std::abort();
  if (unpacked != source) std::abort();
  return 0;
}
