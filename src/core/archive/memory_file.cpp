#include "core/archive/memory_file.h"

#include <algorithm>
#include <cstring>

namespace luma {

size_t MemoryFile::Read(void* out, size_t size) {
  if (position_ >= bytes_.size()) return 0;
  const size_t n = std::min(size, bytes_.size() - position_);
  if (n > 0) std::memcpy(out, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

void MemoryFile::Write(const void* data, size_t size) {
  if (size == 0) return;
  if (position_ + size > bytes_.size()) bytes_.resize(position_ + size);
  std::memcpy(bytes_.data() + position_, data, size);
  position_ += size;
}

std::span<const uint8_t> MemoryFile::Remaining() const {
  if (position_ >= bytes_.size()) return {};
  return std::span<const uint8_t>(bytes_).subspan(position_);
}

}  // namespace luma
