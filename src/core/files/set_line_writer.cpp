#include "core/files/set_line_writer.h"

#include "core/host/text.h"

namespace luma {
namespace {

// Whether the object is written in the set line of `set`. An object without
// any cel line exists only through the set lines that place it; the script
// may name it all the same, so it is kept in every set line.
bool WrittenInSet(const KissObject& object, int set, std::span<const UnloadedCelLine> unloaded) {
  bool has_lines = !object.cels.empty();
  for (const CelInstance* instance : object.cels) {
    if (instance->in_set.test(set)) return true;
  }
  for (const UnloadedCelLine& line : unloaded) {
    if (!line.values || line.values->object != object.number) continue;
    if (line.values->in_set.test(set)) return true;
    has_lines = true;
  }
  return !has_lines;
}

}  // namespace

void WriteSetLine(std::string& out, const DollModel& doll, int set, bool live_positions,
                  std::span<const UnloadedCelLine> unloaded) {
  // Saving the current positions saves the doll as it is shown: each set
  // with the palette group it shows now.
  const DollSet& shown = doll.sets[set];
  out += StringPrintf("$%d", live_positions ? shown.palette_group : shown.cnf_palette_group);
  // Objects are sorted by number, so the present ones are met in order.
  std::vector<const KissObject*> present;
  for (const auto& object : doll.objects()) {
    if (object->number >= 0 && WrittenInSet(*object, set, unloaded))
      present.push_back(object.get());
  }
  if (!present.empty()) {
    const int highest = present.back()->number;
    size_t next = 0;
    for (int k = 0; k <= highest; ++k) {
      if (k > 0 && k % 10 == 0) out += "\n";
      if (present[next]->number != k) {
        out += " *";
        continue;
      }
      const KissObject& object = *present[next++];
      const Position& at = live_positions ? object.position[set] : object.initial_position[set];
      out += StringPrintf(" %d,%d", at.x, at.y);
    }
  }
  out += "\n";
}

void AdoptLivePositions(DollModel& doll) {
  for (const auto& object : doll.objects()) object->initial_position = object->position;
  for (DollSet& set : doll.sets) set.cnf_palette_group = set.palette_group;
}

}  // namespace luma
