#ifndef LUMA_CORE_TESTING_SHA256_H_
#define LUMA_CORE_TESTING_SHA256_H_

#include <cstdint>
#include <span>
#include <string>

namespace luma::testing {

// SHA-256 of `data` as 64 lower-case hex digits; for comparing test output
// with checksums published alongside real-world data.
std::string Sha256Hex(std::span<const uint8_t> data);

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_SHA256_H_
