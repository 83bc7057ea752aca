#ifndef LUMA_WEB_DROPPED_FILES_H_
#define LUMA_WEB_DROPPED_FILES_H_

#include <string>
#include <vector>

#include "core/host/text_encoding.h"
#include "web/named_files.h"
#include "web/web_files.h"

namespace luma::web {

// The browser hands dropped or picked files over by their Unicode names and
// without folders, while a CNF names its files in its own encoding, some in
// subfolders ("parts\x.cel"). These put each dropped file where its CNF
// looks for it.

// A dropped file to keep a second time, under the path its CNF gives it.
struct DroppedCopy {
  std::string from;  // relative to the drop's folder
  std::string to;    // relative to the CNF's folder

  bool operator==(const DroppedCopy&) const = default;
};

// For each of `named` that none of `dropped` (paths relative to the CNF's
// folder) already serves, the dropped file whose name is one of the named
// file's spellings, folders on either side left aside: one of the same
// case first, then one that differs only in the case of ASCII letters.
// Named files that no dropped file serves are left out.
std::vector<DroppedCopy> MatchDroppedFiles(const std::vector<NamedFile>& named,
                                           const std::vector<std::string>& dropped);

// Adds the copies that every CNF directly in `folder` (a drop's folder)
// needs, as its files are when the drop is complete. A copy the page cannot
// keep is left out; the doll then reports that file missing. `chosen` is
// the user's text encoding. Returns the number of copies added.
int PlaceDroppedFiles(WebFiles& files, const std::string& folder, TextEncoding chosen);

}  // namespace luma::web

#endif  // LUMA_WEB_DROPPED_FILES_H_
