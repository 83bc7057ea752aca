#ifndef LUMA_APP_SAVE_CNF_DIALOG_H_
#define LUMA_APP_SAVE_CNF_DIALOG_H_

#include <QFileDialog>
#include <string>

#include "core/doll/cnf_save_options.h"

class QCheckBox;

namespace luma::app {

// "Save to new CNF": a save-file dialog with the writer's options as check
// boxes below the file list. The boxes start as `options`; when the doll can
// only be saved reformatted, "&Reformat CNF" is checked and cannot be cleared.
class SaveCnfDialog : public QFileDialog {
 public:
  enum Option {
    kTransparencies,
    kMapping,
    kPositions,
    kStackHint,
    kMaxfixHint,
    kBoundsHint,
    kReformat,
    kOptionCount
  };

  SaveCnfDialog(QWidget* parent, const QString& proposed, const CnfSaveOptions& options,
                bool reformat_required);

  QCheckBox* box(Option option) const { return boxes_[option]; }
  // The options as the boxes stand.
  CnfSaveOptions options() const;
  // The file chosen, as a local file name; empty when none was.
  std::string chosen_path() const;

 private:
  QCheckBox* boxes_[kOptionCount];
};

}  // namespace luma::app

#endif  // LUMA_APP_SAVE_CNF_DIALOG_H_
