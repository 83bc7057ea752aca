// lumadoll-tool archive create OUT.lzh FILE...: builds an LZH archive.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "core/archive/lzh_archive.h"
#include "core/archive/lzh_archive_writer.h"

namespace luma::cli {

int RunArchiveCreate(const std::string& destination, const Args& files) {
  LzhArchive archive;
  archive.CreateNew(destination);
  LzhArchiveWriter writer(archive);
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

}  // namespace luma::cli
