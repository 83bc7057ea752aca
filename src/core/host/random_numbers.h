#ifndef LUMA_CORE_HOST_RANDOM_NUMBERS_H_
#define LUMA_CORE_HOST_RANDOM_NUMBERS_H_

#include <cstdint>

namespace luma {

// The generator behind Host::Random in every front end: a linear
// congruential generator with the classic 15-bit output. The same seed gives
// the same numbers in lumadoll-tool and in the web page, so a script that
// draws random numbers draws the same picture in both.
class RandomNumbers {
 public:
  explicit RandomNumbers(uint32_t seed) : state_(seed) {}

  void Seed(uint32_t seed) { state_ = seed; }
  // 0..32767.
  int Next() {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<int>((state_ >> 16) & 0x7fff);
  }

 private:
  uint32_t state_;
};

}  // namespace luma

#endif  // LUMA_CORE_HOST_RANDOM_NUMBERS_H_
