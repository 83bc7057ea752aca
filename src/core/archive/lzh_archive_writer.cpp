#include "core/archive/lzh_archive_writer.h"

#include <ctime>

#include "core/archive/crc16.h"
#include "core/archive/lh5_encoder.h"
#include "core/archive/lzh_header_writer.h"
#include "core/host/file_io.h"
#include "core/host/text.h"

namespace luma {
namespace {

// `shown` is how the caller named the file: its path or the member name.
Status CheckMember(const std::string& shown, std::string_view member_name, size_t size) {
  if (member_name.empty()) {
    return Status::Error(
        StringPrintf("Can't add %s to the archive: it has no file name.", shown.c_str()));
  }
  if (member_name.size() > kMaxLzhMemberNameLength) {
    return Status::Error(
        StringPrintf("Can't add %s to the archive: its file name is longer than %zu characters.",
                     shown.c_str(), kMaxLzhMemberNameLength));
  }
  if (size > LzhArchive::kMaxMemberSize) {
    return Status::Error(StringPrintf("Can't add %s to the archive: it is larger than %u MiB.",
                                      shown.c_str(), LzhArchive::kMaxMemberSize >> 20));
  }
  return Status::Ok();
}

}  // namespace

LzhArchiveWriter::LzhArchiveWriter(LzhArchive& archive, FileSystem& files)
    : archive_(archive), files_(files) {}

LzhArchiveWriter::~LzhArchiveWriter() = default;

Status LzhArchiveWriter::AddFile(const std::string& source_path, std::string_view member_name) {
  // A name the header cannot hold is refused before the file is read.
  if (Status s = CheckMember(source_path, LzhMemberName(member_name), 0); !s) return s;
  const Result<FileStatus> status = files_.Stat(source_path);
  const bool found = status.ok() && status->exists();
  if (found && !status->is_regular()) {
    // Devices and pipes may never end or never answer.
    return Status::Error(StringPrintf("Can't add %s to the archive: it is not a regular file.",
                                      source_path.c_str()));
  }
  const std::time_t mtime = found ? status->modified : std::time(nullptr);
  Result<std::vector<uint8_t>> data =
      ReadWholeFile(files_, source_path, LzhArchive::kMaxMemberSize);
  if (!data) return data.status();
  return AddMember(member_name, *data, DosTimeStamp(mtime));
}

Status LzhArchiveWriter::AddMember(std::string_view member_name, std::span<const uint8_t> data,
                                   uint32_t dos_time) {
  LzhHeader header;
  header.level = 1;
  header.has_crc = true;
  header.method = "-lh5-";
  header.name = std::string(LzhMemberName(member_name));
  if (Status s = CheckMember(std::string(member_name), header.name, data.size()); !s) return s;
  header.unpacked_size = static_cast<uint32_t>(data.size());
  header.time_stamp = dos_time;
  header.crc = Crc16(data);

  packed_.clear();
  if (!data.empty()) {
    if (!encoder_) encoder_ = std::make_unique<Lh5Encoder>();
    if (!encoder_->Encode(data, &packed_)) header.method = "-lh0-";
  }
  const std::span<const uint8_t> body = header.method == "-lh0-" ? data : packed_;
  header.packed_size = static_cast<uint32_t>(body.size());

  MemoryFile& image = archive_.image();
  image.Write(FormatLzhMemberHeader(header));
  image.Write(body);
  return Status::Ok();
}

Status LzhArchiveWriter::Save() const {
  // No reader opens an archive without members, so none is written.
  if (archive_.image().size() == 0) {
    return Status::Error(StringPrintf("Nothing to put in %s", archive_.path().c_str()));
  }
  return ReplaceFile(files_, archive_.path(), archive_.image().bytes());
}

}  // namespace luma
