// Commands on the shown doll: bounds, positions, fix values, reset, cel
// export, documentation, pause, and the flashes that locate objects.
#include <algorithm>

#include "core/fkiss/bounding.h"
#include "core/host/text.h"
#include "core/render/cel_export.h"
#include "core/render/device_palettes.h"
#include "core/render/instance_geometry.h"
#include "core/view/cel_info.h"
#include "core/view/documentation.h"
#include "core/view/kiss_cnf_view.h"

namespace luma {
namespace {

constexpr uint32_t kViolatorFlashMs = 200;
constexpr uint32_t kLocateFlashMs = 150;
constexpr uint32_t kFindFkissFlashMs = 200;

}  // namespace

// --- Bounds -----------------------------------------------------------------------------

bool CKissCnfView::BoundsLocked() const {
  return doc_.is_archive() && doc_.model().hints.bounds_hint;
}

bool CKissCnfView::SetBoundsMode(BoundsMode mode) {
  if (BoundsLocked()) return false;
  doc_.model().hints.bounds = mode;
  front().BoundsModeChanged(mode);
  return true;
}

bool CKissCnfView::CycleBoundsMode() {
  const BoundsMode next = bounds_mode() == BoundsMode::kNone
                              ? BoundsMode::kAll
                              : static_cast<BoundsMode>(static_cast<int>(bounds_mode()) + 1);
  return SetBoundsMode(next);
}

int CKissCnfView::PatrolBounds() {
  DollModel& doll = doc_.model();
  const BoundingKind kind = ScriptBoundingKind(doll.hints.bounds);
  const int pw = doll.playfield.width, ph = doll.playfield.height;
  int moved = 0;
  for (const auto& object : doll.objects()) {
    if (!ObjectInSet(*object, current_set_)) continue;
    const ObjectExtent extent = MeasureObject(*object, current_set_, kind);
    const Position at = object->position[current_set_];
    Position to = at;
    if (int64_t{to.x} + extent.width > int64_t{pw} + 1) to.x = pw - extent.width;
    if (to.x < 0) to.x = 0;
    if (int64_t{to.y} + extent.height > int64_t{ph} + 1) to.y = ph - extent.height;
    if (to.y < 0) to.y = 0;
    if (to == at) continue;
    MoveObject(object.get(), to.x, to.y);
    ++moved;
  }
  if (moved > 0) Redraw();
  return moved;
}

int CKissCnfView::FindBorderViolators() {
  const DollModel& doll = doc_.model();
  const BoundingKind kind = ScriptBoundingKind(doll.hints.bounds);
  std::vector<const CelInstance*> cels;
  int count = 0;
  for (const auto& object : doll.objects()) {
    if (!ObjectInSet(*object, current_set_) ||
        !ObjectOutsidePlayfield(*object, current_set_, doll.playfield, kind)) {
      continue;
    }
    ++count;
    const std::vector<const CelInstance*> own = CelsInSet(*object);
    cels.insert(cels.end(), own.begin(), own.end());
  }
  if (count > 0) {
    Flash(cels, kViolatorFlashMs);
  } else {
    front().ShowStatus("No objects outside the playfield");
  }
  return count;
}

// --- Context menu and positions -------------------------------------------------------------

std::vector<ContextMenuEntry> CKissCnfView::ContextMenu() const {
  if (!last_clicked_ || !last_clicked_->object) return {};
  return BuildContextMenu(last_clicked_->object->fix, doc_.is_archive(), settings_.cheat);
}

bool CKissCnfView::RunContextCommand(ContextCommand command) {
  if (!last_clicked_ || !last_clicked_->object) return false;
  switch (command) {
    case ContextCommand::kUnfix:
      Unfix();
      return true;
    case ContextCommand::kRefix:
      Refix();
      return true;
    case ContextCommand::kResetPosition:
      ResetPosition();
      return true;
    case ContextCommand::kCopyPosition:
      CopyPosition();
      return true;
    case ContextCommand::kExportCel:
      return ExportCelToBitmap();
    default:
      return false;
  }
}

void CKissCnfView::Unfix() {
  if (!last_clicked_ || !last_clicked_->object) return;
  last_clicked_->object->fix = 0;
  ShowCelInfo(last_clicked_);
}

void CKissCnfView::Refix() {
  if (!last_clicked_ || !last_clicked_->object) return;
  last_clicked_->object->fix = last_clicked_->object->cnf_fix;
  ShowCelInfo(last_clicked_);
}

void CKissCnfView::ResetPosition() {
  if (!last_clicked_ || !last_clicked_->object) return;
  KissObject& object = *last_clicked_->object;
  object.position[current_set_] = object.initial_position[current_set_];
  Redraw();
}

void CKissCnfView::ResetAllPositions() {
  for (const auto& object : doc_.model().objects()) {
    if (ObjectInSet(*object, current_set_)) {
      object->position[current_set_] = object->initial_position[current_set_];
    }
  }
  Redraw();
}

namespace {

// Copies the object's place in `from` to every other set it has a cel in;
// returns how many sets took it.
int CopyToOtherSets(KissObject& object, int from) {
  int copies = 0;
  for (int set = 0; set < kSetCount; ++set) {
    if (set == from || !ObjectInSet(object, set)) continue;
    object.position[set] = object.position[from];
    ++copies;
  }
  return copies;
}

}  // namespace

void CKissCnfView::CopyPosition() {
  if (!last_clicked_ || !last_clicked_->object) return;
  KissObject& object = *last_clicked_->object;
  CopyToOtherSets(object, current_set_);
  doc_.host().ShowMessage(
      "Copy Position", StringPrintf("Position of object #%d copied to other sets", object.number),
      MessageIcon::kInformation);
}

int CKissCnfView::CopyAllPositions() {
  int copies = 0;
  for (const auto& object : doc_.model().objects()) {
    if (ObjectInSet(*object, current_set_)) copies += CopyToOtherSets(*object, current_set_);
  }
  doc_.host().ShowMessage("Copy All Positions",
                          StringPrintf("%d positions copied to other sets", copies),
                          MessageIcon::kInformation);
  return copies;
}

// --- Reset and export ---------------------------------------------------------------------

bool CKissCnfView::ResetDoll() {
  if (doc_.host().Ask("Reset", "Do you wish to reset?", Buttons::kYesNo, MessageIcon::kQuestion) !=
      Answer::kYes) {
    return false;
  }
  DollModel& doll = doc_.model();
  EndDrag();
  // The renderer keeps transparency with the vertices: give it the CNF
  // values the model is about to take back.
  for (const auto& cel : doll.instances()) SetInstanceTransparency(*cel, cel->cnf_transparency);
  doll.Reset(doc_.paletted_textures());
  // Cels a script gave another KCF take back their own colours.
  for (const auto& cel : doll.instances()) doc_.UseInstancePalette(*cel, palette_group());
  if (FkissScript* script = doc_.fkiss()) script->DetachAll();
  StartDoll(run_script_);
  return true;
}

bool CKissCnfView::ExportCelToBitmap() {
  if (!last_clicked_) return false;
  UpdateTransform();
  RenderDevice& device = doc_.device();
  const int group = palette_group();
  if (!device.flags().paletted_textures) ApplyGroupColours(doc_.model(), group, false);
  const Result<bool> saved =
      ExportCelBitmap(device, *last_clicked_, group, doc_.model().text_encoding,
                      doc_.host().Files(), [this](const std::string& proposed) {
                        return front().AskSavePath("Export Cel to Bitmap", proposed, "bmp",
                                                   "BMP image (*.bmp)|*.bmp||");
                      });
  Redraw();
  if (!saved.ok()) {
    doc_.host().ShowMessage(kExportErrorCaption, saved.status().message(), MessageIcon::kError);
    return false;
  }
  return *saved;
}

// --- Documentation, pause, properties -----------------------------------------------------

std::vector<std::string> CKissCnfView::DocumentationEntries() const {
  std::vector<std::string> names;
  for (const DocumentFile& file : doc_.document_files()) {
    names.push_back(doc_.ShownMember(file.name, file.utf8_name));
  }
  return names;
}

bool CKissCnfView::OpenCnf() {
  if (doc_.cnf_path().empty()) return false;
  return front().OpenFile(doc_.cnf_path(), doc_.ShownCnfName(), true);
}

bool CKissCnfView::OpenDocumentation(int index) {
  if (index < 0 || static_cast<size_t>(index) >= doc_.document_files().size()) return false;
  const Result<std::string> path = doc_.DocumentFilePath(static_cast<size_t>(index));
  if (!path.ok()) {
    doc_.host().ShowMessage("", path.status().message(), MessageIcon::kWarning);
    return false;
  }
  const DocumentFile& file = doc_.document_files()[static_cast<size_t>(index)];
  return front().OpenFile(*path, doc_.ShownMember(file.name, file.utf8_name),
                          OpensInTextEditor(file.name));
}

void CKissCnfView::TogglePause() {
  if (runtime_) runtime_->TogglePause();
}

void CKissCnfView::ApplyCelProperties(CelInstance& cel, const CelProperties& properties) {
  cel.in_set[current_set_] = properties.in_current_set;
  cel.mapped = properties.mapped;
  cel.ghost = properties.ghost;
  SetInstanceTransparency(cel, properties.transparency);
  if (&cel == last_clicked_) ShowCelInfo(&cel);
  Redraw();
}

// --- Highlights and flashes ------------------------------------------------------------------

std::vector<const CelInstance*> CKissCnfView::CelsInSet(const KissObject& object) const {
  std::vector<const CelInstance*> cels;
  for (const CelInstance* cel : object.cels) {
    if (cel->in_set[current_set_] && cel->mapped) cels.push_back(cel);
  }
  return cels;
}

bool CKissCnfView::DrawHighlightFrame(const std::vector<const CelInstance*>& cels) {
  if (suspended_ || !chain_ || !chain_->BackBuffer()) return false;
  RenderDevice& device = doc_.device();
  if (renderer_.RenderToTarget(*chain_->BackBuffer(), CurrentScene(), transform_) !=
      DeviceResult::kOk) {
    return false;
  }
  bool drawn = false;
  if (device.BeginScene() == DeviceResult::kOk) {
    device.SetVertexFormat(VertexFormat::kPositionDiffuseTex1);
    for (const CelInstance* cel : cels) {
      if (!cel->in_set[current_set_] || !cel->mapped) continue;
      drawn |= DrawInstanceHighlighted(device, *cel, current_set_, CurrentScene().group(),
                                       transform_.ox, transform_.oy) == DeviceResult::kOk;
    }
    device.SetTexture(0, nullptr);
    device.SetStreamSource(nullptr, 0);
    device.EndScene();
  }
  chain_->Present();
  return drawn;
}

void CKissCnfView::Flash(const std::vector<const CelInstance*>& cels, uint32_t pause_ms) {
  if (suspended_ || !chain_) return;
  flash_ = FlashState{cels, pause_ms, 0};
  if (front().CallBackAfter(pause_ms)) {
    // The window paints each frame when it likes; the waits are its own.
    Redraw();
    return;
  }
  // Nobody to wait for: the frames go out one after the other.
  Host& host = doc_.host();
  for (int step = 0; step < 4; ++step) {
    flash_.step = step;
    DrawFrame();
    if (step < 3) host.Sleep(pause_ms);
  }
  flash_ = FlashState();
}

void CKissCnfView::AdvanceFlash() {
  if (flash_.step < 0) return;
  ++flash_.step;
  if (flash_.step >= 3) {
    flash_ = FlashState();
  } else {
    front().CallBackAfter(flash_.pause_ms);
  }
  Redraw();
}

bool CKissCnfView::LocateObject(int number) {
  KissObject* object = doc_.model().FindObject(number, false);
  if (!object) return false;
  const std::vector<const CelInstance*> cels = CelsInSet(*object);
  if (cels.empty()) {
    doc_.host().ShowMessage("Find Object or Cel",
                            StringPrintf("#%d is not present on this page.", number),
                            MessageIcon::kInformation);
    return false;
  }
  ShowCelInfo(cels.front());
  Flash(cels, kLocateFlashMs);
  return true;
}

bool CKissCnfView::LocateCel(CelInstance* cel) {
  if (!cel) return false;
  if (!cel->in_set[current_set_] || !cel->mapped) {
    doc_.host().ShowMessage("Find Object or Cel",
                            doc_.Shown(cel->cel ? cel->cel->file_name : std::string()) +
                                " is not present on this page.",
                            MessageIcon::kInformation);
    return false;
  }
  ShowCelInfo(cel);
  Flash({cel}, kLocateFlashMs);
  return true;
}

int CKissCnfView::FindFkiss() {
  const FkissScript* script = run_script_ ? doc_.fkiss() : nullptr;
  std::vector<const CelInstance*> cels;
  for (const auto& cel : doc_.model().instances()) {
    if (cel->in_set[current_set_] && cel->mapped &&
        CelHasFkiss(*cel, script, settings_.ignore_snap)) {
      cels.push_back(cel.get());
    }
  }
  if (!cels.empty()) {
    Flash(cels, kFindFkissFlashMs);
  } else {
    // Without a flash the command would seem to do nothing at all. Short
    // enough for the status bar beside its panes.
    front().ShowStatus(settings_.ignore_snap ? "No cels with FKiSS beyond snap-to"
                                             : "No cels with FKiSS events here");
  }
  return static_cast<int>(cels.size());
}

}  // namespace luma
