#include "core/view/cnf_save_command.h"

#include "core/files/cnf_save.h"

namespace luma {

bool RunSaveToNewCnf(CKissCnfDoc& doc, const std::string& path, const CnfSaveOptions& options) {
  const Status saved = SaveToNewCnf(doc, path, options);
  if (!saved.ok()) doc.host().ShowMessage("Save Error", saved.message(), MessageIcon::kWarning);
  return saved.ok();
}

}  // namespace luma
