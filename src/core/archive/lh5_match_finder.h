#ifndef LUMA_CORE_ARCHIVE_LH5_MATCH_FINDER_H_
#define LUMA_CORE_ARCHIVE_LH5_MATCH_FINDER_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace luma {

// The sliding window of the -lh5- encoder: a text buffer of two dictionaries
// plus one maximum match, hash chains over 3-byte prefixes, and the longest
// match search. Positions are indexes into the text buffer; the source is
// read into the upper half and the window slides down by one dictionary
// whenever the position comes within a maximum match of the end.
class Lh5MatchFinder {
 public:
  static constexpr int kDictionaryBits = 13;
  static constexpr uint32_t kDictionarySize = 1u << kDictionaryBits;
  static constexpr uint32_t kMaxMatch = 256;
  static constexpr uint32_t kMinMatch = 3;

  Lh5MatchFinder();

  // Loads the first part of `source` (which must outlive the search) and
  // hashes the first position. The source may be empty.
  void Start(std::span<const uint8_t> source);

  // Steps to the next position: one byte fewer remains; slides the window
  // when needed and rolls the hash over the new position.
  void Advance();
  // Looks for a match longer than `min_length` (at least 2) at the current
  // position; match_length() and match_distance() give the result, the
  // length clamped to what remains. When nothing longer is found the length
  // stays `min_length` (clamped) and the distance is 0.
  void Search(uint32_t min_length);
  // Enters the current position into its hash chain.
  void Insert();

  uint32_t remainder() const { return remainder_; }
  uint32_t match_length() const { return match_length_; }
  uint32_t match_distance() const { return match_distance_; }
  // The byte just before the current position.
  uint8_t PreviousByte() const { return text_[pos_ - 1]; }

 private:
  static constexpr int kHashBits = 15;
  static constexpr uint32_t kHashSize = 1u << kHashBits;
  // Chains at least this long mark their hash value as crowded.
  static constexpr uint32_t kChainLimit = 256;
  static constexpr uint32_t kTextSize = 2 * kDictionarySize + kMaxMatch;

  uint32_t HashAt(uint32_t pos) const {
    return ((((text_[pos] & 0x1Fu) << 5) ^ text_[pos + 1]) << 5) ^ text_[pos + 2];
  }
  // The hash of pos + 1 from the hash of pos.
  uint32_t NextHash(uint32_t hash, uint32_t next_pos) const {
    return ((hash & 0x3FFu) << 5) ^ text_[next_pos + 2];
  }
  uint32_t Read(uint8_t* dest, uint32_t max);
  void Slide();
  void SearchChain(uint32_t hash, uint32_t offset, uint32_t max_length);
  uint32_t CommonLength(const uint8_t* a, const uint8_t* b, uint32_t max) const;

  std::span<const uint8_t> source_;
  size_t source_pos_ = 0;

  std::vector<uint8_t> text_;
  // Positions fit 16 bits; keeping the tables small keeps the chain walks
  // in the first-level cache.
  using Position = uint16_t;
  static_assert(kTextSize <= 0x10000);
  std::vector<Position> head_;  // newest position per hash value, 0 for none
  std::vector<Position> link_;  // next older position, per dictionary slot
  std::vector<uint8_t> too_long_;

  uint32_t pos_ = 0;
  uint32_t hash_ = 0;
  uint32_t remainder_ = 0;
  uint32_t match_length_ = 0;
  uint32_t match_distance_ = 0;
};

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_LH5_MATCH_FINDER_H_
