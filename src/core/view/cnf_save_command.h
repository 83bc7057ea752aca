#ifndef LUMA_CORE_VIEW_CNF_SAVE_COMMAND_H_
#define LUMA_CORE_VIEW_CNF_SAVE_COMMAND_H_

#include <string>

#include "core/doll/cnf_save_options.h"
#include "core/doll/kiss_cnf_doc.h"

namespace luma {

// The document's Save to new CNF as the user meets it: SaveToNewCnf, and
// when the file cannot be written the message box "Unable to write to file "
// + path (caption "Save Error"). Returns whether the CNF was saved.
bool RunSaveToNewCnf(CKissCnfDoc& doc, const std::string& path, const CnfSaveOptions& options);

}  // namespace luma

#endif  // LUMA_CORE_VIEW_CNF_SAVE_COMMAND_H_
