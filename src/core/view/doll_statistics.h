#ifndef LUMA_CORE_VIEW_DOLL_STATISTICS_H_
#define LUMA_CORE_VIEW_DOLL_STATISTICS_H_

#include <cstdint>
#include <string>

#include "core/model/doll_model.h"

namespace luma {

class CKissCnfDoc;
class FkissRuntime;

// The counts that the set properties window and the system report show for
// one open doll, taken from the loaded document, its texture pages and its
// running script. Names are UTF-8, decoded for showing.
struct DollStatistics {
  std::string name;  // the document's title
  std::string cnf_name;
  bool from_archive = false;
  std::string archive_name;
  uint64_t archive_bytes = 0;
  PlayfieldSize playfield;
  int border_color = 0;
  int errors = 0;
  int warnings = 0;
  CelCounts cel_counts;
  int unique_cels = 0;     // cel files read (clones made for other palettes not counted)
  int ambiguous_cels = 0;  // file names used by several cel lines
  int total_cels = 0;      // cel lines
  KcfCounts kcf_counts;
  int objects = 0;
  int groups = 0;
  int events = 0;
  int actions = 0;
  int deepest_stack = 0;
  int most_commands = 0;
  int quads = 0;
  int textures = 0;
  int used_blocks = 0;  // 16 x 16 texel blocks over the doll's texture pages
  int total_blocks = 0;
  bool ckiss = false;
  bool enhanced_palette = false;
  int fkiss_level = -1;  // -1 none, 0 = 1 .. 5 = 4
};

// `runtime` (the script running in the doll's view) may be null; the
// archive's size is read from the file the doll was opened from.
DollStatistics GatherStatistics(CKissCnfDoc& doc, const FkissRuntime* runtime);

// "1", "1b", "2", "2.1", "3", "4", or "None".
const char* FkissLevelName(int level);

}  // namespace luma

#endif  // LUMA_CORE_VIEW_DOLL_STATISTICS_H_
