#ifndef LUMA_CORE_TESTING_SAMPLE_DATA_H_
#define LUMA_CORE_TESTING_SAMPLE_DATA_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace luma::testing {

// `size` bytes that no compressor can shrink, the same for the same seed.
std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed);

// `size` bytes of CNF-like text (words, numbers, line breaks), about as
// compressible as real doll files; the same for the same seed.
std::vector<uint8_t> SampleText(size_t size, uint32_t seed);

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_SAMPLE_DATA_H_
