#ifndef LUMA_CORE_DOLL_KISS_CNF_DOC_H_
#define LUMA_CORE_DOLL_KISS_CNF_DOC_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/doll/cnf_save_options.h"
#include "core/doll/doll_files.h"
#include "core/doll/load_progress.h"
#include "core/doll/script_stages.h"
#include "core/fkiss/value_pools.h"
#include "core/gfx/render_device.h"
#include "core/gfx/texture_pool.h"
#include "core/host/host.h"
#include "core/host/settings.h"
#include "core/model/doll_model.h"
#include "core/render/device_palettes.h"

namespace luma {

// An archive member the view lists as documentation (doc, txt, rtf, htm,
// html, diz, me).
struct DocumentFile {
  std::string name;
  std::string full_name;
  bool utf8_name = false;  // the archive marks the name as UTF-8
};

// What a file's name says it holds, as far as dolls go: a CNF, an archive
// that carries dolls (.lzh, .lha, .zip), a program that may be a
// self-extracting archive (.exe, .com), or nothing a doll comes in. Case
// does not matter.
enum class DollFileType { kNone, kCnf, kArchive, kProgram };
DollFileType DollFileTypeOf(std::string_view name);

// One open doll: its model, the textures of its cels, and how it was loaded.
// Loading goes through stages (CNF text, parse, palettes, cels from the
// largest file to the smallest, clones, palette checks, instances,
// ambiguity, external files, script), reporting progress through the Host
// and problems in the model's ErrorReport. Only a file that cannot be opened
// at all stops a load, with a message box.
class CKissCnfDoc {
 public:
  CKissCnfDoc(Host& host, RenderDevice& device, const Settings& settings);
  ~CKissCnfDoc();
  CKissCnfDoc(const CKissCnfDoc&) = delete;
  CKissCnfDoc& operator=(const CKissCnfDoc&) = delete;

  // The script layer's part of loading, the FKiSS parser unless replaced;
  // without it script lines are kept but nothing is registered for them.
  void set_script_stages(std::unique_ptr<ScriptStages> script) { script_ = std::move(script); }
  ScriptStages* script() { return script_.get(); }
  // The doll's parsed script, or nullptr without a script layer.
  FkissScript* fkiss() { return script_ ? script_->fkiss() : nullptr; }
  // Where the script keeps values between runs: made for each loaded doll
  // with a parsed script, nullptr otherwise.
  ValuePools* value_pools() { return value_pools_.get(); }

  // Opens a .cnf, .lzh, .lha or .zip file. Clears the loading flag afterwards.
  bool OpenDoll(const std::string& path);
  // Loads into the open document again; these leave the loading flag set
  // for the view to clear once it has restarted the doll.
  bool OpenExpansion(const std::string& path);  // keeps present cels by name
  bool OpenOtherCnf(const std::string& path);   // keeps unchanged cels
  bool ReloadCnf();                             // this CNF again, rereading changed cels

  // The pipeline itself. With `keep_unchanged`, cels whose file has the same
  // time stamp as when it was read are not read again.
  bool Load(const std::string& path, bool keep_unchanged);
  // The same for an archive already in memory (`path` names it).
  bool LoadArchiveImage(const std::string& path, std::vector<uint8_t> image, bool keep_unchanged);

  // Frees everything but the present cels that are not clones, so a new CNF
  // finds them again by name.
  void PrepareForExpansion();
  // Frees the whole doll and deletes its temporary files.
  void Close();

  DollModel& model() { return model_; }
  const DollModel& model() const { return model_; }
  ErrorReport& report() { return model_.report; }
  TexturePool& textures() { return textures_; }
  // The device palettes of the doll's KCFs (paletted textures only).
  DevicePalettes& device_palettes() { return device_palettes_; }
  RenderDevice& device() { return device_; }
  Host& host() { return host_; }
  const Settings& settings() const { return settings_; }
  // The user changed the settings: later loads into this document use them,
  // and the open doll's fix and stack limits follow unless its CNF chose
  // its own with ;HINT lines. Its bounding mode stays as it is.
  void ApplySettings(const Settings& settings);

  // The doll's text as UTF-8 for showing, in the encoding decided for it
  // (model().text_encoding); paths keep their desktop folders (DecodePath).
  std::string Shown(std::string_view bytes) const { return model_.Shown(bytes); }
  std::string ShownPath(std::string_view path) const {
    return DecodePath(path, model_.text_encoding);
  }
  // title() for window titles and menus.
  std::string ShownTitle() const;
  // An archive member's name for showing: UTF-8 where the archive marks it
  // so, otherwise in the doll's encoding like the rest of its text.
  std::string ShownMember(std::string_view name, bool utf8_name) const;
  // cnf_name() for showing.
  std::string ShownCnfName() const;

