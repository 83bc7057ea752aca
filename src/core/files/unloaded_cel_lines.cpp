#include "core/files/unloaded_cel_lines.h"

#include <unordered_set>

#include "core/files/cnf_line_kinds.h"

namespace luma {

std::vector<UnloadedCelLine> FindUnloadedCelLines(const DollModel& doll) {
  std::unordered_set<int> loaded;
  for (const auto& instance : doll.instances()) loaded.insert(instance->line);
  std::vector<UnloadedCelLine> unloaded;
  const std::vector<LineInfo> infos = ClassifyLines(doll.cnf_lines);
  for (size_t i = 0; i < infos.size(); ++i) {
    const int line = static_cast<int>(i);
    if (infos[i].kind != LineKind::kCel || loaded.count(line)) continue;
    unloaded.push_back({line, ReadCelLine(doll.cnf_lines[i])});
  }
  return unloaded;
}

}  // namespace luma
