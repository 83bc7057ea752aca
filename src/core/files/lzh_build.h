#ifndef LUMA_CORE_FILES_LZH_BUILD_H_
#define LUMA_CORE_FILES_LZH_BUILD_H_

#include <string>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"
#include "core/host/status.h"

// Build LZH Archive: every file an open doll uses, plus documents the user
// adds, packed into one new LZH archive.
namespace luma {

// A file packed besides the doll's own: a file on disk, or a member of the
// archive the doll was loaded from.
struct AdditionalFile {
  std::string path;  // the file on disk, or the member's full name
  bool archive_member = false;
  friend bool operator==(const AdditionalFile&, const AdditionalFile&) = default;
};

// Appends `file` unless the list holds it already (exact match).
void AddAdditionalFile(std::vector<AdditionalFile>& list, const AdditionalFile& file);

// The members of an archived doll's archive that the build does not pack
// by itself (its readme and documentation, other CNFs and their files), in
// archive order: the Additional Files dialog lists them from the start, so
// that a rebuilt archive loses nothing unless the user says so. Empty for
// a doll from disk.
std::vector<AdditionalFile> OtherArchiveMembers(const CKissCnfDoc& doc);

// A file the build left out.
struct SkippedFile {
  std::string name;     // as the doll names it, or the added file's path
  std::string problem;  // the archive's words; empty when the file could not be read
  friend bool operator==(const SkippedFile&, const SkippedFile&) = default;
};

// What a build did: the archive is written unless `written` says why not.
struct [[nodiscard]] DollArchiveBuild {
  std::vector<SkippedFile> skipped;  // in packing order
  Status written;
};

// The build: the CNF (the file at `saved_cnf` when given, else the doll's
// own), the KCFs, each cel file once (clones share their base's file), the
// sound and music files, then `additional` (duplicates once), each stored
// under its file name without folders; an archive member keeps its time.
// Files come from the doll's folder, or from its archive for an archived
// doll; external files from the copies made for playing them. A file that
// cannot be read or packed is left out and listed. Progress goes to the
// host. The archive is written to a new "lmdtemp.lzh" (or "lmdtemp-N.lzh"
// with the first free N) beside the destination, created exclusively, and
// renamed over the destination only when complete; on failure ("Unable to
// write to file " and the destination) the destination is untouched.
DollArchiveBuild WriteDollArchive(CKissCnfDoc& doc, const std::string& destination,
                                  const std::vector<AdditionalFile>& additional,
                                  const std::string& saved_cnf = {});

}  // namespace luma

#endif  // LUMA_CORE_FILES_LZH_BUILD_H_
