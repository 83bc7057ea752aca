#ifndef LUMA_CORE_FILES_LZH_BUILD_H_
#define LUMA_CORE_FILES_LZH_BUILD_H_

#include <functional>
#include <optional>
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

// The parts of the command that belong to the program's windows. A hook
// left empty counts as "nothing modified" or as cancelled.
struct LzhBuildHooks {
  // Whether the palette editor holds unsaved changes, and saving them
  // (false when saving failed).
  std::function<bool()> palettes_modified;
  std::function<bool()> save_palettes;
  // The document's Save to new CNF command: the path written, or nullopt
  // when it was cancelled or failed.
  std::function<std::optional<std::string>()> save_cnf;
  // The Additional Files dialog, starting with `listed`: the chosen files,
  // or nullopt on Cancel.
  std::function<std::optional<std::vector<AdditionalFile>>(std::vector<AdditionalFile> listed)>
      choose_additional_files;
  // The "Build LZH Archive" save dialog: the destination, or nullopt on Cancel.
  std::function<std::optional<std::string>()> choose_destination;
  // Told the destination once the archive is made (the recent-file list).
  std::function<void(const std::string&)> archive_created;
};

// The command: asks about modified palettes and about saving the CNF, runs
// the two dialogs, builds, and ends with "<destination> has been created."
// (caption "LZH Creation Complete"), or a message naming the destination
// when the archive could not be written. Returns whether it was made.
bool BuildLzhArchive(CKissCnfDoc& doc, const LzhBuildHooks& hooks);

// Appends `file` unless the list holds it already (exact match).
void AddAdditionalFile(std::vector<AdditionalFile>& list, const AdditionalFile& file);

// The members of an archived doll's archive that the build does not pack
// by itself (its readme and documentation, other CNFs and their files), in
// archive order: the Additional Files dialog lists them from the start, so
// that a rebuilt archive loses nothing unless the user says so. Empty for
// a doll from disk.
std::vector<AdditionalFile> OtherArchiveMembers(const CKissCnfDoc& doc);

// The build: the CNF (the file at `saved_cnf` when given, else the doll's
// own), the KCFs, each cel file once (clones share their base's file), the
// sound and music files, then `additional` (duplicates once), each stored
// under its file name without folders; an archive member keeps its time. Files come from the doll's
// folder, or from its archive for an archived doll; external files from the copies made for playing
// them. A file that cannot be read is reported with "Can't read " and its name and left out.
// Progress goes to the host. The archive is written to a new "lmdtemp.lzh" (or "lmdtemp-N.lzh" with
// the first free N) beside the destination, created exclusively, and renamed over the destination
// only when complete; on failure the destination is untouched.
Status WriteDollArchive(CKissCnfDoc& doc, const std::string& destination,
                        const std::vector<AdditionalFile>& additional,
                        const std::string& saved_cnf = {});

}  // namespace luma

#endif  // LUMA_CORE_FILES_LZH_BUILD_H_
