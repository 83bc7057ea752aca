#ifndef LUMA_CORE_ARCHIVE_MEMORY_FILE_H_
#define LUMA_CORE_ARCHIVE_MEMORY_FILE_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace luma {

// A growable byte buffer with a file-like current position. Reads stop at
// the end; writes overwrite from the position and extend the buffer as
// needed. Seeking past the end is allowed (reads there return nothing, a
// write first zero-fills the gap).
class MemoryFile {
 public:
  MemoryFile() = default;
  explicit MemoryFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  size_t size() const { return bytes_.size(); }
  size_t position() const { return position_; }
  void Seek(size_t position) { position_ = position; }
  void Rewind() { position_ = 0; }

  // Copies up to `size` bytes from the position on and advances past them;
  // returns how many were copied.
  size_t Read(void* out, size_t size);
  void Write(const void* data, size_t size);
  void Write(std::span<const uint8_t> data) { Write(data.data(), data.size()); }

  // The bytes from the position to the end (empty past the end).
  std::span<const uint8_t> Remaining() const;
  std::span<const uint8_t> bytes() const { return bytes_; }

  void Clear() {
    bytes_.clear();
    position_ = 0;
  }

 private:
  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
};

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_MEMORY_FILE_H_
