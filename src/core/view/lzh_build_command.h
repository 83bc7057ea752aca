#ifndef LUMA_CORE_VIEW_LZH_BUILD_COMMAND_H_
#define LUMA_CORE_VIEW_LZH_BUILD_COMMAND_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"
#include "core/files/lzh_build.h"

// The Build LZH Archive command as the user meets it: its questions, its
// dialogs and what it says about the archive it made.
namespace luma {

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
// the two dialogs and builds (WriteDollArchive). Each file left out gets a
// warning ("Can't read " and its name when it could not be read); then
// "<destination> has been created." (caption "LZH Creation Complete"), or a
// message naming the destination when the archive could not be written.
// Returns whether it was made.
bool BuildLzhArchive(CKissCnfDoc& doc, const LzhBuildHooks& hooks);

}  // namespace luma

#endif  // LUMA_CORE_VIEW_LZH_BUILD_COMMAND_H_
