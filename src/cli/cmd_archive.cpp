// lumadoll-tool archive list|test|extract: looks into LZH archives
// (ZIP files in cmd_archive_zip.cpp, create in cmd_archive_create.cpp).
#include <cstdio>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/cmd_archive_zip.h"
#include "cli/commands.h"
#include "cli/printable.h"
#include "core/archive/lzh_archive.h"
#include "core/host/file_io.h"
#include "core/host/posix_file_system.h"
#include "core/host/text.h"
#include "core/host/text_encoding.h"
#include "core/model/messages.h"

namespace luma::cli {
namespace {

std::string FormatTime(const LzhHeader& header) {
  const std::time_t t =
      header.unix_time_stamp() ? header.time_stamp : DosTimeToUnix(header.time_stamp);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
  return text;
}

bool OpenArchive(const std::string& path, LzhArchive& archive) {
  PosixFileSystem disk;
  const Status status = archive.Open(disk, path);
  if (status.ok()) return true;
  if (!status.message().empty()) std::fprintf(stderr, "%s\n", status.message().c_str());
  std::fprintf(stderr, "%s\n", FormatMessage(kMsgUnableToOpen, path).c_str());
  return false;
}

// Every header in archive order, as the index was built.
template <typename Visit>
void ForEachMember(LzhArchive& archive, Visit visit) {
  archive.Rewind();
  size_t position = archive.image().position();
  while (archive.ReadNextHeader() == LzhHeaderStep::kMember) {
    visit(archive.current_header(), position);
    position = archive.image().position();
  }
}

// Member names as text: in the encoding the archive's names are written in,
// decided from all of them together (Japanese archivers wrote Shift-JIS,
// European ones Windows-1252, newer ones UTF-8).
class NameText {
 public:
  explicit NameText(LzhArchive& archive) {
    std::string all;
    ForEachMember(archive, [&](const LzhHeader& h, size_t) { all += h.name + h.comment + '\n'; });
    encoding_ = GuessTextEncoding(all);
  }
  std::string operator()(std::string_view bytes) const {
    return Printable(DecodeText(bytes, encoding_));
  }
  std::string Decoded(std::string_view bytes) const { return DecodeText(bytes, encoding_); }

 private:
  TextEncoding encoding_ = TextEncoding::kWindows1252;
};

int List(const std::string& path) {
  LzhArchive archive;
  if (!OpenArchive(path, archive)) return kExitFailed;
  const NameText text(archive);
  ForEachMember(archive, [&](const LzhHeader& h, size_t) {
    std::string name = text(h.name);
    if (!h.comment.empty()) name += "  (comment: " + text(h.comment) + ")";
    std::printf("%s %10u %10u %04x %s %s\n", Printable(h.method).c_str(), h.packed_size,
                h.unpacked_size, h.crc, FormatTime(h).c_str(), name.c_str());
  });
  return kExitOk;
}

// Takes decoded bytes and lets them go: only the CRC check matters.
class Discard : public LzhOutput {
 public:
  bool Write(std::span<const uint8_t>) override { return true; }
};

int Test(const std::string& path) {
  LzhArchive archive;
  if (!OpenArchive(path, archive)) return kExitFailed;
  int failures = 0;
  const NameText text(archive);
  ForEachMember(archive, [&](const LzhHeader& h, size_t position) {
    // Directories and empty files have nothing to decode.
    std::string outcome = "OK";
    if (h.unpacked_size != 0 && !h.is_directory()) {
      Discard discard;
      const Status status = archive.ExtractAt(position, discard);
      if (!status.ok()) {
        outcome = status.message();
        ++failures;
      }
    }
    std::printf("%s: %s\n", text(h.name).c_str(), outcome.c_str());
  });
  return failures == 0 ? kExitOk : kExitFailed;
}

// The member a name given on the command line means: one whose full name
// is exactly that, else the first of that file name; failing both, the same
// for the name as `list` shows it as text.
std::optional<size_t> FindMember(LzhArchive& archive, const std::string& member) {
  std::optional<size_t> exact;
  ForEachMember(archive, [&](const LzhHeader& h, size_t position) {
    if (!exact && EqualsIgnoreCase(h.name, member)) exact = position;
  });
  if (exact) return exact;
  if (archive.FindMember(member)) return archive.image().position();
  const NameText text(archive);
  std::optional<size_t> by_file_name;
  ForEachMember(archive, [&](const LzhHeader& h, size_t position) {
    const std::string shown = text.Decoded(h.name);
    if (!exact && EqualsIgnoreCase(shown, member)) exact = position;
    if (!by_file_name && EqualsIgnoreCase(LzhMemberFileName(shown), member)) {
      by_file_name = position;
    }
  });
  return exact ? exact : by_file_name;
}

// Writes decoded bytes to standard output as they come.
class ToStandardOutput : public LzhOutput {
 public:
  bool Write(std::span<const uint8_t> bytes) override {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
  }
};

// Writes decoded bytes to the file being made.
class ToSink : public LzhOutput {
 public:
  explicit ToSink(const ContentSink& sink) : sink_(sink) {}
  bool Write(std::span<const uint8_t> bytes) override {
    refused_ = refused_ || !sink_(bytes);
    return !refused_;
  }
  bool refused() const { return refused_; }

