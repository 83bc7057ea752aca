#ifndef LUMA_CORE_ARCHIVE_LZH_DECODERS_H_
#define LUMA_CORE_ARCHIVE_LZH_DECODERS_H_

#include "core/archive/lzh_method.h"

// The decoder families behind the method table; each lives in its own file.
namespace luma {

bool DecodeStored(const LzhMethodInfo& method, std::span<const uint8_t> packed,
                  uint32_t unpacked_size, LzhOutput& out);
// -lh1- and -lh2-: adaptive Huffman.
bool DecodeAdaptiveHuffman(const LzhMethodInfo& method, std::span<const uint8_t> packed,
                           uint32_t unpacked_size, LzhOutput& out);
// -lh3-: static Huffman, one code set per block, optional fixed position code.
bool DecodeLh3(const LzhMethodInfo& method, std::span<const uint8_t> packed, uint32_t unpacked_size,
               LzhOutput& out);
// -lh4- to -lh7-: static Huffman blocks with transmitted code lengths.
bool DecodeHuffmanBlocks(const LzhMethodInfo& method, std::span<const uint8_t> packed,
                         uint32_t unpacked_size, LzhOutput& out);
// -lzs- and -lz5-: the LArc methods.
bool DecodeLarc(const LzhMethodInfo& method, std::span<const uint8_t> packed,
                uint32_t unpacked_size, LzhOutput& out);
// -lhd-: a directory entry carries no data, so any data it claims is refused.
bool DecodeNothing(const LzhMethodInfo& method, std::span<const uint8_t> packed,
                   uint32_t unpacked_size, LzhOutput& out);

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_LZH_DECODERS_H_
