#include "core/archive/lzh_archive_start.h"

#include <algorithm>
#include <vector>

#include "core/archive/lzh_header.h"
#include "core/host/file_io.h"
#include "core/host/little_endian.h"
#include "core/host/text.h"

namespace luma {
namespace {

constexpr size_t kSearchBytes = 64 * 1024;

// The end of the sections of a Windows (PE) program: self-extractors append
// their archive there, sometimes more than 64 KiB into the file. 0 when the
// image is no such program.
size_t EndOfWindowsProgram(std::span<const uint8_t> image) {
  if (image.size() < 0x40 || image[0] != 'M' || image[1] != 'Z') return 0;
  const size_t pe = LoadLe32(&image[0x3C]);
  if (pe > image.size() || image.size() - pe < 24) return 0;
  if (image[pe] != 'P' || image[pe + 1] != 'E' || image[pe + 2] != 0 || image[pe + 3] != 0) {
    return 0;
  }
  const size_t sections = LoadLe16(&image[pe + 6]);
  const size_t table = pe + 24 + LoadLe16(&image[pe + 20]);
  size_t end = 0;
  for (size_t i = 0; i < sections; ++i) {
    const size_t entry = table + 40 * i;
    if (entry > image.size() || image.size() - entry < 40) break;
    end =
        std::max<size_t>(end, size_t{LoadLe32(&image[entry + 20])} + LoadLe32(&image[entry + 16]));
  }
  return end;
}

bool StartsArchive(std::span<const uint8_t> image, size_t at) {
  const std::span<const uint8_t> rest = image.subspan(at);
  if (rest.size() < 22 || rest[2] != '-' || rest[6] != '-') return false;
  if (!IsVerifiedLzhHeader(rest)) return false;
  LzhHeader header;
  if (!ParseLzhHeader(rest, header)) return false;
  return header.header_length + uint64_t{header.packed_size} <= rest.size();
}

std::optional<size_t> Search(std::span<const uint8_t> image, size_t from, size_t to) {
  to = std::min(to, image.size());
  for (size_t at = from; at < to; ++at) {
    if (StartsArchive(image, at)) return at;
  }
  return std::nullopt;
}

}  // namespace

std::optional<size_t> FindLzhArchiveStart(std::span<const uint8_t> image) {
  LzhHeader header;
  if (ParseLzhHeader(image, header)) return 0;
  if (std::optional<size_t> at = Search(image, 1, kSearchBytes)) return at;
  const size_t program_end = EndOfWindowsProgram(image);
  if (program_end == 0) return std::nullopt;
  return Search(image, std::max(program_end, kSearchBytes), program_end + kSearchBytes);
}

bool IsSelfExtractingLzh(FileSystem& files, const std::string& path) {
  const std::string_view extension = ExtensionPart(path);
  if (!EqualsIgnoreCase(extension, "exe") && !EqualsIgnoreCase(extension, "com")) return false;
  const Result<std::vector<uint8_t>> bytes = ReadWholeFile(files, path);
  return bytes.ok() && FindLzhArchiveStart(*bytes).has_value();
}

}  // namespace luma
