#include <algorithm>

#include "core/files/cel_line_text.h"
#include "core/files/cnf_text.h"
#include "core/files/fkiss_writer.h"
#include "core/files/set_line_writer.h"
#include "core/fkiss/fkiss_script.h"
#include "core/host/text.h"

namespace luma {

const char* BoundsModeName(BoundsMode mode) {
  static constexpr const char* kNames[] = {"all", "fkiss", "limited", "visible", "none"};
  const int index = static_cast<int>(mode);
  return index >= 0 && index < 5 ? kNames[index] : "visible";
}

CnfText FormatReformattedCnf(const DollModel& doll, const FkissScript* script,
                             const CnfSaveOptions& options, const HintValues& hints) {
  CnfText result;
  std::string& out = result.text;
  out +=
      ";; This CNF file was written by Lumadoll\n"
      ";; Please edit this comment before distributing your KiSS set\n\n";

  const HintSettings& read = doll.hints;
  if (options.maxfix_hint || read.max_fix_hint) {
    out += StringPrintf(";HINT maxfix %d\n", options.maxfix_hint ? hints.max_fix : read.max_fix);
  }
  if (options.stack_hint || read.stack_hint) {
    out +=
        StringPrintf(";HINT stack %d\n", options.stack_hint ? hints.stack_depth : read.stack_depth);
  }
  if (options.bounds_hint || read.bounds_hint) {
    out += StringPrintf(";HINT bounds %s\n",
                        BoundsModeName(options.bounds_hint ? read.bounds : read.cnf_bounds));
  }
  out += "\n";

  out += StringPrintf(";;Screen size\n(%d,%d\n\n", doll.playfield.width, doll.playfield.height);
  if (!doll.palette_file_names.empty()) {
    out += StringPrintf(";;Border color index\n[%d\n\n", doll.border_color);
    out += ";;Palettes\n";
    for (const std::string& name : doll.palette_file_names) out += "%" + name + "\n";
    out += "\n";
  }

  const CelColumns columns = ComputeCelColumns(doll);
  const int palette_lines = static_cast<int>(doll.palette_file_names.size());
  int line = static_cast<int>(std::count(out.begin(), out.end(), '\n'));
  out += ";; Cel Declarations\n";
  ++line;
  for (const auto& instance : doll.instances()) {
    const int transparency =
        options.transparencies ? instance->transparency : instance->cnf_transparency;
    const bool mapped = options.mapping ? instance->mapped : instance->cnf_mapped;
    out += FormatCelLine(doll, *instance, transparency, mapped, columns, palette_lines);
    out += "\n";
    result.instance_lines.push_back(line++);
  }
  out += "\n";

  if (script) out += FormatFkissScript(*script, doll);

  out += ";;Positional data\n";
  for (int set = 0; set < kSetCount; ++set) {
    out += StringPrintf(";; Set %d\n", set);
    WriteSetLine(out, doll, set, options.positions);
  }
  return result;
}

}  // namespace luma
