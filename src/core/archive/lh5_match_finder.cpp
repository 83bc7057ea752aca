#include "core/archive/lh5_match_finder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace luma {

Lh5MatchFinder::Lh5MatchFinder()
    : text_(kTextSize), head_(kHashSize), link_(kDictionarySize), too_long_(kHashSize) {}

void Lh5MatchFinder::Start(std::span<const uint8_t> source) {
  source_ = source;
  source_pos_ = 0;
  std::fill(head_.begin(), head_.end(), Position{0});
  std::fill(link_.begin(), link_.end(), Position{0});
  std::fill(too_long_.begin(), too_long_.end(), uint8_t{0});
  // The decoder's ring starts out as spaces, so matches may reach back into
  // them before the first real byte.
  std::fill(text_.begin(), text_.end(), uint8_t{' '});
  remainder_ = Read(&text_[kDictionarySize], kTextSize - kDictionarySize);
  pos_ = kDictionarySize;
  match_length_ = std::min<uint32_t>(2, remainder_);
  match_distance_ = 0;
  hash_ = HashAt(pos_);
  Insert();
}

uint32_t Lh5MatchFinder::Read(uint8_t* dest, uint32_t max) {
  const size_t n = std::min<size_t>(max, source_.size() - source_pos_);
  if (n != 0) std::memcpy(dest, source_.data() + source_pos_, n);
  source_pos_ += n;
  return static_cast<uint32_t>(n);
}

void Lh5MatchFinder::Advance() {
  --remainder_;
  if (++pos_ >= kTextSize - kMaxMatch) Slide();
  hash_ = NextHash(hash_, pos_);
}

void Lh5MatchFinder::Slide() {
  std::memmove(&text_[0], &text_[kDictionarySize], kTextSize - kDictionarySize);
  remainder_ += Read(&text_[kTextSize - kDictionarySize], kDictionarySize);
  pos_ -= kDictionarySize;
  // Positions that drop out of the window become "none" (0).
  const auto shift = [](Position p) {
    return static_cast<Position>(p > kDictionarySize ? p - kDictionarySize : 0);
  };
  std::transform(head_.begin(), head_.end(), head_.begin(), shift);
  std::transform(link_.begin(), link_.end(), link_.begin(), shift);
  std::fill(too_long_.begin(), too_long_.end(), uint8_t{0});
}

void Lh5MatchFinder::Insert() {
  link_[pos_ & (kDictionarySize - 1)] = head_[hash_];
  head_[hash_] = static_cast<Position>(pos_);
}

void Lh5MatchFinder::Search(uint32_t min_length) {
  match_length_ = std::max<uint32_t>(min_length, kMinMatch - 1);
  match_distance_ = 0;

  // A crowded chain is searched under the hash of a later 3-byte group of
  // the string instead, which is usually much shorter; candidates found there
  // are shifted back by the offset.
  uint32_t offset = 0;
  uint32_t hash = hash_;
  while (too_long_[hash] && offset < kMaxMatch - kMinMatch) {
    ++offset;
    hash = NextHash(hash, pos_ + offset);
  }
  if (offset == kMaxMatch - kMinMatch) {
    offset = 0;
    hash = hash_;
  }
  SearchChain(hash, offset, kMaxMatch);
  // Matches shorter than the skipped part cannot be seen that way.
  if (offset > 0 && match_length_ < offset + kMinMatch) SearchChain(hash_, 0, offset + 2);
  match_length_ = std::min(match_length_, remainder_);
}

void Lh5MatchFinder::SearchChain(uint32_t hash, uint32_t offset, uint32_t max_length) {
  const uint8_t* const text = text_.data();
  const uint8_t* const here = text + pos_;
  const Position* const link = link_.data();
  // A candidate's match must start inside the dictionary behind pos_.
  const uint32_t oldest = pos_ - kDictionarySize + offset;
  uint32_t length = match_length_;
  uint32_t visited = 0;
  for (uint32_t candidate = head_[hash]; candidate > oldest;
       candidate = link[candidate & (kDictionarySize - 1)]) {
    ++visited;
    const uint8_t* const there = text + (candidate - offset);
    // Only a string that agrees at the current length can be longer.
    if (there[length] != here[length] || there[length - 1] != here[length - 1]) continue;
    const uint32_t n = CommonLength(there, here, max_length);
    if (n > length) {
      length = n;
      match_distance_ = static_cast<uint32_t>(here - there);
      if (n == max_length) break;
    }
  }
  match_length_ = length;
  if (visited >= kChainLimit) too_long_[hash] = 1;
}

uint32_t Lh5MatchFinder::CommonLength(const uint8_t* a, const uint8_t* b, uint32_t max) const {
  uint32_t n = 0;
  while (n + 8 <= max) {
    uint64_t x;
    uint64_t y;
    std::memcpy(&x, a + n, 8);
    std::memcpy(&y, b + n, 8);
    if (x != y) {
      if constexpr (std::endian::native == std::endian::little) {
        return n + static_cast<uint32_t>(std::countr_zero(x ^ y)) / 8;
      } else {
        return n + static_cast<uint32_t>(std::countl_zero(x ^ y)) / 8;
      }
    }
    n += 8;
  }
  while (n < max && a[n] == b[n]) ++n;
  return n;
}

}  // namespace luma
