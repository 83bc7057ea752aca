#ifndef LUMA_CORE_TESTING_POOL_FILE_BYTES_H_
#define LUMA_CORE_TESTING_POOL_FILE_BYTES_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "core/pools/doll_identity.h"

// The bytes of value pool files, built by hand so that tests state the file
// layout independently of the code that writes it.
namespace luma::testing {

// A little-endian 32-bit number.
std::string Le32(uint32_t v);
// One value record: the id in its zero-padded field, then the value.
std::string Record(std::string_view id, int32_t value);
// A private pool's header: the doll's path in its field, size, checksum.
std::string Header(const DollIdentity& id);

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_POOL_FILE_BYTES_H_
