#include "core/files/cnf_line_reader.h"

#include <string>

#include "core/host/silent_host.h"
#include "core/model/cnf_parser.h"
#include "core/model/doll_model.h"

namespace luma {
namespace {

void ParseAlone(DollModel& doll, std::string line) {
  doll.cnf_lines.push_back(std::move(line));
  // The parser reports progress to a host; reading one line needs none. A
  // line that ran out of memory reads as no line.
  SilentHost host;
  if (!ParseCnf(doll, host, CnfParseOptions{}).ok()) doll.Clear();
}

}  // namespace

std::optional<CelLineValues> ReadCelLine(std::string_view line) {
  DollModel doll;
  ParseAlone(doll, std::string(line));
  if (doll.instances().size() != 1) return std::nullopt;
  const CelInstance& instance = *doll.instances()[0];
  CelLineValues values;
  values.object = instance.object_number;
  values.in_set = instance.in_set;
  values.transparency = instance.transparency;
  values.mapped = instance.mapped;
  values.x_given = instance.x_offset_given;
  values.x = instance.x_offset;
  values.y_given = instance.y_offset_given;
  values.y = instance.y_offset;
  values.ghost = instance.ghost;
  const size_t start = instance.comment.find_first_not_of("; \t");
  if (start != std::string::npos) values.comment = instance.comment.substr(start);
  for (const CelSet* group : instance.cel_sets) {
    values.groups += "!" + group->name;
    for (int s = 0; s < kSetCount; ++s) {
      if (!group->by_set[s].empty()) values.groups += static_cast<char>('0' + s);
    }
    values.groups += '\n';
  }
  return values;
}

HintKind ReadHintKind(std::string_view comment) {
  DollModel doll;
  ParseAlone(doll, ";" + std::string(comment));
  const HintSettings& hints = doll.hints;
  if (hints.stack_hint) return HintKind::kStack;
  if (hints.max_fix_hint) return HintKind::kMaxFix;
  if (hints.bounds_hint) return HintKind::kBounds;
  return doll.report.warning_count() > 0 ? HintKind::kUnknown : HintKind::kNone;
}

}  // namespace luma
