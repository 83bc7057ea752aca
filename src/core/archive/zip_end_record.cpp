#include "core/archive/zip_end_record.h"

#include <algorithm>
#include <cstddef>

#include "core/host/little_endian.h"

namespace luma {
namespace {

constexpr size_t kEndRecordSize = 22;
constexpr size_t kMaxCommentSize = 0xFFFF;
constexpr size_t kLocatorSize = 20;
constexpr size_t kEnd64RecordSize = 56;

bool SignatureAt(std::span<const uint8_t> bytes, size_t at, uint8_t a, uint8_t b) {
  return at + 4 <= bytes.size() && bytes[at] == 'P' && bytes[at + 1] == 'K' && bytes[at + 2] == a &&
         bytes[at + 3] == b;
}

// The ZIP64 end record the locator before `end` points at; a self-extractor
// in front shifts every offset, so the place just before the locator counts
// too.
std::optional<size_t> FindEnd64(std::span<const uint8_t> image, size_t end) {
  if (end < kLocatorSize) return std::nullopt;
  const size_t locator = end - kLocatorSize;
  if (!SignatureAt(image, locator, 6, 7)) return std::nullopt;
  const uint64_t stated = LoadLe64(&image[locator + 8]);
  if (stated <= image.size() - kEnd64RecordSize && SignatureAt(image, stated, 6, 6)) {
    return static_cast<size_t>(stated);
  }
  if (locator >= kEnd64RecordSize && SignatureAt(image, locator - kEnd64RecordSize, 6, 6)) {
    return locator - kEnd64RecordSize;
  }
  return std::nullopt;
}

}  // namespace

std::optional<ZipDirectoryClaim> ReadZipDirectoryClaim(std::span<const uint8_t> image) {
  if (image.size() < kEndRecordSize) return std::nullopt;
  // The record sits before a comment of up to 64 KiB; the comment may hold
  // the signature too, so a record whose comment ends with the file wins.
  const size_t last = image.size() - kEndRecordSize;
  const size_t first = last - std::min(last, kMaxCommentSize);
  std::optional<size_t> end;
  for (size_t at = last + 1; at-- > first;) {
    if (!SignatureAt(image, at, 5, 6)) continue;
    if (!end) end = at;
    if (at + kEndRecordSize + LoadLe16(&image[at + 20]) == image.size()) {
      end = at;
      break;
    }
  }
  if (!end) return std::nullopt;

  ZipDirectoryClaim claim;
  claim.entries = LoadLe16(&image[*end + 10]);
  claim.size = LoadLe32(&image[*end + 12]);
  if (const std::optional<size_t> end64 = FindEnd64(image, *end)) {
    if (claim.entries == 0xFFFF) claim.entries = LoadLe64(&image[*end64 + 32]);
    if (claim.size == 0xFFFFFFFF) claim.size = LoadLe64(&image[*end64 + 40]);
  }
  return claim;
}

}  // namespace luma
