#ifndef LUMA_CORE_ARCHIVE_FIXED_POSITION_CODE_H_
#define LUMA_CORE_ARCHIVE_FIXED_POSITION_CODE_H_

#include <cstdint>
#include <initializer_list>

namespace luma {

// Code lengths of the fixed position codes of -lh1- and -lh3-. The length
// starts at `first_length` and grows by one each time the symbol index
// reaches a value of `steps` (a value listed twice grows it by two).
inline void FixedPositionLengths(int first_length, std::initializer_list<int> steps,
                                 uint8_t* lengths, int symbols) {
  int len = first_length;
  const int* step = steps.begin();
  for (int i = 0; i < symbols; ++i) {
    while (step != steps.end() && *step == i) {
      ++len;
      ++step;
    }
    lengths[i] = static_cast<uint8_t>(len);
  }
}

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_FIXED_POSITION_CODE_H_
