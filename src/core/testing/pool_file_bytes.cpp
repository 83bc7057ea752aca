#include "core/testing/pool_file_bytes.h"

#include "core/pools/pool_file.h"

namespace luma::testing {
namespace {

std::string Field(std::string_view text, size_t size) {
  std::string s(text);
  s.resize(size, '\0');
  return s;
}

}  // namespace

std::string Le32(uint32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
  return s;
}

std::string Record(std::string_view id, int32_t value) {
  return Field(id, kValueIdFieldSize) + Le32(static_cast<uint32_t>(value));
}

std::string Header(const DollIdentity& id) {
  return Field(id.name, kPoolNameFieldSize) + Le32(id.size) +
         Le32(static_cast<uint32_t>(id.checksum));
}

}  // namespace luma::testing
