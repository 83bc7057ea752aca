// The doll window's file commands: saving the CNF under a new name and
// building an archive of the doll.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/additional_files_dialog.h"
#include "app/byte_text.h"
#include "app/child_frame.h"
#include "app/command_table.h"
#include "app/main_frame.h"
#include "app/palette_editor_dialog.h"
#include "app/save_cnf_dialog.h"
#include "core/files/cnf_save.h"
#include "core/view/cnf_save_command.h"
#include "core/view/lzh_build_command.h"

namespace luma::app {
namespace {

QString FromLocal(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

void CChildFrame::RunFileCommand(int id) {
  // The dialogs run event loops of their own, where the script's alarms
  // would go on and could even close this window under them.
  main_.alarm_loop().SetClient(nullptr);
  if (id == kIdFileSaveAs) {
    SaveCnfAs();
  } else {
    BuildArchive();
  }
  if (main_.ActiveChild() == this) main_.alarm_loop().SetClient(this);
}

std::optional<std::string> CChildFrame::SaveCnfAs() {
  CKissCnfDoc& doc = *doc_;
  // A disk doll proposes its own CNF; an archived doll's CNF is a temporary
  // copy, so the CNF's name beside the archive is proposed instead.
  const QString proposed =
      doc.is_archive()
          ? QFileInfo(FromLocal(doc.path())).dir().filePath(FromBytes(doc.ShownCnfName()))
          : FromLocal(doc.cnf_path());
  SaveCnfDialog dialog(&main_, proposed, doc.save_options(), CnfReformatRequired(doc));
  const std::string path = main_.dialogs().RunSaveCnfDialog(dialog);
  if (path.empty()) return std::nullopt;
  if (!RunSaveToNewCnf(doc, path, dialog.options())) return std::nullopt;
  main_.RefreshTitles();
  // A CNF saved from an archive names cels that live only in the archive:
  // it is no doll to open again by itself.
  if (!doc.is_archive()) main_.AddRecentFile(FromLocal(path));
  return path;
}

bool CChildFrame::BuildArchive() {
  LzhBuildHooks hooks;
  hooks.palettes_modified = [this] { return palette_editor_ && palette_editor_->AnyModified(); };
  hooks.save_palettes = [this] {
    const bool saved = palette_editor_->SaveModified(
        [this](const std::string& name) { return AskPalettePath(name); });
    if (palette_dialog_) palette_dialog_->Refresh();
    return saved;
  };
  hooks.save_cnf = [this] { return SaveCnfAs(); };
  hooks.choose_additional_files =
      [this](std::vector<AdditionalFile> listed) -> std::optional<std::vector<AdditionalFile>> {
    AdditionalFilesDialog dialog(&main_);
    dialog.set_start_folder(main_.current_folder());
    dialog.ListMembers(listed, FromLocal(doc_->archive_name()));
    if (!main_.dialogs().RunAdditionalFilesDialog(dialog)) return std::nullopt;
    return dialog.files();
  };
  hooks.choose_destination = [this]() -> std::optional<std::string> {
    const std::string path =
        main_.AskSavePath("Build LZH Archive", "", "lzh", "Compressed KiSS Data Set (*.lzh *.lha)");
    if (path.empty()) return std::nullopt;
    // The next file dialog starts where the archive went.
    main_.set_current_folder(QFileInfo(FromLocal(path)).absolutePath());
    return path;
  };
  hooks.archive_created = [this](const std::string& path) { main_.AddRecentFile(FromLocal(path)); };
  return BuildLzhArchive(*doc_, hooks);
}

}  // namespace luma::app
