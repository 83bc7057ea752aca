#include "core/files/cel_line_text.h"

#include <algorithm>

#include "core/host/text.h"

namespace luma {
namespace {

// Left-aligned in `width`; names may hold any byte, NUL included, so no printf.
std::string PadRight(std::string text, int width) {
  if (static_cast<int>(text.size()) < width) text.append(width - text.size(), ' ');
  return text;
}

int DigitCount(int value) { return static_cast<int>(StringPrintf("%d", value).size()); }

// Indexed cels always name their palette; a 32-bit cel only when it was
// registered with another palette than the default, which keeps it apart.
bool WritesPalette(const CelInstance& instance) {
  return (instance.cel && instance.cel->indexed()) || instance.cnf_palette != 0;
}

bool IsGroupOf(const DollModel& doll, const CelSet* set) {
  return doll.FindGroup(set->name) == set;
}

// A group and the sets in which the instance is one of its members.
std::string GroupText(const CelSet& group, const CelInstance& instance) {
  std::string text = "!" + group.name;
  std::string sets;
  for (int s = 0; s < kSetCount; ++s) {
    const auto& members = group.by_set[s];
    if (std::find(members.begin(), members.end(), &instance) != members.end()) {
      sets += StringPrintf(" %d", s);
    }
  }
  if (!sets.empty()) text += " :" + sets.substr(1);
  return text;
}

// The extension of the cel line, and the groups that cannot stand in it:
// the extension ends at a ";", which a group named on a ;! line may hold.
void ExtensionText(const DollModel& doll, const CelInstance& instance, int transparency,
                   bool mapped, std::string& extension, std::string& group_line) {
  std::vector<std::string> tokens;
  const int cel_x = instance.cel ? instance.cel->x_offset : 0;
  const int cel_y = instance.cel ? instance.cel->y_offset : 0;
  if (transparency != 0) tokens.push_back(StringPrintf("%%t%d", transparency));
  if (instance.x_offset != cel_x) tokens.push_back(StringPrintf("%%x%d", instance.x_offset));
  if (instance.y_offset != cel_y) tokens.push_back(StringPrintf("%%y%d", instance.y_offset));
  if (!mapped) tokens.push_back("%u");
  if (instance.cnf_ghost) tokens.push_back("%g");
  // Groups after one on the ;! line follow it there, so that they are read
  // in the order the instance has them.
  for (const CelSet* set : instance.cel_sets) {
    if (!IsGroupOf(doll, set)) continue;
    if (group_line.empty() && set->name.find(';') == std::string::npos) {
      tokens.push_back(GroupText(*set, instance));
    } else {
      group_line += (group_line.empty() ? ";" : " ") + GroupText(*set, instance);
    }
  }
  for (const std::string& token : tokens) extension += (extension.empty() ? "" : " ") + token;
}

}  // namespace

CelColumns ComputeCelColumns(const DollModel& doll) {
  int largest_object = 0;
  uint32_t largest_fix = 0;
  int largest_palette = -1;
  CelColumns columns;
  for (const auto& instance : doll.instances()) {
    largest_object = std::max<int>(largest_object, instance->object_number);
    if (instance->object) largest_fix = std::max(largest_fix, instance->object->cnf_fix);
    if (instance->cel) {
      columns.file = std::max(columns.file, static_cast<int>(instance->cel->file_name.size()));
    }
    if (WritesPalette(*instance))
      largest_palette = std::max<int>(largest_palette, instance->cnf_palette);
  }
  columns.object = largest_fix > 0
                       ? static_cast<int>(StringPrintf("%d.%u", largest_object, largest_fix).size())
                       : DigitCount(largest_object);
  if (largest_palette >= 0) columns.palette = DigitCount(largest_palette) + 1;
  return columns;
}

std::string SetFieldText(const std::bitset<kSetCount>& sets) {
  std::string field;
  for (int s = 0; s < kSetCount; ++s) {
    if (s > 0) field += ' ';
    field += sets.test(s) ? static_cast<char>('0' + s) : ' ';
  }
  return field;
}

std::string CelCommentText(std::string_view extension, std::string_view free_comment) {
  if (extension.empty()) {
    if (free_comment.empty()) return "";
    // Text starting with "%" or "!" right after the ";" would be read as an
    // extension; "%t0" changes nothing and lets the comment follow it.
    if (free_comment[0] != '%' && free_comment[0] != '!') return ";" + std::string(free_comment);
    return ";%t0 ;" + std::string(free_comment);
  }
  std::string text = ";" + std::string(extension);
  if (!free_comment.empty()) text += " ;" + std::string(free_comment);
  return text;
}

std::string FormatCelLine(const DollModel& doll, const CelInstance& instance, int transparency,
                          bool mapped, const CelColumns& columns, int palette_lines) {
  const uint32_t fix = instance.object ? instance.object->cnf_fix : 0;
  const std::string object = fix > 0 ? StringPrintf("%d.%u", instance.object_number, fix)
                                     : StringPrintf("%d", instance.object_number);
  const std::string file = instance.cel ? instance.cel->file_name : "";
  std::string line =
      "#" + PadRight(object, columns.object) + " " + PadRight(file, columns.file) + " ";
  if (columns.palette >= 0) {
    std::string palette;
    if (WritesPalette(instance)) {
      // "*n" is checked against the palette lines read so far, "* n" is not.
      const int n = instance.cnf_palette;
      palette = StringPrintf(n == 0 || n < palette_lines ? "*%d" : "* %d", n);
    }
    line += PadRight(palette, columns.palette) + " ";
  }
  line += " :" + SetFieldText(instance.in_set);
  std::string extension;
  std::string group_line;
  ExtensionText(doll, instance, transparency, mapped, extension, group_line);
  const std::string comment = CelCommentText(extension, instance.comment);
  if (!comment.empty()) line += " " + comment;
  if (!group_line.empty()) line += "\n" + group_line;
  return line;
}

}  // namespace luma
