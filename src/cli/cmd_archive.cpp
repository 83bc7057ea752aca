// lumadoll-tool archive list|test|extract: looks into LZH archives
// (create is in cmd_archive_create.cpp).
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/archive/crc16.h"
#include "core/archive/lzh_archive.h"
#include "core/host/file_io.h"
#include "core/model/messages.h"

namespace luma::cli {
namespace {

// Names come from outside: control characters (terminal escapes among
// them) are shown as '?'.
std::string Printable(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) c = '?';
  }
  return out;
}

std::string FormatTime(const LzhHeader& header) {
  const std::time_t t = header.level == 2 ? header.time_stamp : DosTimeToUnix(header.time_stamp);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
  return text;
}

bool OpenArchive(const std::string& path, LzhArchive& archive) {
  const Status status = archive.Open(path);
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
  while (archive.ReadNextHeader() == LzhCode::kOk) {
    visit(archive.current_header(), position);
    position = archive.image().position();
  }
}

int List(const std::string& path) {
  LzhArchive archive;
  if (!OpenArchive(path, archive)) return kExitFailed;
  ForEachMember(archive, [](const LzhHeader& h, size_t) {
    std::printf("%s %10u %10u %04x %s %s\n", Printable(h.method).c_str(), h.packed_size,
                h.unpacked_size, h.crc, FormatTime(h).c_str(), Printable(h.name).c_str());
  });
  return kExitOk;
}

int Test(const std::string& path) {
  LzhArchive archive;
  if (!OpenArchive(path, archive)) return kExitFailed;
  int failures = 0;
  ForEachMember(archive, [&](const LzhHeader& h, size_t position) {
    // Directories and empty files have nothing to decode.
    std::string outcome = "OK";
    if (h.unpacked_size != 0) {
      const Result<std::vector<uint8_t>> bytes = archive.ExtractAt(position);
      if (!bytes.ok()) {
        outcome = bytes.status().message();
        ++failures;
      }
    }
    std::printf("%s: %s\n", Printable(h.name).c_str(), outcome.c_str());
  });
  return failures == 0 ? kExitOk : kExitFailed;
}

int Extract(const std::string& path, const std::string& member, const std::string& output) {
  LzhArchive archive;
  if (!OpenArchive(path, archive)) return kExitFailed;
  const Result<std::vector<uint8_t>> bytes = archive.ExtractToMemory(member);
  if (!bytes.ok()) {
    std::fprintf(stderr, "%s: %s\n", Printable(member).c_str(), bytes.status().message().c_str());
    return kExitFailed;
  }
  if (output.empty()) {
    if (std::fwrite(bytes->data(), 1, bytes->size(), stdout) != bytes->size() ||
        std::fflush(stdout) != 0) {
      return kExitFailed;
    }
    return kExitOk;
  }
  const Status written = ReplaceFile(output, *bytes);
  if (!written.ok()) {
    std::fprintf(stderr, "%s\n", written.message().c_str());
    return kExitFailed;
  }
  return kExitOk;
}

int RunList(const ParsedArgs& args) { return List(args.operand(0)); }
int RunTest(const ParsedArgs& args) { return Test(args.operand(0)); }
int RunExtract(const ParsedArgs& args) {
  return Extract(args.operand(0), args.operand(1), args.Value("-o"));
}

}  // namespace

const CommandSpec& ArchiveListCommand() {
  static const CommandSpec spec{
      .name = "archive list",
      .summary = "List the members of an LZH/LHA archive",
      .description =
          "Prints one line per member: method, packed size, unpacked size, CRC-16 in "
          "hex, time (UTC as stored), full name (control characters shown as ?).\n\n"
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
          "(empty members and directories are OK).\n\n"
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