 private:
  const ContentSink& sink_;
  bool refused_ = false;
};

int Extract(const std::string& path, const std::string& member, const std::string& output) {
  LzhArchive archive;
  if (!OpenArchive(path, archive)) return kExitFailed;
  const std::optional<size_t> position = FindMember(archive, member);
  auto fail = [&](const Status& status) {
    std::fprintf(stderr, "%s: %s\n", Printable(member).c_str(), status.message().c_str());
    return kExitFailed;
  };
  if (!position) return fail(Status::Error("not in the archive"));
  // Members of any size pass through: to the output as they are decoded,
  // or into a new file that replaces PATH only once the CRC has matched.
  if (output.empty()) {
    ToStandardOutput out;
    const Status status = archive.ExtractAt(*position, out);
    if (std::fflush(stdout) != 0) return kExitFailed;
    return status.ok() ? kExitOk : fail(status);
  }
  bool write_failed = false;
  PosixFileSystem disk;
  const Status written = ReplaceFileStreaming(disk, output, [&](const ContentSink& sink) {
    ToSink out(sink);
    Status extracted = archive.ExtractAt(*position, out);
    write_failed = out.refused();
    return extracted;
  });
  if (written.ok()) return kExitOk;
  if (!write_failed) return fail(written);
  std::fprintf(stderr, "%s\n", written.message().c_str());
  return kExitFailed;
}

int RunList(const ParsedArgs& args) {
  if (const std::optional<int> zip = ListZip(args.operand(0))) return *zip;
  return List(args.operand(0));
}
int RunTest(const ParsedArgs& args) {
  if (const std::optional<int> zip = TestZip(args.operand(0))) return *zip;
  return Test(args.operand(0));
}
int RunExtract(const ParsedArgs& args) {
  if (const std::optional<int> zip =
          ExtractZip(args.operand(0), args.operand(1), args.Value("-o"))) {
    return *zip;
  }
  return Extract(args.operand(0), args.operand(1), args.Value("-o"));
}

}  // namespace

const CommandSpec& ArchiveListCommand() {
  static const CommandSpec spec{
      .name = "archive list",
      .summary = "List the members of an LZH/LHA archive or a ZIP file",
      .description =
          "Prints one line per member: method, packed size, unpacked size, CRC-16 in "
          "hex, time (UTC as stored), full name (control characters shown as ?).\n\n"
          "For a ZIP file (known by its first bytes or the name .zip) the method is "
          "stored, deflated..., the CRC is the CRC-32 and the time the MS-DOS time as "
          "stored; encrypted members are marked (encrypted).\n\n"
          "Exit status 1 when the archive cannot be opened (\"Unable to open\" and "
          "the path on standard error).",
      .operands = {{.name = "FILE", .complete = Complete::kArchive}},
      .run = RunList,
  };
  return spec;
}

const CommandSpec& ArchiveTestCommand() {
  static const CommandSpec spec{
      .name = "archive test",
      .summary = "Decode every member of an archive and say whether it is intact",
      .description =
          "Decodes every member and prints NAME: OK, or NAME: and the failure "
          "(empty members and directories are OK; encrypted ZIP members fail).\n\n"
          "Exit status 1 when the archive cannot be opened or a member fails.",
      .operands = {{.name = "FILE", .complete = Complete::kArchive}},
      .run = RunTest,
  };
  return spec;
}

const CommandSpec& ArchiveExtractCommand() {
  static const CommandSpec spec{
      .name = "archive extract",
      .summary = "Write one member of an archive to standard output or a file",
      .description =
          "Writes the bytes of the member found by file name (case-insensitive, "
          "first match wins; a full path with directories also works) to standard "
          "output, or to PATH with -o.\n\n"
          "Exit status 1 when the archive cannot be opened or the member cannot be "
          "produced.",
      .operands = {{.name = "FILE", .complete = Complete::kArchive},
                   {.name = "MEMBER", .complete = Complete::kNothing}},
      .options = {{.name = "-o",
                   .value = "PATH",
                   .help = "Write the member to PATH (replaced when complete) instead of "
                           "standard output.",
                   .complete = Complete::kAnyFile}},
      .run = RunExtract,
  };
  return spec;
}

}  // namespace luma::cli
