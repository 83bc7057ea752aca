#ifndef LUMA_CORE_ARCHIVE_LH5_ENCODER_H_
#define LUMA_CORE_ARCHIVE_LH5_ENCODER_H_

#include <cstdint>
#include <span>
#include <vector>

#include "core/archive/lh5_block_coder.h"
#include "core/archive/lh5_match_finder.h"

namespace luma {

// Compresses byte strings into "-lh5-" streams (8 KiB dictionary, static
// Huffman blocks). The object owns about 250 KiB of working memory and may
// be reused for any number of members, one at a time.
class Lh5Encoder {
 public:
  Lh5Encoder();

  // Appends the packed form of `source` to `out` and returns true, provided
  // it comes out shorter than the source. Otherwise returns false with `out`
  // as it was: the member is to be stored. Sources above 4 GiB - 1 bytes do
  // not fit an LZH header and must not be passed.
  bool Encode(std::span<const uint8_t> source, std::vector<uint8_t>* out);

 private:
  Lh5MatchFinder finder_;
  Lh5BlockCoder coder_;
};

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_LH5_ENCODER_H_
