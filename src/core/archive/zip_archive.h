#ifndef LUMA_CORE_ARCHIVE_ZIP_ARCHIVE_H_
#define LUMA_CORE_ARCHIVE_ZIP_ARCHIVE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/archive/archive_reader.h"

struct zip;
struct libdeflate_decompressor;

namespace luma {

// What a ZIP file may make the reader do. A ZIP's sizes are its own claims:
// every member is held to the size it declares, so these bound the memory
// and time that one archive can take however it lies.
struct ZipLimits {
  uint64_t max_member_size = kMaxArchiveMemberSize;
  // All that ReadMember unpacks over the reader's life: entries may share
  // one block of compressed data, so a tiny file can declare gigabytes
  // without any single member being too large.
  uint64_t max_total_size = uint64_t{1} << 30;
  // Central directory entries; a doll has a few hundred files.
  uint64_t max_members = 65536;
};

// Per-member facts only a ZIP listing shows.
struct ZipMemberDetails {
  uint16_t method = 0;  // 0 stored, 8 deflated, ...
  uint32_t crc = 0;     // CRC-32 of the unpacked data
  bool encrypted = false;
};

// A ZIP archive held in memory, read through libzip: stored and deflated
// members (and whatever else the library unpacks), ZIP64 sizes and offsets.
// Members read whole are inflated by libdeflate, several times faster than
// zlib on cels, whose long runs zlib copies a byte at a time.
// Names stay the bytes the archive holds; a name the archive marks as UTF-8
// says so in its ArchiveMember. Encrypted members are listed but refused.
class ZipArchive final : public ArchiveReader {
 public:
  ZipArchive();
  ~ZipArchive() override;
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // Fails, saying why, for anything that is not a readable ZIP directory.
  Status OpenImage(std::vector<uint8_t> image, const ZipLimits& limits = {});

  const char* format_name() const override { return "ZIP"; }
  Result<std::vector<uint8_t>> ReadMember(size_t index) override;

  // Unpacks member `index` piece by piece into `sink`, never holding the
  // whole member, so any size can be tested or written out. The total-size
  // limit does not apply; the member must still unpack to the size it
  // declares and pass its CRC check.
  using Sink = std::function<Status(std::span<const uint8_t>)>;
  Status StreamMember(size_t index, const Sink& sink);

  const ZipMemberDetails& details(size_t index) const { return details_[index]; }

  // "stored", "deflated", ... or "method N".
  static std::string MethodName(uint16_t method);

 private:
  struct ZipCloser {
    void operator()(struct zip* archive) const;
  };
  struct InflaterFree {
    void operator()(libdeflate_decompressor* inflater) const;
  };

  // Why member `index` cannot be unpacked, or OK.
  Status CheckReadable(size_t index) const;
  // Unpacks member `index`, which must unpack to exactly its declared size:
  // into `whole` when given, else piece by piece into `sink`.
  Status Unpack(size_t index, std::vector<uint8_t>* whole, const Sink& sink);
  // The same for a stored or deflated member read whole, from its packed
  // bytes in one piece.
  Status UnpackWhole(size_t index, std::vector<uint8_t>& out);

  std::vector<uint8_t> image_;
  std::unique_ptr<struct zip, ZipCloser> zip_;
  std::unique_ptr<libdeflate_decompressor, InflaterFree> inflater_;
  ZipLimits limits_;
  std::vector<ZipMemberDetails> details_;
  uint64_t total_read_ = 0;
};

// True when `bytes` begin the way a ZIP file does (a member, an empty
// archive, or a split-archive marker).
bool StartsLikeZip(std::span<const uint8_t> bytes);

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_ZIP_ARCHIVE_H_
