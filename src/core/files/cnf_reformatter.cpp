#include <algorithm>
#include <climits>

#include "core/files/cel_line_text.h"
#include "core/files/cnf_text.h"
#include "core/files/fkiss_writer.h"
#include "core/files/set_line_writer.h"
#include "core/files/unloaded_cel_lines.h"
#include "core/fkiss/fkiss_script.h"
#include "core/host/text.h"

namespace luma {
namespace {

// A cel line of the doll's CNF and the ;! lines that continue it.
std::vector<std::string> CelLineWithGroupLines(const DollModel& doll, int line) {
  const CnfLines& lines = doll.cnf_lines;
  std::vector<std::string> kept{lines[line]};
  for (size_t i = static_cast<size_t>(line) + 1; i < lines.size(); ++i) {
    const std::string& next = lines[i];
    if (next.empty()) continue;  // an empty line does not end the cel line's group lines
    const size_t start = next.find_first_not_of(" \t\f\r\n");
    if (start == std::string::npos || next[start] != ';' || start + 1 >= next.size() ||
        next[start + 1] != '!') {
      break;
    }
    kept.push_back(next);
  }
  return kept;
}

}  // namespace

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
  // The border colour comes from the palettes, but a border line without
  // them is kept all the same.
  if (!doll.palette_file_names.empty() || doll.border_color != 0) {
    out += StringPrintf(";;Border color index\n[%d\n\n", doll.border_color);
  }
  if (!doll.palette_file_names.empty()) {
    out += ";;Palettes\n";
    for (const std::string& name : doll.palette_file_names) {
      // A reader takes "%%" as one "%": a name starting with "%" needs both.
      out += (name.starts_with('%') ? "%%" : "%") + name + "\n";
    }
    out += "\n";
  }

  const CelColumns columns = ComputeCelColumns(doll);
  const int palette_lines = static_cast<int>(doll.palette_file_names.size());
  const std::vector<UnloadedCelLine> unloaded = FindUnloadedCelLines(doll);
  int line = static_cast<int>(std::count(out.begin(), out.end(), '\n'));
  out += ";; Cel Declarations\n";
  ++line;
  size_t next_unloaded = 0;
  // Lines without an instance keep their place among the others, as written.
  auto keep_unloaded_before = [&](int before) {
    for (; next_unloaded < unloaded.size() && unloaded[next_unloaded].line < before;
         ++next_unloaded) {
      for (const std::string& kept : CelLineWithGroupLines(doll, unloaded[next_unloaded].line)) {
        out += kept + "\n";
        ++line;
      }
    }
  };
  for (const auto& instance : doll.instances()) {
    keep_unloaded_before(instance->line);
    const int transparency =
        options.transparencies ? instance->transparency : instance->cnf_transparency;
    const bool mapped = options.mapping ? instance->mapped : instance->cnf_mapped;
    const std::string text =
        FormatCelLine(doll, *instance, transparency, mapped, columns, palette_lines);
    out += text + "\n";
    result.instance_lines.push_back(line);
    line += 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  }
  keep_unloaded_before(INT_MAX);
  out += "\n";

  if (script) out += FormatFkissScript(*script, doll);

  out += ";;Positional data\n";
  for (int set = 0; set < kSetCount; ++set) {
    out += StringPrintf(";; Set %d\n", set);
    WriteSetLine(out, doll, set, options.positions, unloaded);
  }
  // Written with LF, then given the ending the CNF had.
  const std::string eol = CnfLineEnding(doll.cnf_raw_lines);
  if (eol != "\n") {
    std::string converted;
    converted.reserve(out.size() + out.size() / 16);
    for (const char c : out) {
      if (c == '\n') {
        converted += eol;
      } else {
        converted += c;
      }
    }
    out = std::move(converted);
  }
  return result;
}

}  // namespace luma
