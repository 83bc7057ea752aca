#ifndef LUMA_CORE_MODEL_SORTED_LOOKUP_H_
#define LUMA_CORE_MODEL_SORTED_LOOKUP_H_

#include <cstddef>
#include <vector>

namespace luma {

// Where a key is, or belongs, in a sorted list of owned records.
struct SortedPosition {
  size_t index;  // the match, or where a new entry is inserted to keep the order
  bool found;
};

// The doll's sorted lists are searched by binary search from this many
// entries on and by a linear scan below it.
inline constexpr size_t kBinarySearchFrom = 10;

// `compare(entry, key)` returns <0, 0 or >0 as the entry sorts before, equal
// to or after the key.
template <typename Entry, typename Compare>
SortedPosition SortedFind(const std::vector<Entry>& list, Compare compare) {
  if (list.size() < kBinarySearchFrom) {
    for (size_t i = 0; i < list.size(); ++i) {
      const int c = compare(list[i]);
      if (c == 0) return {i, true};
      if (c > 0) return {i, false};
    }
    return {list.size(), false};
  }
  size_t low = 0;
  size_t high = list.size();
  while (low < high) {
    const size_t mid = low + (high - low) / 2;
    const int c = compare(list[mid]);
    if (c == 0) return {mid, true};
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return {low, false};
}

}  // namespace luma

#endif  // LUMA_CORE_MODEL_SORTED_LOOKUP_H_
