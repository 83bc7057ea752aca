#include "core/doll/kiss_cnf_doc.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/archive/lzh_archive_start.h"
#include "core/doll/archive_doll_files.h"
#include "core/doll/external_files.h"
#include "core/doll/fkiss_stages.h"
#include "core/doll/temp_files.h"
#include "core/host/file_io.h"
#include "core/host/text.h"
#include "core/host/text_encoding.h"
#include "core/model/cel_codec.h"
#include "core/model/cnf_parser.h"
#include "core/model/file_name_check.h"
#include "core/model/kcf_codec.h"
#include "core/model/messages.h"
#include "core/pools/pool_directory.h"
#include "core/render/instance_geometry.h"

namespace luma {
namespace {

std::string CountText(int count, const char* one, const char* many) {
  return count == 1 ? std::string(one) : StringPrintf(many, count);
}

bool IsDocumentFile(std::string_view name) {
  static constexpr std::string_view kExtensions[] = {"doc",  "txt", "rtf", "htm",
                                                     "html", "diz", "me"};
  const std::string_view extension = ExtensionPart(name);
  for (const std::string_view e : kExtensions) {
    if (EqualsIgnoreCase(extension, e)) return true;
  }
  return false;
}

}  // namespace

DollFileType DollFileTypeOf(std::string_view name) {
  const std::string_view extension = ExtensionPart(name);
  if (EqualsIgnoreCase(extension, "cnf")) return DollFileType::kCnf;
  for (const std::string_view archive : {"lzh", "lha", "zip"}) {
    if (EqualsIgnoreCase(extension, archive)) return DollFileType::kArchive;
  }
  for (const std::string_view program : {"exe", "com"}) {
    if (EqualsIgnoreCase(extension, program)) return DollFileType::kProgram;
  }
  return DollFileType::kNone;
}

CKissCnfDoc::CKissCnfDoc(Host& host, RenderDevice& device, const Settings& settings)
    : host_(host),
      device_(device),
      settings_(settings),
      script_(std::make_unique<FkissStages>(settings)) {}

CKissCnfDoc::~CKissCnfDoc() {
  DeleteDocumentTempFiles();
  device_palettes_.Release(device_);
}

bool CKissCnfDoc::CheckOpenable(const std::string& path) {
  const DollFileType type = DollFileTypeOf(path);
  // A doll may also come as a self-extracting archive; any other program is
  // no doll.
  const bool program = type == DollFileType::kProgram;
  if (type == DollFileType::kNone) {
    host_.ShowMessage("", FormatMessage(kMsgNotKissFileType, ShownPath(path)),
                      MessageIcon::kWarning);
    return false;
  }
  if (!CanOpenForReading(host_.Files(), path)) {
    host_.ShowMessage("", FormatMessage(kMsgUnableToOpen, ShownPath(path)), MessageIcon::kWarning);
    return false;
  }
  if (program && !IsSelfExtractingLzh(host_.Files(), path)) {
    host_.ShowMessage("", FormatMessage(kMsgNotKissFileType, ShownPath(path)),
                      MessageIcon::kWarning);
    return false;
  }
  return true;
}

std::vector<size_t> CKissCnfDoc::CnfMembers() const {
  std::vector<size_t> cnfs;
  for (size_t i = 0; i < members_.size(); ++i) {
    if (DollFileTypeOf(members_[i].name) == DollFileType::kCnf) cnfs.push_back(i);
  }
  return cnfs;
}

bool CKissCnfDoc::OpenDoll(const std::string& path) {
  if (!CheckOpenable(path)) return false;
  const bool ok = Load(path, false);
  loading_ = false;
  model_.fkiss_lines.clear();
  return ok;
}

bool CKissCnfDoc::OpenExpansion(const std::string& path) {
  if (!CheckOpenable(path)) return false;
  PrepareForExpansion();
  const bool ok = Load(path, false);
  model_.fkiss_lines.clear();
  return ok;
}

bool CKissCnfDoc::OpenOtherCnf(const std::string& path) {
  if (!CheckOpenable(path)) return false;
  PrepareForExpansion();
  const bool ok = Load(path, true);
  model_.fkiss_lines.clear();
  return ok;
}

bool CKissCnfDoc::ReloadCnf() {
  // An archived doll reloads from its archive: the temporary copy is only a
  // copy, and the cels live in the archive.
  // With several CNFs in the archive it is the same member again, not a
  // new question.
  const std::string path = path_;
  reload_member_ = cnf_member_;
  const bool ok = OpenOtherCnf(path);
  reload_member_.clear();
  return ok;
}

void CKissCnfDoc::ApplySettings(const Settings& settings) {
  settings_ = settings;
  model_.SetTextEncoding(model_.detected_encoding, settings.text_encoding_choice());
  HintSettings& hints = model_.hints;
  if (!hints.max_fix_hint) hints.max_fix = settings.strong_fix;
  if (!hints.stack_hint) hints.stack_depth = settings.max_stack;
}

bool CKissCnfDoc::Load(const std::string& path, bool keep_unchanged) {
  return LoadFrom(path, keep_unchanged, nullptr);
}

bool CKissCnfDoc::LoadArchiveImage(const std::string& path, std::vector<uint8_t> image,
                                   bool keep_unchanged) {
  return LoadFrom(path, keep_unchanged, &image);
}

bool CKissCnfDoc::LoadFrom(const std::string& path, bool keep_unchanged,
                           std::vector<uint8_t>* image) {
  loading_ = true;
  path_ = path;
  HintSettings& hints = model_.hints;
  hints = HintSettings();
  hints.stack_depth = settings_.max_stack;
  hints.max_fix = settings_.strong_fix;
  hints.bounds = hints.cnf_bounds = static_cast<BoundsMode>(settings_.boundary_enforcement);

  LoadProgress progress(host_);
  Status loaded;
  try {
    archive_ = image != nullptr || DollFileTypeOf(path) != DollFileType::kCnf;
    const bool read = archive_ ? ReadArchiveCnf(image ? std::move(*image) : std::vector<uint8_t>(),
                                                image == nullptr)
                               : ReadDiskCnf();
    if (!read) {
      files_.reset();
      return false;
    }
    loaded = RunLoadStages(progress, keep_unchanged);
  } catch (const std::bad_alloc&) {
    loaded = Status::Error(kOutOfMemoryText);
  }
  progress.Hide();
  if (!loaded.ok()) host_.ShowMessage("Lumadoll", loaded.message(), MessageIcon::kError);
  // The archive stays at hand for the documentation files, which are
  // copied out only when the user opens one.
  documents_source_ = archive_ && loaded.ok() ? std::move(files_) : nullptr;
  files_.reset();
  MakeValuePools(loaded.ok());
  return loaded.ok();
}

Status CKissCnfDoc::RunLoadStages(LoadProgress& progress, bool keep_unchanged) {
  DecideTextEncoding();
  progress.Show("Loading " + ShownTitle() + "...");
  if (Status parsed = ParseCnf(model_, host_, CnfParseOptions{paletted_textures()}); !parsed.ok()) {
    return parsed;
  }
  // A file that names no cel at all is most likely no doll (a text file
  // renamed, random bytes); an empty black playfield would not say so.
  if (model_.instances().empty()) model_.report.Error(kMsgNoCelsFound, cnf_name_);
  DropUnusedCels();
  ReadPalettes(progress);
  ReadCels(progress, keep_unchanged);
  CheckPalettes();
  if (Status prepared = PrepareInstances(progress); !prepared.ok()) return prepared;
  FindAmbiguousCels(progress);
  if (model_.fkiss_lines.empty()) return Status::Ok();
  return PrepareScript(progress);
}

void CKissCnfDoc::MakeValuePools(bool loaded) {
  value_pools_.reset();
  if (!loaded || !fkiss()) return;
  // The pool stores the path of the doll's file (the CNF, or the archive
  // it came from), so that dolls of one file name in different folders keep
  // their values apart; a doll moved elsewhere is found by its CNF text.
  std::error_code error;
  std::filesystem::path doll_path = std::filesystem::absolute(path_, error);
  if (error) doll_path = path_;
  value_pools_ = std::make_unique<ValuePools>(
      host_, *fkiss(), ComputeDollIdentity(doll_path.lexically_normal().string(), model_.cnf_lines),
      PrivatePoolBaseName(archive_ ? archive_name_ : std::string(), cnf_name_),
      model_.text_encoding);
}

bool CKissCnfDoc::ReadDiskCnf() {
  archive_name_.clear();
  cnf_name_ = std::string(FileNamePart(path_));
  cnf_member_.clear();
  cnf_utf8_name_ = false;
  cnf_path_ = path_;
  title_ = cnf_name_;
  Result<std::vector<uint8_t>> bytes = ReadWholeFile(host_.Files(), path_);
  if (!bytes.ok()) {
    host_.ShowMessage("", FormatMessage(kMsgUnableToOpen, ShownPath(path_)), MessageIcon::kWarning);
    return false;
  }
  CnfSourceLines text = ReadDiskCnfText(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  model_.cnf_lines = std::move(text.lines);
  model_.cnf_raw_lines = std::move(text.raw);
  model_.cnf_lone_cr_ends_lines = text.lone_cr_ends_lines;
  files_ = std::make_unique<FolderDollFiles>(host_.Files(), std::string(DirectoryPart(path_)));
  return true;
}

bool CKissCnfDoc::ReadArchiveCnf(std::vector<uint8_t> image, bool from_disk) {
  auto archive = std::make_unique<ArchiveDollFiles>();
  const Status opened =
      from_disk ? archive->Open(host_.Files(), path_) : archive->OpenImage(std::move(image), path_);
  if (!opened.ok()) {
    // The reader's reason, when it has one, tells a damaged file from one
    // that is not an archive at all.
    std::string text = FormatMessage(kMsgUnableToOpen, ShownPath(path_));
    if (!opened.message().empty()) text += "\n" + opened.message();
    host_.ShowMessage("", text, MessageIcon::kWarning);
    return false;
  }
  archive_name_ = std::string(FileNamePart(path_));
  members_ = archive->members();
  member_encoding_ = MemberNameEncoding(members_);
  const std::vector<size_t> candidates = CnfMembers();
  if (candidates.empty()) {
    host_.ShowMessage("", FormatMessage(kMsgNoCnfInArchive, ShownPath(archive_name_)),
                      MessageIcon::kWarning);
    return false;
  }
  size_t chosen = candidates[0];
  title_ = archive_name_;
  if (candidates.size() > 1) {
    const auto same = std::find_if(candidates.begin(), candidates.end(), [&](size_t c) {
      return !reload_member_.empty() &&
             NamesEqual(members_[c].full_name, reload_member_, member_encoding_);
    });
    if (same != candidates.end()) {
      chosen = *same;
    } else {
      std::vector<std::string> names;
      for (const size_t c : candidates)
        names.push_back(ShownMemberName(members_[c].full_name, members_[c].utf8_name));
      const int choice = host_.Choose("Select CNF", "This archive holds several CNF files:", names);
      if (choice < 0 || static_cast<size_t>(choice) >= candidates.size()) return false;
      chosen = candidates[static_cast<size_t>(choice)];
    }
    title_ += " (" + members_[chosen].name + ")";
  }
  cnf_name_ = members_[chosen].name;
  cnf_member_ = members_[chosen].full_name;
  cnf_utf8_name_ = members_[chosen].utf8_name;
  Result<std::vector<uint8_t>> bytes = archive->ReadMember(chosen);
  if (!bytes.ok()) {
    std::string text =
        FormatMessage(kMsgUnableToExtract, ShownMemberName(cnf_name_, members_[chosen].utf8_name));
    if (archive->is_zip()) text += "\n" + bytes.status().message();
    host_.ShowMessage("", text, MessageIcon::kWarning);
    return false;
  }
  DeleteTempFile(host_.Files(), temp_cnf_ ? cnf_path_ : std::string());
  temp_cnf_ = false;
  cnf_path_.clear();
  if (Result<std::string> copy = WriteTempCopy(host_, *bytes, "CNF"); copy.ok()) {
    cnf_path_ = *copy;
    temp_cnf_ = true;
  } else {
    model_.report.Warning(kMsgTempCopyFailed, cnf_name_);
  }
  CnfSourceLines text = ReadArchiveCnfText(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  model_.cnf_lines = std::move(text.lines);
  model_.cnf_raw_lines = std::move(text.raw);
  model_.cnf_lone_cr_ends_lines = text.lone_cr_ends_lines;
  document_files_.clear();
  for (const DollFileInfo& member : members_) {
    if (IsDocumentFile(member.name)) {
      document_files_.push_back({member.name, member.full_name, member.utf8_name});
    }
  }
  files_ = std::move(archive);
  return true;
}

void CKissCnfDoc::DropUnusedCels() {
  // Cels kept from the doll loaded before that the new CNF does not name
  // would hold their textures for nothing.
  std::unordered_set<const KissCel*> used;
  for (const auto& instance : model_.instances()) {
    if (!instance->cel) continue;
    used.insert(instance->cel);
    if (instance->cel->base) used.insert(instance->cel->base);
  }
  for (const auto& cel : model_.cels()) {
    if (!used.contains(cel.get())) ReleaseCelTexture(*cel, textures_);
  }
  model_.RemoveCels([&used](const KissCel& cel) { return !used.contains(&cel); });
}

void CKissCnfDoc::ReadPalettes(LoadProgress& progress) {
  const int count = static_cast<int>(model_.palette_file_names.size());
  progress.Stage(CountText(count, "Reading Palette...", "Reading %d Palettes..."), count);
  model_.palette_line_index.clear();
  model_.kcf_counts = KcfCounts();
  std::vector<int> colors_per_line;
  for (int line = 0; line < count; ++line) {
    progress.Step(line);
    const std::string& name = model_.palette_file_names[static_cast<size_t>(line)];
    CheckFileName(name, model_.report, model_.text_encoding);
    Result<std::vector<uint8_t>> bytes = files_->Read(name);
    KissPalette* palette = nullptr;
    int colors = 0;
    if (bytes.ok()) {
      palette = model_.FindOrCreatePalette(name);
      colors = ReadKcf(*bytes, *palette, model_.report);
      if (!archive_) palette->full_path = FolderFiles().PathOf(name);
    } else {
      palette = model_.FindPalette(name);
      if (!palette) {
        palette = model_.FindOrCreatePalette(name);
        model_.report.AddError(ReadFailureText(name, bytes.status()));
      }
    }
    const auto& palettes = model_.palettes();
    const auto at = std::find_if(palettes.begin(), palettes.end(),
                                 [palette](const auto& p) { return p.get() == palette; });
    model_.palette_line_index.push_back(static_cast<int>(at - palettes.begin()));
    if (colors > 16) {
      palette->colors = 256;
      ++model_.kcf_counts.color256;
    } else if (colors > 0) {
      palette->colors = 16;
      ++model_.kcf_counts.color16;
    }
    colors_per_line.push_back(colors);
  }
  model_.enhanced_palette = IsEnhancedPalette(colors_per_line);
  CountPaletteGroups(model_, paletted_textures());
  if (count > 0) model_.ComputeGroupColors();
}

void CKissCnfDoc::ReadCels(LoadProgress& progress, bool keep_unchanged) {
  struct Pending {
    KissCel* cel;
    uint32_t size;
  };
  std::vector<Pending> pending;
  for (const auto& entry : model_.cels()) {
    KissCel* cel = entry.get();
    if (cel->is_clone()) continue;
    const std::optional<DollFileInfo> info = files_->Find(cel->file_name);
    if (keep_unchanged && info && cel->present && cel->time_stamp == info->time_stamp) continue;
    if (info) {
      cel->time_stamp = info->time_stamp;
      cel->full_path = info->full_name;
    }
    pending.push_back({cel, info ? info->size : 0});
  }
  // Largest file first; equal sizes keep list order.
  std::stable_sort(pending.begin(), pending.end(),
                   [](const Pending& a, const Pending& b) { return a.size > b.size; });

  const int count = static_cast<int>(pending.size());
  progress.Stage(CountText(count, "Reading Cel...", "Reading %d Cels..."), count);
  const CelTextureSource source{&device_, &textures_, settings_.recycle_textures};
  cels_read_ = 0;
  for (int i = 0; i < count; ++i) {
    progress.Step(i);
    KissCel& cel = *pending[static_cast<size_t>(i)].cel;
    CheckFileName(cel.file_name, model_.report, model_.text_encoding);
    Result<std::vector<uint8_t>> bytes = files_->Read(cel.file_name);
    if (bytes.ok()) {
      if (Status decoded = DecodeCel(cel, *bytes, source); !decoded.ok()) {
        model_.report.AddError(cel.file_name + ": " + decoded.message() + "\n");
      }
      ++cels_read_;
    } else if (!cel.present) {
      model_.report.AddError(ReadFailureText(cel.file_name, bytes.status()));
    }
  }

  // Counted over every cel with a texture, so a reload that reread only
  // the changed files still counts the whole doll.
  model_.cel_counts = CelCounts();
  model_.ckiss = false;
  for (const auto& entry : model_.cels()) {
    const KissCel& cel = *entry;
    if (cel.is_clone() || !cel.texture) continue;
    if (cel.depth == 16) {
      ++model_.cel_counts.color16;
    } else if (cel.depth == 256) {
      ++model_.cel_counts.color256;
    } else {
      ++model_.cel_counts.truecolor;
      model_.ckiss = true;
    }
  }

  for (const auto& entry : model_.cels()) {
    KissCel& cel = *entry;
    // A clone of a cel that could not be read has nothing to copy; the
    // missing file is already reported.
    if (!cel.is_clone() || !cel.base->present) continue;
    if (Status cloned = MakeClone(cel, source); !cloned.ok()) {
      model_.report.AddError(cel.file_name + ": " + cloned.message() + "\n");
    }
  }
}

void CKissCnfDoc::CheckPalettes() {
  const CelCounts& cels = model_.cel_counts;
  const KcfCounts& kcfs = model_.kcf_counts;
  if (cels.color256 > 0 && kcfs.color256 == 0) model_.report.Error(kMsgNo256ColorKcf);
  if (kcfs.total() > 0) return;
  if (cels.color16 > 0) model_.report.Error(kMsgNoKcf);
  if (cels.color16 + cels.color256 == 0) return;
  KissPalette* fallback = model_.FindOrCreatePalette("default");
  const auto& palettes = model_.palettes();
  const auto at = std::find_if(palettes.begin(), palettes.end(),
                               [fallback](const auto& p) { return p.get() == fallback; });
  model_.palette_line_index.push_back(static_cast<int>(at - palettes.begin()));
  if (!model_.palette_file_names.empty()) model_.ComputeGroupColors();
}

Status CKissCnfDoc::PrepareInstances(LoadProgress& progress) {
  // Instances of cels without a texture (missing or undecodable files) go.
  model_.RemoveInstances([](const CelInstance& i) { return !i.cel || !i.cel->texture; });
  const int count = static_cast<int>(model_.instances().size());
  progress.Stage(CountText(count, "Processing Cel Instance...", "Processing %d Cel Instances..."),
                 count);
  const int palette_lines = static_cast<int>(model_.palette_line_index.size());
  indexed_instances_ = 0;
  truecolor_instances_ = 0;
  quad_count_ = 0;
  for (int i = 0; i < count; ++i) {
    progress.Step(i);
    CelInstance* instance = model_.instances()[static_cast<size_t>(i)].get();
    KissCel* cel = instance->cel;
    if (!cel->indexed()) {
      ++truecolor_instances_;
    } else {
      ++indexed_instances_;
      if (instance->palette >= palette_lines) {
        model_.report.Error(kMsgInstanceKcfOutOfRange, instance->palette, palette_lines);
      } else if (!paletted_textures()) {
        ApplyPalette(*cel, model_.PaletteOfLine(instance->palette)->groups[0], false);
      }
    }
    if (Status built = BuildInstanceGeometry(device_, *instance); !built.ok()) return built;
    quad_count_ += QuadCount(*instance);
  }
  // Each instance learns the device palettes of its KCF. A failed upload
  // shows wrong colours but loses nothing, so the load goes on.
  if (paletted_textures()) (void)device_palettes_.UploadDevicePalettes(device_, model_);
  return Status::Ok();
}

void CKissCnfDoc::UseInstancePalette(CelInstance& instance, int group) {
  KissCel* cel = instance.cel;
  if (!cel || !cel->indexed() || !model_.PaletteOfLine(instance.palette)) return;
  if (paletted_textures()) {
    const std::vector<unsigned>& bases = device_palettes_.bases();
    const int index = PaletteIndexOfLine(model_, instance.palette);
    if (index >= 0 && static_cast<size_t>(index) < bases.size()) {
      instance.geometry.palette_base = bases[static_cast<size_t>(index)];
    }
    return;
  }
  KissCel* coloured = model_.FindCel(cel->file_name, instance.palette);
  if (!coloured) {
    coloured = model_.RegisterCel(cel->file_name, instance.palette);
    const CelTextureSource source{&device_, &textures_, settings_.recycle_textures};
    if (!MakeClone(*coloured, source)) return;
    ApplyPalette(*coloured,
                 model_.PaletteOfLine(instance.palette)
                     ->groups[std::clamp(group, 0, kPaletteGroupCount - 1)],
                 true);
  }
  if (!coloured->texture) return;
  instance.cel = coloured;
  // Its region may lie elsewhere in another page: the texture coordinates follow.
  RebuildInstanceVertices(instance);
}

void CKissCnfDoc::FindAmbiguousCels(LoadProgress& progress) {
  progress.Stage("Checking Cel Ambiguity...", 0);
  std::unordered_map<std::string, int> uses;
  for (const auto& instance : model_.instances()) {
    if (instance->cel) ++uses[FoldNameCase(instance->cel->file_name, model_.text_encoding)];
  }
  for (const auto& instance : model_.instances()) {
    if (!instance->cel || uses[FoldNameCase(instance->cel->file_name, model_.text_encoding)] < 2) {
      continue;
    }
    model_.FindOrCreateAmbiguous(instance->cel->file_name)->AddInstance(instance.get());
  }
}

Status CKissCnfDoc::PrepareScript(LoadProgress& progress) {
  if (!script_) return Status::Ok();
  if (Status registered = script_->Register(model_); !registered.ok()) return registered;
  PrepareExternalFiles(model_, *files_, host_, progress);
  progress.Stage("Interpreting FKiSS...", 0);
  return script_->Interpret(model_, host_);
}

void CKissCnfDoc::DecideTextEncoding() {
  // Short strings of one doll decode alike, however each would be guessed
  // alone: the decision takes the whole CNF and its archive's member names.
  std::string text;
  for (const std::string& line : model_.cnf_lines) {
    text += line;
    text += '\n';
  }
  if (archive_) text += UnmarkedMemberNames(members_);
  model_.SetTextEncoding(GuessTextEncoding(text), settings_.text_encoding_choice());
  if (files_) files_->SetNameEncoding(model_.text_encoding);
}

std::string CKissCnfDoc::ShownTitle() const {
  if (!archive_) return ShownPath(title_);
  std::string shown = ShownPath(archive_name_);
  if (title_.size() > archive_name_.size()) shown += " (" + ShownCnfName() + ")";
  return shown;
}

std::string CKissCnfDoc::ShownMember(std::string_view name, bool utf8_name) const {
  return utf8_name ? DecodeText(name, TextEncoding::kUtf8) : Shown(name);
}

std::string CKissCnfDoc::ShownCnfName() const {
  return archive_ ? ShownMember(cnf_name_, cnf_utf8_name_) : ShownPath(cnf_name_);
}

std::string CKissCnfDoc::ShownMemberName(std::string_view name, bool utf8_name) const {
  return DecodeMemberName(name, utf8_name,
                          EffectiveEncoding(settings_.text_encoding_choice(), member_encoding_));
}

void CKissCnfDoc::AdoptSavedCnf(const std::string& path) {
  path_ = path;
  cnf_path_ = path;
  cnf_name_ = std::string(FileNamePart(path));
  title_ = cnf_name_;
}

std::string CKissCnfDoc::ReadFailureText(std::string_view name, const Status& failure) {
  return files_->Find(name) ? files_->UnreadableText(name, failure, false)
                            : files_->NotFoundText(name);
}

FolderDollFiles& CKissCnfDoc::FolderFiles() { return static_cast<FolderDollFiles&>(*files_); }

Result<std::string> CKissCnfDoc::DocumentFilePath(size_t index) {
  if (index >= document_files_.size() || !documents_source_) {
    return Status::Error("There is no such documentation file.");
  }
  const DocumentFile& file = document_files_[index];
  if (document_copies_.size() < document_files_.size()) {
    document_copies_.resize(document_files_.size());
  }
  std::string& copy = document_copies_[index];
  if (!copy.empty()) return copy;
  Result<std::vector<uint8_t>> bytes = documents_source_->Read(file.full_name);
  if (!bytes.ok()) return Status::Error(FormatMessage(kMsgUnableToExtract, Shown(file.name)));
  Result<std::string> written = WriteTempCopy(host_, *bytes, ExtensionPart(file.name));
  if (!written.ok()) return written.status();
  copy = *written;
  return copy;
}

void CKissCnfDoc::DeleteDocumentTempFiles() {
  for (const std::string& copy : document_copies_) {
    if (!copy.empty()) DeleteTempFile(host_.Files(), copy);
  }
  document_copies_.clear();
  if (temp_cnf_) DeleteTempFile(host_.Files(), cnf_path_);
  temp_cnf_ = false;
  for (ExternalFile& file : model_.external_files) {
    if (file.temporary) DeleteTempFile(host_.Files(), file.path);
    file.temporary = false;
  }
  model_.external_files.clear();
}

void CKissCnfDoc::FreeRecords(LoadProgress* progress, bool keep_present_cels) {
  const std::string suffix = ShownTitle() + "...";
  const int counts[] = {static_cast<int>(model_.cels().size()),
                        0,  // quads live with their instances
                        static_cast<int>(model_.instances().size()),
                        static_cast<int>(model_.objects().size()),
                        static_cast<int>(model_.groups().size()),
                        0,
                        0,
                        static_cast<int>(model_.palettes().size())};
  static constexpr const char* kStages[] = {
      "Freeing cel memory used by ",      "Freeing chunk memory used by ",
      "Freeing instance memory used by ", "Freeing object memory used by ",
      "Freeing group memory used by ",    "Freeing KCF memory used by ",
      "Freeing FKiSS memory used by ",    "Freeing palette memory used by "};
  int total = 0;
  for (const int c : counts) total += c;
  if (progress) progress->Stage(std::string(kStages[0]) + suffix, total);
  int done = 0;
  for (size_t i = 0; i < std::size(kStages); ++i) {
    if (progress) {
      if (i > 0) progress->host().ProgressStatus(std::string(kStages[i]) + suffix);
      done += counts[i];
      progress->host().ProgressPosition(done);
    }
  }
  value_pools_.reset();
  if (script_) script_->Clear();
  if (keep_present_cels) {
    // The cels that go give their texture regions back, so loading again
    // does not pile up texture memory.
    for (const auto& cel : model_.cels()) {
      if (cel->is_clone() || !cel->present) ReleaseCelTexture(*cel, textures_);
    }
    model_.ClearKeepingCels([](const KissCel& cel) { return cel.present; });
  } else {
    textures_.Release();
    device_palettes_.Release(device_);
    model_.Clear();
  }
  indexed_instances_ = 0;
  truecolor_instances_ = 0;
  quad_count_ = 0;
}

void CKissCnfDoc::PrepareForExpansion() {
  documents_source_.reset();
  LoadProgress progress(host_);
  progress.Show("Preparing " + ShownTitle() + " for expansion...");
  DeleteDocumentTempFiles();
  FreeRecords(&progress, true);
}

void CKissCnfDoc::Close() {
  std::unique_ptr<LoadProgress> progress;
  if (settings_.closing_progress) {
    progress = std::make_unique<LoadProgress>(host_);
    progress->Show("Closing " + ShownTitle() + "...");
  }
  DeleteDocumentTempFiles();
  document_files_.clear();
  documents_source_.reset();
  model_.report.Clear();
  model_.cnf_lines.clear();
  model_.cnf_raw_lines.clear();
  FreeRecords(progress.get(), false);
}

}  // namespace luma
