#include "core/archive/zip_archive.h"

#include <libdeflate.h>
#include <zip.h>

#include <algorithm>
#include <ctime>
#include <new>
#include <optional>
#include <utility>

#include "core/archive/zip_end_record.h"
#include "core/host/text.h"

namespace luma {
namespace {

constexpr size_t kStreamChunk = 64 << 10;

std::string Mebibytes(uint64_t bytes) {
  return StringPrintf("%llu MiB", static_cast<unsigned long long>(bytes >> 20));
}

// Why libzip could not open the archive, in the reader's words.
std::string OpenFailure(int code) {
  switch (code) {
    case ZIP_ER_NOZIP:
      return "It is not a ZIP archive.";
    case ZIP_ER_INCONS:
      return "The ZIP archive is damaged: its directory does not fit the file.";
    case ZIP_ER_MULTIDISK:
      return "It is one part of a ZIP archive split over several files.";
    case ZIP_ER_MEMORY:
      return "Out of memory.";
    default: {
      zip_error_t error;
      zip_error_init_with_code(&error, code);
      std::string text =
          std::string("The ZIP archive is damaged (") + zip_error_strerror(&error) + ").";
      zip_error_fini(&error);
      return text;
    }
  }
}

// Why a member could not be unpacked.
std::string ReadFailure(zip_error_t* error) {
  switch (zip_error_code_zip(error)) {
    case ZIP_ER_CRC:
      return "CRC error";
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
    case ZIP_ER_ENCRNOTSUPP:
      return "encrypted; Lumadoll does not read encrypted ZIP members";
    case ZIP_ER_COMPNOTSUPP:
      return "compressed by a method Lumadoll cannot unpack";
    case ZIP_ER_MEMORY:
      return "out of memory";
    default:
      return std::string("damaged data (") + zip_error_strerror(error) + ")";
  }
}

Status TooManyMembers(uint64_t count, uint64_t limit) {
  return Status::Error(
      StringPrintf("The ZIP directory lists %llu members, more than the %llu Lumadoll reads.",
                   static_cast<unsigned long long>(count), static_cast<unsigned long long>(limit)));
}

// libzip reads the stored MS-DOS time as local time; this turns it back.
uint32_t DosTimeOf(std::time_t time) {
  std::tm tm{};
  if (time <= 0 || !localtime_r(&time, &tm) || tm.tm_year < 80) return 0;
  return static_cast<uint32_t>(((tm.tm_year - 80) << 25) | ((tm.tm_mon + 1) << 21) |
                               (tm.tm_mday << 16) | (tm.tm_hour << 11) | (tm.tm_min << 5) |
                               (tm.tm_sec / 2));
}

}  // namespace

void ZipArchive::ZipCloser::operator()(zip_t* archive) const { zip_discard(archive); }
void ZipArchive::InflaterFree::operator()(libdeflate_decompressor* inflater) const {
  libdeflate_free_decompressor(inflater);
}

ZipArchive::ZipArchive() = default;
ZipArchive::~ZipArchive() = default;

bool StartsLikeZip(std::span<const uint8_t> bytes) {
  if (bytes.size() < 4 || bytes[0] != 'P' || bytes[1] != 'K') return false;
  return (bytes[2] == 3 && bytes[3] == 4) || (bytes[2] == 5 && bytes[3] == 6) ||
         (bytes[2] == 7 && bytes[3] == 8);
}

std::string ZipArchive::MethodName(uint16_t method) {
  switch (method) {
    case ZIP_CM_STORE:
      return "stored";
    case ZIP_CM_DEFLATE:
      return "deflated";
    case ZIP_CM_DEFLATE64:
      return "deflate64";
    case ZIP_CM_BZIP2:
      return "bzip2";
    case ZIP_CM_LZMA:
      return "lzma";
    case ZIP_CM_XZ:
      return "xz";
    default:
      return StringPrintf("method %u", method);
  }
}

Status ZipArchive::OpenImage(std::vector<uint8_t> image, const ZipLimits& limits) {
  image_ = std::move(image);
  limits_ = limits;
  if (image_.empty()) return Status::Error("The file is empty.");
  // libzip sets up every entry the end record claims before it reads one;
  // a claim is checked first against the limit and the directory's room.
  if (const std::optional<ZipDirectoryClaim> claim = ReadZipDirectoryClaim(image_)) {
    if (claim->entries > limits_.max_members) {
      return TooManyMembers(claim->entries, limits_.max_members);
    }
    const uint64_t room =
        std::min<uint64_t>(claim->size, image_.size()) / kMinZipDirectoryEntrySize;
    if (claim->entries > room) {
      return Status::Error(StringPrintf(
          "The ZIP archive is damaged: its directory claims %llu members but has room for %llu "
          "at most.",
          static_cast<unsigned long long>(claim->entries), static_cast<unsigned long long>(room)));
    }
  }
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(image_.data(), image_.size(), 0, &error);
  zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
  if (!archive) {
    const int code = zip_error_code_zip(&error);
    zip_error_fini(&error);
    if (source) zip_source_free(source);
    // A ZIP's directory is at its end: a download that broke off still
    // begins like a ZIP.
    if (code == ZIP_ER_NOZIP && StartsLikeZip(image_)) {
      return Status::Error(
          "The ZIP archive is damaged or cut off: the directory at its end is missing.");
    }
    return Status::Error(OpenFailure(code));
  }
  zip_error_fini(&error);
  zip_.reset(archive);

  const zip_int64_t count = zip_get_num_entries(archive, 0);
  if (count < 0) return Status::Error("The ZIP archive is damaged: its directory cannot be read.");
  if (static_cast<uint64_t>(count) > limits_.max_members) {
    return TooManyMembers(static_cast<uint64_t>(count), limits_.max_members);
  }
  for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count); ++i) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive, i, ZIP_FL_ENC_RAW, &st) != 0) {
      return Status::Error("The ZIP archive is damaged: a directory entry cannot be read.");
    }
    // Copied at once: the second call may reuse the first one's storage.
    const char* raw = zip_get_name(archive, i, ZIP_FL_ENC_RAW);
    ArchiveMember member;
    member.full_name = raw ? raw : "";
    // Without the UTF-8 mark, libzip's strict reading converts every name
    // that is not plain ASCII; a name that comes back unchanged is UTF-8.
    const char* strict = zip_get_name(archive, i, ZIP_FL_ENC_STRICT);
    member.utf8_name = strict && member.full_name == strict;
    // The format separates folders with "/" only; "\" can be the second
    // byte of a Shift-JIS character.
    const size_t slash = member.full_name.find_last_of('/');
    member.name =
        slash == std::string::npos ? member.full_name : member.full_name.substr(slash + 1);
    member.is_directory = !member.full_name.empty() && member.full_name.back() == '/';
    member.size = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
    member.packed_size = (st.valid & ZIP_STAT_COMP_SIZE) ? st.comp_size : 0;
    member.dos_time = (st.valid & ZIP_STAT_MTIME) ? DosTimeOf(st.mtime) : 0;
    member.time_stamp = member.dos_time;
    ZipMemberDetails details;
    details.method = (st.valid & ZIP_STAT_COMP_METHOD) ? st.comp_method : 0;
    details.crc = (st.valid & ZIP_STAT_CRC) ? st.crc : 0;
    details.encrypted =
        (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
    AddMember(std::move(member));
    details_.push_back(details);
  }
  return Status::Ok();
}

