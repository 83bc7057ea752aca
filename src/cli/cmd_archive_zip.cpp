// lumadoll-tool archive list|test|extract on ZIP files.
#include "cli/cmd_archive_zip.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/printable.h"
#include "core/archive/open_archive.h"
#include "core/archive/zip_archive.h"
#include "core/host/file_io.h"
#include "core/host/posix_file_system.h"
#include "core/host/text.h"
#include "core/host/text_encoding.h"
#include "core/model/messages.h"

namespace luma::cli {
namespace {

// Member names as text: a name the archive marks as UTF-8 is UTF-8; the
// others are in the encoding the archiver's system used, decided from all
// of them together.
class NameText {
 public:
  explicit NameText(const ZipArchive& zip) : zip_(zip) {
    std::string unmarked;
    for (const ArchiveMember& m : zip.members()) {
      if (!m.utf8_name) unmarked += m.full_name + '\n';
    }
    encoding_ = GuessTextEncoding(unmarked);
  }
  std::string Decoded(size_t index) const {
    const ArchiveMember& m = zip_.members()[index];
    return DecodeText(m.full_name, m.utf8_name ? TextEncoding::kUtf8 : encoding_);
  }
  std::string operator()(size_t index) const { return Printable(Decoded(index)); }

 private:
  const ZipArchive& zip_;
  TextEncoding encoding_ = TextEncoding::kWindows1252;
};

// The MS-DOS date and time as stored (no time zone).
std::string DosTimeText(uint32_t t) {
  return StringPrintf("%04u-%02u-%02u %02u:%02u:%02u", 1980 + (t >> 25), (t >> 21) & 15,
                      (t >> 16) & 31, (t >> 11) & 31, (t >> 5) & 63, (t & 31) * 2);
}

bool BeginsLikeZip(const std::string& path) {
  if (EqualsIgnoreCase(ExtensionPart(path), "zip")) return true;
  // Through the file system, which refuses pipes and devices at once.
  PosixFileSystem disk;
  Result<std::unique_ptr<ReadableFile>> file = disk.OpenForReading(path);
  if (!file.ok()) return false;
  uint8_t head[4] = {};
  size_t have = 0;
  while (have < sizeof head) {
    const Result<size_t> got = (*file)->Read(std::span<uint8_t>(head).subspan(have));
    if (!got.ok() || *got == 0) return false;
    have += *got;
  }
  return StartsLikeZip(head);
}

int List(ZipArchive& zip) {
  const NameText text(zip);
  for (size_t i = 0; i < zip.members().size(); ++i) {
    const ArchiveMember& m = zip.members()[i];
    const ZipMemberDetails& d = zip.details(i);
    std::printf("%-8s %10llu %10llu %08x %s %s%s\n", ZipArchive::MethodName(d.method).c_str(),
                static_cast<unsigned long long>(m.packed_size),
                static_cast<unsigned long long>(m.size), d.crc, DosTimeText(m.dos_time).c_str(),
                text(i).c_str(), d.encrypted ? " (encrypted)" : "");
  }
  return kExitOk;
}

int Test(ZipArchive& zip) {
  const NameText text(zip);
  int failures = 0;
  for (size_t i = 0; i < zip.members().size(); ++i) {
    const ArchiveMember& m = zip.members()[i];
    std::string outcome = "OK";
    if (!m.is_directory) {
      const Status status =
          zip.StreamMember(i, [](std::span<const uint8_t>) { return Status::Ok(); });
      if (!status.ok()) {
        outcome = status.message();
        ++failures;
      }
    }
    std::printf("%s: %s\n", text(i).c_str(), outcome.c_str());
  }
  return failures == 0 ? kExitOk : kExitFailed;
}

// The member a name given on the command line means: one whose full name
// is that, else the first of that file name (both ignoring case); failing
// both, the same for the name as `list` shows it as text.
std::optional<size_t> FindMember(const ZipArchive& zip, const std::string& member) {
  const std::vector<ArchiveMember>& members = zip.members();
  for (size_t i = 0; i < members.size(); ++i) {
    if (EqualsIgnoreCase(members[i].full_name, member)) return i;
  }
  if (const std::optional<size_t> found = zip.Find(member)) return found;
  const NameText text(zip);
  std::optional<size_t> by_file_name;
  for (size_t i = 0; i < members.size(); ++i) {
    const std::string shown = text.Decoded(i);
    if (EqualsIgnoreCase(shown, member)) return i;
    const std::string_view file_name = std::string_view(shown).substr(shown.rfind('/') + 1);
    if (!by_file_name && EqualsIgnoreCase(file_name, member)) by_file_name = i;
  }
  return by_file_name;
}

int Extract(ZipArchive& zip, const std::string& member, const std::string& output) {
  auto fail = [&](const Status& status) {
    std::fprintf(stderr, "%s: %s\n", Printable(member).c_str(), status.message().c_str());
    return kExitFailed;
  };
  const std::optional<size_t> index = FindMember(zip, member);
  if (!index) return fail(Status::Error("not in the archive"));
  if (zip.members()[*index].is_directory) return fail(Status::Error("a folder, not a file"));
  // Members of any size pass through: to the output as they are unpacked,
  // or into a new file that replaces PATH only once the member is whole.
  if (output.empty()) {
    const Status status = zip.StreamMember(*index, [](std::span<const uint8_t> piece) {
      if (std::fwrite(piece.data(), 1, piece.size(), stdout) != piece.size()) {
        return Status::Error("cannot write to standard output");
      }
      return Status::Ok();
    });
    if (std::fflush(stdout) != 0) return kExitFailed;
    return status.ok() ? kExitOk : fail(status);
  }
  bool write_failed = false;
  PosixFileSystem disk;
  const Status written = ReplaceFileStreaming(disk, output, [&](const ContentSink& sink) {
    return zip.StreamMember(*index, [&](std::span<const uint8_t> piece) {
      if (sink(piece)) return Status::Ok();
      write_failed = true;
      return Status::Error("cannot write " + output);
    });
  });
  if (written.ok()) return kExitOk;
  if (!write_failed) return fail(written);
  std::fprintf(stderr, "%s\n", written.message().c_str());
  return kExitFailed;
}

// The ZIP file at `path`, or the exit status when it cannot be opened, or
// nothing when it is no ZIP file.
std::optional<int> OpenZip(const std::string& path, std::unique_ptr<ArchiveReader>& out) {
  if (!BeginsLikeZip(path)) return std::nullopt;
  PosixFileSystem disk;
  Result<std::unique_ptr<ArchiveReader>> reader = OpenArchive(disk, path);
  if (reader.ok() && std::string_view((*reader)->format_name()) != "ZIP") return std::nullopt;
  if (!reader.ok()) {
    if (!reader.status().message().empty()) {
      std::fprintf(stderr, "%s\n", reader.status().message().c_str());
    }
    std::fprintf(stderr, "%s\n", FormatMessage(kMsgUnableToOpen, path).c_str());
    return kExitFailed;
  }
  out = std::move(*reader);
  return kExitOk;
}

}  // namespace

std::optional<int> ListZip(const std::string& path) {
  std::unique_ptr<ArchiveReader> reader;
  const std::optional<int> opened = OpenZip(path, reader);
  if (!opened || *opened != kExitOk) return opened;
  return List(static_cast<ZipArchive&>(*reader));
}

std::optional<int> TestZip(const std::string& path) {
  std::unique_ptr<ArchiveReader> reader;
  const std::optional<int> opened = OpenZip(path, reader);
  if (!opened || *opened != kExitOk) return opened;
  return Test(static_cast<ZipArchive&>(*reader));
}

std::optional<int> ExtractZip(const std::string& path, const std::string& member,
                              const std::string& output) {
  std::unique_ptr<ArchiveReader> reader;
  const std::optional<int> opened = OpenZip(path, reader);
  if (!opened || *opened != kExitOk) return opened;
  return Extract(static_cast<ZipArchive&>(*reader), member, output);
}

}  // namespace luma::cli
