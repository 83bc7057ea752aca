#ifndef LUMA_APP_ADDITIONAL_FILES_DIALOG_H_
#define LUMA_APP_ADDITIONAL_FILES_DIALOG_H_

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "core/files/lzh_build.h"

class QListWidget;
class QPushButton;

namespace luma::app {

// "Additional Files": the documents the user wants packed into a doll's
// archive besides the doll's own files. The list starts with what the
// caller lists (the other members of an archived doll's archive); "&Add..."
// appends the chosen files that are not listed yet, "&Remove..." deletes
// the selected entry and is enabled only while one is selected.
class AdditionalFilesDialog : public QDialog {
 public:
  explicit AdditionalFilesDialog(QWidget* parent);

  // Appends each path not listed yet (exact match), in order.
  void AddFiles(const QStringList& paths);
  // Lists members of the doll's archive, named `archive_name`.
  void ListMembers(const std::vector<AdditionalFile>& members, const QString& archive_name);
  // The listed files, in list order (paths as local file names).
  std::vector<AdditionalFile> files() const;

  QListWidget* list() const { return list_; }
  QPushButton* add_button() const { return add_; }
  QPushButton* remove_button() const { return remove_; }

  // Where the "Select document files" dialog starts.
  void set_start_folder(const QString& folder) { start_folder_ = folder; }
  // Replaces the "Select document files" dialog that "&Add..." opens.
  using Chooser = std::function<QStringList()>;
  void set_chooser(Chooser chooser) { chooser_ = std::move(chooser); }

 private:
  void Add();
  void RemoveSelected();
  QStringList ChooseDocuments();

  QListWidget* list_;
  QPushButton* add_;
  QPushButton* remove_;
  Chooser chooser_;
  QString start_folder_;
};

}  // namespace luma::app

#endif  // LUMA_APP_ADDITIONAL_FILES_DIALOG_H_
