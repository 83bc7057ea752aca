#include "core/model/doll_model.h"

#include <algorithm>

#include "core/host/text.h"
#include "core/model/sorted_lookup.h"

namespace luma {
namespace {

int CompareBytes(std::string_view a, std::string_view b) {
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CompareCel(const KissCel& cel, std::string_view name, int palette) {
  const int c = CompareBytes(cel.file_name, name);
  if (c != 0) return c;
  return cel.palette < palette ? -1 : (cel.palette > palette ? 1 : 0);
}

SortedPosition FindCelSet(const std::vector<std::unique_ptr<CelSet>>& list, std::string_view name,
                          TextEncoding encoding) {
  return SortedFind(list, [name, encoding](const std::unique_ptr<CelSet>& s) {
    return CompareNames(s->name, name, encoding);
  });
}

CelSet* FindOrCreateCelSet(std::vector<std::unique_ptr<CelSet>>& list, std::string_view name,
                           TextEncoding encoding) {
  const SortedPosition at = FindCelSet(list, name, encoding);
  if (at.found) return list[at.index].get();
  auto set = std::make_unique<CelSet>();
  set->name = std::string(name);
  CelSet* raw = set.get();
  list.insert(list.begin() + static_cast<ptrdiff_t>(at.index), std::move(set));
  return raw;
}

}  // namespace

DollModel::DollModel() = default;

KissCel* DollModel::FindCel(std::string_view file_name, int palette) const {
  const SortedPosition at = SortedFind(
      cels_, [&](const std::unique_ptr<KissCel>& c) { return CompareCel(*c, file_name, palette); });
  return at.found ? cels_[at.index].get() : nullptr;
}

KissCel* DollModel::RegisterCel(std::string_view file_name, int palette) {
  const SortedPosition at = SortedFind(
      cels_, [&](const std::unique_ptr<KissCel>& c) { return CompareCel(*c, file_name, palette); });
  if (at.found) return cels_[at.index].get();
  auto cel = std::make_unique<KissCel>();
  cel->file_name = std::string(file_name);
  cel->palette = static_cast<uint16_t>(palette);
  KissCel* raw = cel.get();
  auto [base, fresh] = base_cels_.try_emplace(FoldNameCase(file_name, text_encoding), raw);
  if (!fresh) raw->base = base->second;
  cels_.insert(cels_.begin() + static_cast<ptrdiff_t>(at.index), std::move(cel));
  return raw;
}

KissObject* DollModel::FindObject(int number, bool create) {
  const SortedPosition at = SortedFind(objects_, [number](const std::unique_ptr<KissObject>& o) {
    return o->number < number ? -1 : (o->number > number ? 1 : 0);
  });
  if (at.found) return objects_[at.index].get();
  if (!create) return nullptr;
  auto object = std::make_unique<KissObject>();
  object->number = number;
  KissObject* raw = object.get();
  objects_.insert(objects_.begin() + static_cast<ptrdiff_t>(at.index), std::move(object));
  return raw;
}

CelSet* DollModel::FindGroup(std::string_view name) const {
  const SortedPosition at = FindCelSet(groups_, name, text_encoding);
  return at.found ? groups_[at.index].get() : nullptr;
}

CelSet* DollModel::FindOrCreateGroup(std::string_view name) {
  return FindOrCreateCelSet(groups_, name, text_encoding);
}

CelSet* DollModel::FindAmbiguous(std::string_view file_name) const {
  const SortedPosition at = FindCelSet(ambiguous_, file_name, text_encoding);
  return at.found ? ambiguous_[at.index].get() : nullptr;
}

CelSet* DollModel::FindOrCreateAmbiguous(std::string_view file_name) {
  return FindOrCreateCelSet(ambiguous_, file_name, text_encoding);
}

CelInstance* DollModel::AddInstance() {
  instances_.push_back(std::make_unique<CelInstance>());
  return instances_.back().get();
}

KissPalette* DollModel::FindPalette(std::string_view name) const {
  for (const auto& palette : palettes_) {
    if (NamesEqual(palette->name, name, text_encoding)) return palette.get();
  }
  return nullptr;
}

KissPalette* DollModel::FindOrCreatePalette(std::string_view name) {
  if (KissPalette* found = FindPalette(name)) return found;
  palettes_.push_back(std::make_unique<KissPalette>(std::string(name)));
  return palettes_.back().get();
}

KissPalette* DollModel::PaletteOfLine(int line) const {
  if (line < 0 || static_cast<size_t>(line) >= palette_line_index.size()) return nullptr;
  const int index = palette_line_index[static_cast<size_t>(line)];
  if (index < 0 || static_cast<size_t>(index) >= palettes_.size()) return nullptr;
  return palettes_[static_cast<size_t>(index)].get();
}

std::vector<KissCel*> DollModel::Reset(bool paletted_textures) {
  std::vector<KissCel*> recolor;
  for (const auto& instance : instances_) {
    instance->mapped = instance->cnf_mapped;
    instance->ghost = instance->cnf_ghost;
    instance->transparency = instance->cnf_transparency;
    const bool palette_changed = instance->palette != instance->cnf_palette;
    instance->palette = instance->cnf_palette;
    if (!palette_changed || paletted_textures || !instance->cel) continue;
    const KissCel* current = instance->cel;
    if (KissCel* cel = FindCel(current->file_name, instance->palette)) {
      instance->cel = cel;
      if (std::find(recolor.begin(), recolor.end(), cel) == recolor.end()) {
        recolor.push_back(cel);
      }
    }
  }
  for (const auto& object : objects_) {
    object->fix = object->cnf_fix;
    object->position = object->initial_position;
  }
  for (DollSet& set : sets) set.palette_group = set.cnf_palette_group;
  return recolor;
}

void DollModel::ComputeGroupColors() {
  const KissPalette* first = PaletteOfLine(0);
  if (!first) {
    group_colors = {};
    return;
  }
  auto channel = [](uint32_t argb, int shift, int delta) {
    const int v = static_cast<int>((argb >> shift) & 0xff) + delta;
    return static_cast<uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v)) << shift;
  };
  auto shifted = [&](uint32_t argb, int delta) {
    return 0xff000000u | channel(argb, 16, delta) | channel(argb, 8, delta) |
           channel(argb, 0, delta);
  };
  for (int g = 0; g < kPaletteGroupCount; ++g) {
    const ColorTable& table = first->groups[g];
    const uint32_t border = border_color >= 0 && border_color < kPaletteColorCount
                                ? (table[border_color] | 0xff000000u)
                                : 0xff000000u;
    group_colors[g].background = table[0] | 0xff000000u;
    group_colors[g].border = border;
    group_colors[g].border_light = shifted(border, 64);
    group_colors[g].border_dark = shifted(border, -64);
  }
}

