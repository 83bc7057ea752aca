#include "core/view/object_cel_info.h"

#include "core/fkiss/fkiss_runtime.h"
#include "core/fkiss/fkiss_script.h"
#include "core/host/text.h"
#include "core/view/cel_info.h"

namespace luma {
namespace {

std::string EventText(const FkissEvent& event, const FkissRuntime* runtime) {
  std::string text = event.display_name + "\n";
  if (!runtime) return text;
  for (const FkissAction& action : event.actions)
    text += "   " + runtime->ActionText(action) + "\n";
  return text;
}

// Every event the target takes part in, as the status line counts them:
// its own events in the order of the event kinds, then the collision and
// in/out events of the pairs it belongs to.
std::string TargetScript(const FkissScript* script, const FkissTarget& target,
                         const FkissRuntime* runtime) {
  std::string text;
  const TargetRecord* record = script ? script->FindRecord(target) : nullptr;
  if (record) {
    for (const FkissEvent* event : record->snap_to.events) text += EventText(*event, runtime);
  }
  return text;
}

std::string SetList(const CelInstance& cel) {
  std::string sets;
  for (int set = 0; set < kSetCount; ++set) {
    if (!cel.in_set[set]) continue;
    if (!sets.empty()) sets += " ";
    sets += static_cast<char>('0' + set);
  }
  return sets.empty() ? "none" : sets;
}

std::string PaletteText(const CelInstance& cel, const DollModel& doll) {
  if (cel.cel && !cel.cel->indexed()) return "truecolor";
  const KissPalette* palette = doll.PaletteOfLine(cel.palette);
  return palette ? palette->name : "missing";
}

std::string YesNo(bool on) { return on ? "yes" : "no"; }

}  // namespace

const char* CelKindName(const KissCel& cel) {
  if (!cel.indexed()) return "CKiSS";
  return cel.depth == 16 ? "16 color indexed" : "256 color indexed";
}

ObjectCelInfo DescribeCel(const CelInstance& cel, const DollModel& doll, int current_set,
                          const FkissScript* script, const FkissRuntime* runtime) {
  ObjectCelInfo info;
  info.status = CelInfoText(cel, script);
  const KissObject* object = cel.object;
  const std::string file = cel.cel ? cel.cel->file_name : std::string();

  if (object) {
    const Position at = object->position[current_set];
    info.object_rows = {
        {"Object:", StringPrintf("#%d", object->number)},
        {"Position:", StringPrintf("%d, %d", at.x, at.y)},
        {"Fix:", StringPrintf("%u (%u in the CNF)", object->fix, object->cnf_fix)},
        {"Cels:", StringPrintf("%d", static_cast<int>(object->cels.size()))},
    };
    info.object_script =
        TargetScript(script, FkissTarget::Of(const_cast<KissObject*>(object)), runtime);
  }
  info.cel_rows = {
      {"Cel:", file},
      {"Kind:",
       cel.cel ? StringPrintf("%s (%s)", file.c_str(), CelKindName(*cel.cel)) : std::string()},
      {"Size:", cel.cel ? StringPrintf("%d x %d", cel.cel->width, cel.cel->height) : std::string()},
      {"Offset:", StringPrintf("%d, %d", cel.x_offset, cel.y_offset)},
      {"Sets:", SetList(cel)},
      {"Palette:", PaletteText(cel, doll)},
      {"Mapped:", YesNo(cel.mapped)},
      {"Ghost:", YesNo(cel.ghost)},
      {"Transparency:", StringPrintf("%d", cel.transparency)},
  };
  info.cel_script = TargetScript(script, FkissTarget::Of(const_cast<CelInstance*>(&cel)), runtime);
  for (CelSet* set : cel.cel_sets) {
    info.cel_script += TargetScript(script, FkissTarget::Of(set), runtime);
  }
  if (info.object_script.empty()) info.object_script = "none";
  if (info.cel_script.empty()) info.cel_script = "none";
  // Names and script texts are the doll's bytes.
  for (std::string* text : {&info.status, &info.object_script, &info.cel_script}) {
    *text = doll.Shown(*text);
  }
  for (auto* rows : {&info.object_rows, &info.cel_rows}) {
    for (auto& row : *rows) row.second = doll.Shown(row.second);
  }
  return info;
}

}  // namespace luma
