#ifndef LUMA_CORE_FILES_CNF_SAVE_H_
#define LUMA_CORE_FILES_CNF_SAVE_H_

#include <string>

#include "core/doll/cnf_save_options.h"
#include "core/doll/kiss_cnf_doc.h"
#include "core/host/status.h"

// Saving an open doll's CNF. The file is written to a temporary file in the
// target's folder and renamed over the target only when it is complete; on
// failure ("Unable to write to file " + path) any existing file stays as it
// was and the document is unchanged. After a successful
// write the document's CNF lines are the lines written (with each cel
// instance's line number), added script text counts as saved, and with the
// positions option the current positions become the reset positions.
namespace luma {

// A fresh, column-aligned CNF from the model.
Status WriteReformatted(CKissCnfDoc& doc, const std::string& path, const CnfSaveOptions& options);

// The CNF as read, edited only where the doll or the options differ from it.
Status WritePreserving(CKissCnfDoc& doc, const std::string& path, const CnfSaveOptions& options);

// The doll's script was changed in a way only the reformatting writer can
// save (snap-to effects were removed).
bool CnfReformatRequired(CKissCnfDoc& doc);

// The document's Save to new CNF: the reformatting writer when the options
// ask for it or the doll requires it, else the preserving one. After
// success the options are remembered by the document, and a doll that did
// not come from an archive becomes the saved file (path, CNF path, name and
// title); an archived doll keeps its archive.
Status SaveToNewCnf(CKissCnfDoc& doc, const std::string& path, const CnfSaveOptions& options);

}  // namespace luma

#endif  // LUMA_CORE_FILES_CNF_SAVE_H_
