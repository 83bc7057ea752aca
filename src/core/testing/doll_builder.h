#ifndef LUMA_CORE_TESTING_DOLL_BUILDER_H_
#define LUMA_CORE_TESTING_DOLL_BUILDER_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace luma::testing {

// A header-form CEL of `width` x `height` at 4, 8 or 32 bits per pixel, every
// pixel palette index `index` (32 bits: opaque grey).
std::string TestCel(int width, int height, int bits, int index = 1);

// A header-form KCF of `groups` groups (each different) of `colors` 24-bit colours.
std::string TestKcf(int colors, int groups = 1);

// An archive of stored members (level-1 headers), in the order given.
std::vector<uint8_t> TestDollArchive(const std::vector<std::pair<std::string, std::string>>& files);

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_DOLL_BUILDER_H_
