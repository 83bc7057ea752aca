// lumadoll-tool archive create OUT.lzh FILE...: builds an LZH archive.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/archive/lzh_archive.h"
#include "core/archive/lzh_archive_writer.h"
#include "core/host/posix_file_system.h"

namespace luma::cli {

namespace {

int RunArchiveCreate(const ParsedArgs& args) {
  const std::string& destination = args.operand(0);
  const std::vector<std::string> files(args.operands().begin() + 1, args.operands().end());
  LzhArchive archive;
  archive.CreateNew(destination);
  PosixFileSystem disk;
  LzhArchiveWriter writer(archive, disk);
  bool all_added = true;
  // A file that cannot go in is reported and skipped; the others still do.
  for (const std::string& file : files) {
    const Status status = writer.AddFile(file, file);
    if (!status.ok()) {
      std::fprintf(stderr, "%s\n", status.message().c_str());
      all_added = false;
    }
  }
  const Status saved = writer.Save();
  if (!saved.ok()) {
    std::fprintf(stderr, "%s\n", saved.message().c_str());
    return kExitFailed;
  }
  std::printf("%s has been created.\n", destination.c_str());
  return all_added ? kExitOk : kExitFailed;
}

}  // namespace

const CommandSpec& ArchiveCreateCommand() {
  static const CommandSpec spec{
      .name = "archive create",
      .summary = "Build an LZH archive of files",
      .description =
          "Builds an LZH archive of the files, each stored under its file name (folders "
          "dropped) and in the order given: compressed with -lh5-, or stored as -lh0- when "
          "that does not make it smaller; an empty file becomes a member of size 0. The archive "
          "is written to a temporary file beside OUT and renamed over it, then \"OUT has been "
          "created.\" is printed.\n\n"
          "A file that cannot be read, or whose name is longer than 66 bytes (more than an LZH "
          "header can hold), is reported on standard error and left out; the rest is written "
          "and the exit status is 1. When no file can be added or OUT cannot be written, exit "
          "1 and any existing OUT is left as it was.",
      .operands = {{.name = "OUT.lzh", .complete = Complete::kArchive},
                   {.name = "FILE", .repeatable = true}},
      .run = RunArchiveCreate,
  };
  return spec;
}

}  // namespace luma::cli
