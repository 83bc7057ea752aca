#include "core/view/palette_editor.h"

#include <algorithm>

#include "core/gfx/argb.h"
#include "core/host/text.h"
#include "core/host/text_encoding.h"
#include "core/model/kcf_codec.h"
#include "core/render/device_palettes.h"

namespace luma {
namespace {

constexpr char kEditorCaption[] = "KCF Palette Editor";
constexpr int kGridFrame = 6;

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

bool SamePalettes(const std::vector<std::unique_ptr<KissPalette>>& doll,
                  const std::vector<KissPalette>& names) {
  if (doll.size() != names.size()) return false;
  for (size_t i = 0; i < names.size(); ++i) {
    if (!EqualsIgnoreCase(doll[i]->name, names[i].name)) return false;
  }
  return true;
}

}  // namespace

ColorGridLayout ColorGridFor(int colors, int client_width, int client_height) {
  ColorGridLayout grid;
  grid.columns = colors > 16 ? 16 : 4;
  grid.cell_width = std::max(1, CeilDiv(client_width, grid.columns));
  grid.cell_height = std::max(1, CeilDiv(client_height, grid.columns));
  return grid;
}

int ColorGridIndexAt(const ColorGridLayout& grid, int x, int y) {
  const int column = std::clamp(x / grid.cell_width, 0, grid.columns - 1);
  const int row = std::clamp(y / grid.cell_height, 0, grid.columns - 1);
  return row * grid.columns + column;
}

int ColorGridControlSide(int available) {
  return std::max(0, (available - kGridFrame) / 16) * 16 + kGridFrame;
}

std::string FullPaletteText(const std::string& kcf_name) {
  return kcf_name +
         " already has 10 palette groups.\nYou must reduce the number of palette "
         "groups in " +
         kcf_name + " before you can appened more from another KCF.";
}

std::string PartialAppendText(const std::string& new_name, int new_groups,
                              const std::string& kcf_name, int groups) {
  return StringPrintf(
      "New KCF palette %s has %d palette groups but KCF palette %s already has %d palette "
      "groups.\nOnly %d new palette groups will be appended. Proceed?",
      new_name.c_str(), new_groups, kcf_name.c_str(), groups, kPaletteGroupCount - groups);
}

PaletteEditor::PaletteEditor(CKissCnfView& view) : view_(view) {}

void PaletteEditor::Open() {
  const auto& palettes = view_.doc().model().palettes();
  std::vector<KissPalette> previous;
  for (const Entry& entry : working_) previous.push_back(entry.working);
  const bool same = SamePalettes(palettes, previous);
  std::vector<Entry> entries;
  for (size_t i = 0; i < palettes.size(); ++i) {
    entries.push_back({*palettes[i], *palettes[i], same && working_[i].modified});
  }
  working_ = std::move(entries);
  kcf_ = 0;
  group_ = 0;
  SelectColor(0);
}

void PaletteEditor::Close() {
  const auto& palettes = view_.doc().model().palettes();
  for (size_t i = 0; i < working_.size() && i < palettes.size(); ++i) {
    working_[i].working = *palettes[i];
  }
}

std::vector<std::string> PaletteEditor::KcfNames() const {
  std::vector<std::string> names;
  for (const Entry& entry : working_) names.push_back(entry.working.name);
  return names;
}

void PaletteEditor::SelectKcf(int index) {
  if (index < 0 || index >= kcf_count()) return;
  kcf_ = index;
  group_ = std::min(group_, group_count() - 1);
  SelectColor(index_);
}

int PaletteEditor::group_count() const {
  if (working_.empty()) return 1;
  return std::clamp(palette().group_count, 1, kPaletteGroupCount);
}

void PaletteEditor::SetGroupCount(int count) {
  if (working_.empty()) return;
  count = std::clamp(count, 1, kPaletteGroupCount);
  if (count == group_count()) return;
  palette().group_count = count;
  if (group_ >= count) SelectGroup(count - 1);
  // The count is written into the file, so it is an edit like a colour.
  Changed();
}

void PaletteEditor::SelectGroup(int group) {
  group_ = std::clamp(group, 0, group_count() - 1);
  SelectColor(index_);
}

int PaletteEditor::colors() const {
  if (working_.empty()) return 16;
  return palette().colors == 16 ? 16 : kPaletteColorCount;
}

uint32_t PaletteEditor::ColorAt(int index) const {
  if (working_.empty() || index < 0 || index >= kPaletteColorCount) return 0;
  return palette().groups[static_cast<size_t>(group_)][static_cast<size_t>(index)];
}

void PaletteEditor::SelectColor(int index) {
  index_ = std::clamp(index, 0, colors() - 1);
  const uint32_t c = ColorAt(index_);
  red_ = static_cast<int>(RedOf(c));
  green_ = static_cast<int>(GreenOf(c));
  blue_ = static_cast<int>(BlueOf(c));
  TakeStartingValues();
}

void PaletteEditor::TakeStartingValues() {
  brightness_ = std::max({red_, green_, blue_});
  start_red_ = red_;
  start_green_ = green_;
  start_blue_ = blue_;
  start_brightness_ = brightness_;
}

bool PaletteEditor::SetRed(int value) {
  if (value < 0 || value > 255) return false;
  // A channel edit starts brightness editing afresh from the new colour, so
  // a later brightness change keeps it.
  StoreColor(value, green_, blue_);
  TakeStartingValues();
  return true;
}

bool PaletteEditor::SetGreen(int value) {
  if (value < 0 || value > 255) return false;
  StoreColor(red_, value, blue_);
  TakeStartingValues();
  return true;
}

bool PaletteEditor::SetBlue(int value) {
  if (value < 0 || value > 255) return false;
  StoreColor(red_, green_, value);
  TakeStartingValues();
  return true;
}

bool PaletteEditor::SetBrightness(int value) {
  if (value < 0 || value > 255) return false;
  brightness_ = value;
  StoreColor(std::max(0, value + start_red_ - start_brightness_),
             std::max(0, value + start_green_ - start_brightness_),
             std::max(0, value + start_blue_ - start_brightness_));
  return true;
}

bool PaletteEditor::StoreColor(int red, int green, int blue) {
  red_ = red;
  green_ = green;
  blue_ = blue;
  if (working_.empty()) return false;
  uint32_t& entry = palette().groups[static_cast<size_t>(group_)][static_cast<size_t>(index_)];
  const uint32_t color =
      (entry & 0xFF000000u) | Argb(0, static_cast<uint32_t>(red), static_cast<uint32_t>(green),
                                   static_cast<uint32_t>(blue));
  if (color == entry) return false;
  entry = color;
  Changed();
  return true;
}

void PaletteEditor::Changed() {
  working_[static_cast<size_t>(kcf_)].modified = true;
  if (apply_immediately_) Apply();
}

bool PaletteEditor::CanResetColor() const {
  if (working_.empty()) return false;
  const Entry& entry = working_[static_cast<size_t>(kcf_)];
  const auto g = static_cast<size_t>(group_);
  const auto i = static_cast<size_t>(index_);
  return entry.working.groups[g][i] != entry.reference.groups[g][i];
}

void PaletteEditor::ResetColor() {
  if (!CanResetColor()) return;
  const Entry& entry = working_[static_cast<size_t>(kcf_)];
  const uint32_t c =
      entry.reference.groups[static_cast<size_t>(group_)][static_cast<size_t>(index_)];
  StoreColor(static_cast<int>(RedOf(c)), static_cast<int>(GreenOf(c)), static_cast<int>(BlueOf(c)));
  TakeStartingValues();
}

void PaletteEditor::ResetAllColors() {
  if (working_.empty()) return;
  Entry& entry = working_[static_cast<size_t>(kcf_)];
  entry.working = entry.reference;
  group_ = std::min(group_, group_count() - 1);
  SelectColor(index_);
  if (apply_immediately_) Apply();
}

void PaletteEditor::Apply() {
  CKissCnfDoc& doc = view_.doc();
  DollModel& doll = doc.model();
  const auto& palettes = doll.palettes();
  // A doll loaded again since the editor opened has palettes of its own.
  if (palettes.size() != working_.size()) return;
  for (size_t i = 0; i < working_.size(); ++i) *palettes[i] = working_[i].working;

  if (doc.paletted_textures()) {
    (void)doc.device_palettes().UploadDevicePalettes(doc.device(), doll);
  } else {
    ApplyGroupColours(doll, view_.palette_group(), true);
  }
  int most = 1;
  for (int index : doll.palette_line_index) {
    if (index >= 0 && index < static_cast<int>(palettes.size())) {
      most = std::max(most, palettes[static_cast<size_t>(index)]->group_count);
    }
  }
  if (!doll.palette_line_index.empty()) doll.palette_group_count = most;
  doll.ComputeGroupColors();
  view_.RedrawAll();
}

bool PaletteEditor::SaveEntry(size_t kcf, const PathChooser& choose_path) {
  Entry& entry = working_[kcf];
  std::string path = entry.working.full_path;
  if (path.empty()) {
    path = choose_path ? choose_path(entry.working.name) : std::string();
    if (path.empty()) return false;
  }
  const int colors = entry.working.colors == 16 ? 16 : kPaletteColorCount;
  const int groups = std::clamp(entry.working.group_count, 1, kPaletteGroupCount);
  const Status written = WriteKcf(view_.doc().host().Files(), path, entry.working, groups, colors);
  if (!written.ok()) {
    view_.doc().host().ShowMessage(
        "Error", "Unable to write to file " + view_.doc().ShownPath(path), MessageIcon::kError);
    return false;
  }
  entry.working.full_path = path;
  entry.reference.full_path = path;
  entry.modified = false;
  return true;
}

bool PaletteEditor::Save(const PathChooser& choose_path) {
  if (working_.empty() || !SaveEntry(static_cast<size_t>(kcf_), choose_path)) return false;
  Apply();
  return true;
}

bool PaletteEditor::SaveModified(const PathChooser& choose_path) {
  bool saved_all = true;
  bool saved_any = false;
  for (size_t i = 0; i < working_.size(); ++i) {
    if (!working_[i].modified) continue;
    if (SaveEntry(i, choose_path)) {
      saved_any = true;
    } else {
      saved_all = false;
    }
  }
  if (saved_any) Apply();
  return saved_all;
}

bool PaletteEditor::modified(int kcf) const {
  return kcf >= 0 && kcf < kcf_count() && working_[static_cast<size_t>(kcf)].modified;
}

bool PaletteEditor::AnyModified() const {
  return std::any_of(working_.begin(), working_.end(),
                     [](const Entry& entry) { return entry.modified; });
}

bool PaletteEditor::AppendGroups(const std::function<std::string()>& choose_file) {
  if (working_.empty()) return false;
  Host& host = view_.doc().host();
  const std::string name = palette().name;
  const int groups = group_count();
  if (groups >= kPaletteGroupCount) {
    host.ShowMessage(kEditorCaption, FullPaletteText(view_.doc().Shown(name)),
                     MessageIcon::kWarning);
    return false;
  }
  const std::string path = choose_file ? choose_file() : std::string();
  if (path.empty()) return false;
  KissPalette other;
  const Result<KcfFileContents> read = ReadKcfFile(host.Files(), path, other);
  if (!read.ok()) {
    host.ShowMessage("Error", read.status().message(), MessageIcon::kError);
    return false;
  }
  for (const std::string& problem : read->problems) {
    host.ShowMessage("Error", problem, MessageIcon::kError);
  }
  if (read->colors == 0) return false;
  const int new_groups = std::clamp(other.group_count, 1, kPaletteGroupCount);
  if (groups + new_groups > kPaletteGroupCount &&
      host.Ask(kEditorCaption,
               PartialAppendText(DecodePath(FileNamePart(path), TextEncoding::kAutomatic),
                                 new_groups, view_.doc().Shown(name), groups),
               Buttons::kYesNoCancel, MessageIcon::kQuestion) != Answer::kYes) {
    return false;
  }
  const int appended = std::min(new_groups, kPaletteGroupCount - groups);
  for (int g = 0; g < appended; ++g) {
    palette().groups[static_cast<size_t>(groups + g)] = other.groups[static_cast<size_t>(g)];
  }
  palette().group_count = groups + appended;
  group_ = groups;
  SelectColor(index_);
  Changed();
  return true;
}

}  // namespace luma
