#ifndef LUMA_CORE_FILES_CEL_LINE_TEXT_H_
#define LUMA_CORE_FILES_CEL_LINE_TEXT_H_

#include <bitset>
#include <string>
#include <string_view>

#include "core/model/doll_model.h"

// Writing and reading single cel lines of a CNF.
namespace luma {

// Widths of the aligned columns of the cel declarations.
struct CelColumns {
  int object = 0;  // "#" excluded
  int file = 0;
  int palette = -1;  // "*n"; -1 when the doll needs no palette column
};

// The widths for every cel line of the doll: the largest object number with
// ".fix" of the largest fix (when some object has one), the longest file
// name, and "*" with the largest palette of an instance that needs one (an
// indexed cel, or any cel registered with a palette other than 0).
CelColumns ComputeCelColumns(const DollModel& doll);

// The set field: for sets 0 to 9 the set's digit or a blank, separated by
// blanks, so always 19 characters.
std::string SetFieldText(const std::bitset<kSetCount>& sets);

// The part of a cel line from its first ";" on, for an extension text and a
// free comment; empty when both are. A free comment that would read as an
// extension is kept behind a neutral extension.
std::string CelCommentText(std::string_view extension, std::string_view free_comment);

// The whole cel line for `instance` with the given transparency and mapped
// flag, padded to `columns` (zero widths write it without padding). Groups
// whose names hold a ";" follow on a ;! line of their own.
// `palette_lines` is the number of palette lines the parser has seen when it
// reaches this line: a palette outside them is written so that it is not
// checked against them, as it was not when read.
std::string FormatCelLine(const DollModel& doll, const CelInstance& instance, int transparency,
                          bool mapped, const CelColumns& columns, int palette_lines);

}  // namespace luma

#endif  // LUMA_CORE_FILES_CEL_LINE_TEXT_H_