  bool loading() const { return loading_; }
  void set_loading(bool loading) { loading_ = loading; }
  bool is_archive() const { return archive_; }
  const std::string& path() const { return path_; }
  const std::string& title() const { return title_; }
  const std::string& archive_name() const { return archive_name_; }
  const std::string& cnf_name() const { return cnf_name_; }
  const std::string& cnf_member() const { return cnf_member_; }
  // The archive marks the CNF member's name as UTF-8.
  bool cnf_utf8_name() const { return cnf_utf8_name_; }
  // The CNF on disk: the file itself, or the temporary copy for archives.
  const std::string& cnf_path() const { return cnf_path_; }
  bool has_temp_cnf() const { return temp_cnf_; }
  const std::vector<DocumentFile>& document_files() const { return document_files_; }
  // Documentation file `index` on disk, for opening it: an archive member is
  // written to a temporary copy on first need, deleted with the doll's other
  // temporary files.
  Result<std::string> DocumentFilePath(size_t index);
  // Archive members the doll's files are looked up in (empty for disk dolls).
  const std::vector<DollFileInfo>& members() const { return members_; }
  // The indexes of the members that are CNFs, in archive order.
  std::vector<size_t> CnfMembers() const;
  int indexed_instances() const { return indexed_instances_; }
  // Cel files read by the last load (unchanged ones skipped by a reload are not).
  int cels_read() const { return cels_read_; }
  int truecolor_instances() const { return truecolor_instances_; }
  // Visible 16 x 16 tiles over all instances.
  int quad_count() const { return quad_count_; }
  bool paletted_textures() const { return device_.flags().paletted_textures; }
  // An instance's palette line changed (FKiSS setkcf, a reset): it now
  // draws with that KCF, in palette group `group` for a start. With device
  // palettes it takes the KCF's palette numbers; otherwise it moves to the
  // texture of its cel coloured by that KCF, made on first need.
  void UseInstancePalette(CelInstance& instance, int group);

  // The save options last used successfully, offered again by the next save.
  CnfSaveOptions& save_options() { return save_options_; }
  // After a disk doll's CNF was saved under `path`, the document is that file.
  void AdoptSavedCnf(const std::string& path);

 private:
  bool CheckOpenable(const std::string& path);
  // Member names before the CNF is read, decided from all of them.
  std::string ShownMemberName(std::string_view name, bool utf8_name) const;
  void DecideTextEncoding();
  bool LoadFrom(const std::string& path, bool keep_unchanged, std::vector<uint8_t>* image);
  // The stages after the CNF text is read; the first failure ends the load.
  Status RunLoadStages(LoadProgress& progress, bool keep_unchanged);
  // The loading stages, in order.
  bool ReadDiskCnf();
  bool ReadArchiveCnf(std::vector<uint8_t> image, bool from_disk);
  void DropUnusedCels();
  void ReadPalettes(LoadProgress& progress);
  void ReadCels(LoadProgress& progress, bool keep_unchanged);
  void CheckPalettes();
  Status PrepareInstances(LoadProgress& progress);
  void FindAmbiguousCels(LoadProgress& progress);
  Status PrepareScript(LoadProgress& progress);
  void MakeValuePools(bool loaded);

  FolderDollFiles& FolderFiles();
  // The error-report line for a file the CNF names that could not be read.
  std::string ReadFailureText(std::string_view name, const Status& failure);
  void DeleteDocumentTempFiles();
  // Frees the doll's records, telling the progress window (when shown) what
  // goes in which order.
  void FreeRecords(LoadProgress* progress, bool keep_present_cels);

  Host& host_;
  RenderDevice& device_;
  Settings settings_;
  DollModel model_;
  TexturePool textures_;
  DevicePalettes device_palettes_;
  std::unique_ptr<ScriptStages> script_;
  std::unique_ptr<DollFiles> files_;  // while loading
  // The archive of a loaded archived doll, for its documentation files.
  std::unique_ptr<DollFiles> documents_source_;
  std::unique_ptr<ValuePools> value_pools_;

  bool loading_ = false;
  bool archive_ = false;
  std::string path_;
  std::string title_;
  std::string archive_name_;
  std::string cnf_name_;
  std::string cnf_member_;
  bool cnf_utf8_name_ = false;
  std::string cnf_path_;
  // The CNF member a reload of an archived doll takes without asking.
  std::string reload_member_;
  bool temp_cnf_ = false;
  std::vector<DocumentFile> document_files_;
  std::vector<std::string> document_copies_;  // temporary copies made so far
  std::vector<DollFileInfo> members_;
  TextEncoding member_encoding_ = TextEncoding::kWindows1252;
  int indexed_instances_ = 0;
  int truecolor_instances_ = 0;
  int cels_read_ = 0;
  int quad_count_ = 0;
  CnfSaveOptions save_options_;
};

}  // namespace luma

#endif  // LUMA_CORE_DOLL_KISS_CNF_DOC_H_
