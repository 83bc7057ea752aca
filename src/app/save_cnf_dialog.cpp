#include "app/save_cnf_dialog.h"

#include <QCheckBox>
#include <QGridLayout>

namespace luma::app {
namespace {

struct OptionBox {
  const char* text;
  bool CnfSaveOptions::*value;
};

// In the order the boxes are laid out, two columns filled row by row.
constexpr OptionBox kOptionBoxes[SaveCnfDialog::kOptionCount] = {
    {"Save current &transparencies", &CnfSaveOptions::transparencies},
    {"Save current &mapping", &CnfSaveOptions::mapping},
    {"Save current &positions", &CnfSaveOptions::positions},
    {"Save Maximum &Event Stack Hint", &CnfSaveOptions::stack_hint},
    {"Save Strong &Fix Hint", &CnfSaveOptions::maxfix_hint},
    {"Save &Bounding Hint", &CnfSaveOptions::bounds_hint},
    {"&Reformat CNF", &CnfSaveOptions::reformat},
};

}  // namespace

SaveCnfDialog::SaveCnfDialog(QWidget* parent, const QString& proposed,
                             const CnfSaveOptions& options, bool reformat_required)
    : QFileDialog(parent, "Save to new CNF", proposed, "KiSS Configuration File (*.cnf)") {
  // The platform's own dialog cannot carry the option boxes.
  setOption(QFileDialog::DontUseNativeDialog);
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  setDefaultSuffix("cnf");

  auto* options_area = new QWidget(this);
  auto* grid = new QGridLayout(options_area);
  grid->setContentsMargins(0, 0, 0, 0);
  for (int i = 0; i < kOptionCount; ++i) {
    boxes_[i] = new QCheckBox(kOptionBoxes[i].text);
    boxes_[i]->setChecked(options.*kOptionBoxes[i].value);
    grid->addWidget(boxes_[i], i / 2, i % 2);
  }
  if (reformat_required) {
    boxes_[kReformat]->setChecked(true);
    boxes_[kReformat]->setEnabled(false);
  }
  // The non-native dialog lays itself out on a grid; the options go in a
  // row of their own under the file type.
  if (auto* layout = qobject_cast<QGridLayout*>(this->layout())) {
    layout->addWidget(options_area, layout->rowCount(), 0, 1, layout->columnCount());
  }
}

CnfSaveOptions SaveCnfDialog::options() const {
  CnfSaveOptions out;
  for (int i = 0; i < kOptionCount; ++i) out.*kOptionBoxes[i].value = boxes_[i]->isChecked();
  return out;
}

std::string SaveCnfDialog::chosen_path() const {
  const QStringList files = selectedFiles();
  if (files.isEmpty()) return {};
  return QFile::encodeName(files.first()).toStdString();
}

}  // namespace luma::app
