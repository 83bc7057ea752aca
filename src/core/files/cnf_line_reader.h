#ifndef LUMA_CORE_FILES_CNF_LINE_READER_H_
#define LUMA_CORE_FILES_CNF_LINE_READER_H_

#include <bitset>
#include <optional>
#include <string>
#include <string_view>

#include "core/model/cel_instance.h"

// Single CNF lines read by the CNF parser itself, so that an edited line is
// judged exactly as loading the file will judge it.
namespace luma {

// What one cel line gives when read on its own (its ;! lines aside).
struct CelLineValues {
  int object = 0;
  std::bitset<kSetCount> in_set;
  int transparency = 0;
  bool mapped = true;
  bool x_given = false;
  int x = 0;
  bool y_given = false;
  int y = 0;
  bool ghost = false;
  std::string comment;  // the free comment, without the ";" and blanks before it
  std::string groups;   // the groups the line names, with their sets
};

// nullopt when `line` is no usable cel line.
std::optional<CelLineValues> ReadCelLine(std::string_view line);

enum class HintKind { kNone, kStack, kMaxFix, kBounds, kUnknown };

// The HINT a comment (the text after a line's first ";") holds, if any.
HintKind ReadHintKind(std::string_view comment);

}  // namespace luma

#endif  // LUMA_CORE_FILES_CNF_LINE_READER_H_