Status ZipArchive::CheckReadable(size_t index) const {
  if (index >= members().size()) return Status::Error("no such member");
  const ArchiveMember& member = members()[index];
  const ZipMemberDetails& details = details_[index];
  if (member.is_directory) return Status::Error("a folder, not a file");
  if (details.encrypted) {
    return Status::Error("encrypted; Lumadoll does not read encrypted ZIP members");
  }
  if (!zip_compression_method_supported(details.method, 0)) {
    return Status::Error("compressed by " + MethodName(details.method) +
                         ", which Lumadoll cannot unpack");
  }
  return Status::Ok();
}

Status ZipArchive::Unpack(size_t index, std::vector<uint8_t>* whole, const Sink& sink) {
  const uint64_t declared = members()[index].size;
  zip_file_t* file = zip_fopen_index(zip_.get(), index, 0);
  if (!file) return Status::Error(ReadFailure(zip_get_error(zip_.get())));
  // Room for one byte past the declared size catches a member that unpacks
  // to more than it claims; the read that returns 0 makes libzip check the
  // CRC.
  std::vector<uint8_t> chunk;
  if (whole) {
    whole->resize(static_cast<size_t>(declared) + 1);
  } else {
    chunk.resize(static_cast<size_t>(std::min<uint64_t>(kStreamChunk, declared + 1)));
  }
  uint64_t total = 0;
  Status status;
  for (;;) {
    uint8_t* const at = whole ? whole->data() + total : chunk.data();
    const uint64_t want =
        whole ? declared + 1 - total : std::min<uint64_t>(chunk.size(), declared + 1 - total);
    const zip_int64_t got = zip_fread(file, at, want);
    if (got < 0) {
      status = Status::Error(ReadFailure(zip_file_get_error(file)));
      break;
    }
    if (got == 0) break;
    total += static_cast<uint64_t>(got);
    if (total > declared) {
      status = Status::Error("damaged data (unpacks to more than the size it declares)");
      break;
    }
    if (!whole) status = sink(std::span<const uint8_t>(at, static_cast<size_t>(got)));
    if (!status.ok()) break;
  }
  zip_fclose(file);
  if (status.ok() && total != declared) {
    status = Status::Error("damaged data (unpacks to less than the size it declares)");
  }
  if (whole) whole->resize(static_cast<size_t>(std::min(total, declared)));
  return status;
}