int DollModel::FindExternalFile(std::string_view name, bool create) {
  for (size_t i = 0; i < external_files.size(); ++i) {
    if (NamesEqual(external_files[i].name, name, text_encoding)) return static_cast<int>(i);
  }
  if (!create) return -1;
  ExternalFile& file = external_files.emplace_back();
  file.name = std::string(name);
  return static_cast<int>(external_files.size()) - 1;
}

void DollModel::SetTextEncoding(TextEncoding detected, TextEncoding chosen) {
  detected_encoding = detected;
  const TextEncoding effective = EffectiveEncoding(chosen, detected);
  if (effective == text_encoding) return;
  text_encoding = effective;
  RebuildBaseIndex();  // cels kept from an earlier load
}

void DollModel::RebuildBaseIndex() {
  base_cels_.clear();
  for (const auto& cel : cels_) {
    if (!cel->base) base_cels_.emplace(FoldNameCase(cel->file_name, text_encoding), cel.get());
  }
}

void DollModel::Clear() {
  cels_.clear();
  base_cels_.clear();
  ClearAllButCels();
}

void DollModel::ClearAllButCels() {
  instances_.clear();
  objects_.clear();
  groups_.clear();
  ambiguous_.clear();
  palettes_.clear();
  cnf_lines.clear();
  cnf_raw_lines.clear();
  cnf_lone_cr_ends_lines = false;
  fkiss_lines.clear();
  external_files.clear();
  palette_file_names.clear();
  palette_line_index.clear();
  sets = {};
  playfield = cnf_playfield = view_playfield = PlayfieldSize();
  border_color = cnf_border_color = 0;
  group_colors = {};
  palette_group_count = 0;
  hints = HintSettings();
  ckiss = enhanced_palette = false;
  fkiss_level = -1;
  cel_counts = CelCounts();
  kcf_counts = KcfCounts();
  report.Clear();
}

}  // namespace luma
