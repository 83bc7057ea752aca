#ifndef LUMA_CORE_ARCHIVE_LZH_METHOD_H_
#define LUMA_CORE_ARCHIVE_LZH_METHOD_H_

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace luma {

// Method numbers as the archive code knows them; -lh7- and UNLHA32's -lhx-
// come after the original eleven.
enum class LzhMethod : uint8_t {
  kLh0 = 0,
  kLh1 = 1,
  kLh2 = 2,
  kLh3 = 3,
  kLh4 = 4,
  kLh5 = 5,
  kLh6 = 6,
  kLzs = 7,
  kLz5 = 8,
  kLz4 = 9,
  kLhd = 10,
  kLh7 = 11,
  kLhx = 12,
};

struct LzhMethodInfo;

// Takes a member's bytes in order as they are decoded, in pieces of at most
// 64 KiB, so that a member of any size passes through without being held.
class LzhOutput {
 public:
  virtual ~LzhOutput() = default;
  // False stops the decoding: the bytes could not be taken.
  virtual bool Write(std::span<const uint8_t> bytes) = 0;
};

// Collects the bytes in memory.
class LzhMemoryOutput : public LzhOutput {
 public:
  explicit LzhMemoryOutput(std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  bool Write(std::span<const uint8_t> bytes) override {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return true;
  }

 private:
  std::vector<uint8_t>& bytes_;
};

// Decodes the packed bytes of one member into exactly `unpacked_size` bytes
// written to `out`. Returns false when the data runs out long before the
// output is complete, or when `out` refuses bytes.
using LzhDecodeFunction = bool (*)(const LzhMethodInfo& method, std::span<const uint8_t> packed,
                                   uint32_t unpacked_size, LzhOutput& out);

// One row of the method table: what a method id means to the decoders.
struct LzhMethodInfo {
  const char* id;  // "-lh5-"
  LzhMethod method;
  uint8_t dictionary_bits;      // 0 where no dictionary is used
  uint8_t position_symbols;     // static-Huffman blocks: size of the position alphabet
  uint8_t position_count_bits;  // static-Huffman blocks: width of its count field
  LzhDecodeFunction decode;
};

// The table entry for a method id, compared without regard to case;
// nullptr for ids the table does not know.
const LzhMethodInfo* FindLzhMethod(std::string_view id);

// Decodes a whole member into `out` (which arrives empty).
bool DecodeLzhToMemory(const LzhMethodInfo& method, std::span<const uint8_t> packed,
                       uint32_t unpacked_size, std::vector<uint8_t>& out);

// The stored method: unknown ids are copied as stored, so that their CRC
// check fails instead of something being guessed.
const LzhMethodInfo& StoredLzhMethod();

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_LZH_METHOD_H_
