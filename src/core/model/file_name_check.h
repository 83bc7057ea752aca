#ifndef LUMA_CORE_MODEL_FILE_NAME_CHECK_H_
#define LUMA_CORE_MODEL_FILE_NAME_CHECK_H_

#include <string_view>

#include "core/host/text_encoding.h"
#include "core/model/error_report.h"

namespace luma {

// Warns about a file name that would not travel as a DOS 8.3 name: no
// extension, more than 8 characters before the first ".", further dots, and
// characters outside letters, digits and - _ $ ~ % @ ! ^ &. A character of
// several bytes in the doll's `encoding` (Japanese in Shift-JIS) is named
// whole, once.
void CheckFileName(std::string_view name, ErrorReport& report,
                   TextEncoding encoding = TextEncoding::kWindows1252);

}  // namespace luma

#endif  // LUMA_CORE_MODEL_FILE_NAME_CHECK_H_
