#include "core/view/doll_statistics.h"

#include <cstring>

#include "core/doll/kiss_cnf_doc.h"
#include "core/fkiss/command_table.h"
#include "core/fkiss/fkiss_runtime.h"

namespace luma {

DollStatistics GatherStatistics(CKissCnfDoc& doc, const FkissRuntime* runtime) {
  const DollModel& doll = doc.model();
  DollStatistics s;
  s.name = doc.ShownTitle();
  s.cnf_name = doc.ShownCnfName();
  s.from_archive = doc.is_archive();
  if (s.from_archive) {
    s.archive_name = doc.ShownPath(doc.archive_name());
    const Result<FileStatus> file = doc.host().Files().Stat(doc.path());
    if (file.ok() && file->is_regular()) s.archive_bytes = file->size;
  }
  s.playfield = doll.playfield;
  s.border_color = doll.border_color;
  s.errors = doll.report.error_count();
  s.warnings = doll.report.warning_count();
  s.cel_counts = doll.cel_counts;
  for (const auto& cel : doll.cels()) {
    if (!cel->is_clone() && cel->present) ++s.unique_cels;
  }
  s.ambiguous_cels = static_cast<int>(doll.ambiguous_cels().size());
  s.total_cels = static_cast<int>(doll.instances().size());
  s.kcf_counts = doll.kcf_counts;
  s.objects = static_cast<int>(doll.objects().size());
  s.groups = static_cast<int>(doll.groups().size());
  if (const FkissScript* script = doc.fkiss()) {
    s.events = script->event_count;
    s.actions = script->action_count;
  }
  if (runtime) {
    s.deepest_stack = runtime->deepest_stack();
    s.most_commands = runtime->most_commands();
  }
  s.quads = doc.quad_count();
  s.textures = doc.textures().texture_count();
  s.used_blocks = doc.textures().used_blocks();
  s.total_blocks = doc.textures().total_blocks();
  s.ckiss = doll.ckiss;
  s.enhanced_palette = doll.enhanced_palette;
  s.fkiss_level = doll.fkiss_level;
  return s;
}

const char* FkissLevelName(int level) {
  // The command table names levels "FKiSS 1" .. "FKiSS 4".
  const char* name = FkissCommandTable::LevelName(level);
  return name ? name + std::strlen("FKiSS ") : "None";
}

}  // namespace luma
