#include "core/view/documentation.h"

#include "core/host/text.h"

namespace luma {

bool OpensInTextEditor(std::string_view file_name) {
  static constexpr std::string_view kOwnProgram[] = {"doc", "rtf", "htm", "html", "txt"};
  const std::string_view extension = ExtensionPart(FileNamePart(file_name));
  for (const std::string_view e : kOwnProgram) {
    if (EqualsIgnoreCase(extension, e)) return false;
  }
  return true;
}

}  // namespace luma