Status ZipArchive::UnpackWhole(size_t index, std::vector<uint8_t>& out) {
  const uint64_t declared = members()[index].size;
  const uint64_t packed = members()[index].packed_size;
  const bool stored = details_[index].method == ZIP_CM_STORE;
  if (packed > image_.size()) {
    return Status::Error("damaged data (packed into more bytes than the archive has)");
  }
  if (!stored && !inflater_) {
    inflater_.reset(libdeflate_alloc_decompressor());
    if (!inflater_) return Status::Error("out of memory");
  }
  // The packed bytes as the archive holds them: libzip finds them behind
  // the member's local header.
  zip_file_t* file = zip_fopen_index(zip_.get(), index, ZIP_FL_COMPRESSED);
  if (!file) return Status::Error(ReadFailure(zip_get_error(zip_.get())));
  std::vector<uint8_t> deflated;
  std::vector<uint8_t>& raw = stored ? out : deflated;
  raw.resize(static_cast<size_t>(packed));
  const zip_int64_t got = packed == 0 ? 0 : zip_fread(file, raw.data(), packed);
  Status status = got < 0 ? Status::Error(ReadFailure(zip_file_get_error(file))) : Status::Ok();
  zip_fclose(file);
  if (!status.ok()) return status;
  if (static_cast<uint64_t>(got) != packed) {
    return Status::Error("damaged data (the archive ends inside it)");
  }
  if (!stored) {
    out.resize(static_cast<size_t>(declared));
    switch (libdeflate_deflate_decompress(inflater_.get(), raw.data(), raw.size(), out.data(),
                                          out.size(), nullptr)) {
      case LIBDEFLATE_SUCCESS:
        break;
      case LIBDEFLATE_SHORT_OUTPUT:
        return Status::Error("damaged data (unpacks to less than the size it declares)");
      case LIBDEFLATE_INSUFFICIENT_SPACE:
        return Status::Error("damaged data (unpacks to more than the size it declares)");
      default:
        return Status::Error("damaged data (invalid Deflate data)");
    }
  }
  if (libdeflate_crc32(0, out.data(), out.size()) != details_[index].crc) {
    return Status::Error("CRC error");
  }
  return Status::Ok();
}

Result<std::vector<uint8_t>> ZipArchive::ReadMember(size_t index) {
  if (Status readable = CheckReadable(index); !readable.ok()) return readable;
  const uint64_t size = members()[index].size;
  if (size == 0) return Status::Error("no data");
  if (size > limits_.max_member_size) {
    return Status::Error(StringPrintf("too large for a doll (%llu bytes unpacked; at most ",
                                      static_cast<unsigned long long>(size)) +
                         Mebibytes(limits_.max_member_size) + ")");
  }
  if (size > limits_.max_total_size - std::min(total_read_, limits_.max_total_size)) {
    return Status::Error("refused: the archive unpacks to more than " +
                         Mebibytes(limits_.max_total_size) +
                         " in all, more than any doll needs (a compression bomb?)");
  }
  std::vector<uint8_t> out;
  try {
    const ZipMemberDetails& details = details_[index];
    // A stored member whose packed size differs from its size is left to
    // libzip, which says what it makes of it.
    const bool whole = details.method == ZIP_CM_DEFLATE ||
                       (details.method == ZIP_CM_STORE && members()[index].packed_size == size);
    const Status status = whole ? UnpackWhole(index, out) : Unpack(index, &out, nullptr);
    if (!status.ok()) return status;
  } catch (const std::bad_alloc&) {
    return Status::Error("out of memory");
  }
  total_read_ += size;
  return out;
}

Status ZipArchive::StreamMember(size_t index, const Sink& sink) {
  if (Status readable = CheckReadable(index); !readable.ok()) return readable;
  if (members()[index].size == 0) return Status::Ok();
  try {
    return Unpack(index, nullptr, sink);
  } catch (const std::bad_alloc&) {
    return Status::Error("out of memory");
  }
}

}  // namespace luma
