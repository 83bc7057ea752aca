#ifndef LUMA_CORE_MODEL_DOLL_MODEL_H_
#define LUMA_CORE_MODEL_DOLL_MODEL_H_

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/host/text_encoding.h"
#include "core/model/cel_instance.h"
#include "core/model/cel_set.h"
#include "core/model/cnf_lines.h"
#include "core/model/doll_set.h"
#include "core/model/error_report.h"
#include "core/model/external_file.h"
#include "core/model/fkiss_line.h"
#include "core/model/hint_settings.h"
#include "core/model/kiss_cel.h"
#include "core/model/kiss_object.h"
#include "core/model/kiss_palette.h"

namespace luma {

struct PlayfieldSize {
  int width = 448;
  int height = 320;
  friend bool operator==(const PlayfieldSize&, const PlayfieldSize&) = default;
};

// The four opaque colours the view takes from the first KCF for one palette group.
struct GroupColors {
  uint32_t background = 0xff000000;
  uint32_t border = 0xff000000;
  uint32_t border_light = 0xff000000;
  uint32_t border_dark = 0xff000000;
};

// Cels read from a file, by depth (clones not counted).
struct CelCounts {
  int color16 = 0;
  int color256 = 0;
  int truecolor = 0;
  int total() const { return color16 + color256 + truecolor; }
};

// KCF files read, by the colours they hold.
struct KcfCounts {
  int color16 = 0;   // at most 16 colours
  int color256 = 0;  // more than 16 colours
  int total() const { return color16 + color256; }
};

// One loaded doll: everything its CNF declares. The lists own their records;
// records link to each other by pointer, which stays valid until the record
// is removed. Cels are kept sorted by (file name byte-wise, palette), objects
// by number, groups and ambiguous-cel entries by name ignoring ASCII case
// (as FoldNameCase folds it in the doll's text encoding).
class DollModel {
 public:
  DollModel();
  DollModel(const DollModel&) = delete;
  DollModel& operator=(const DollModel&) = delete;

  // --- Lists ---------------------------------------------------------------
  const std::vector<std::unique_ptr<KissCel>>& cels() const { return cels_; }
  const std::vector<std::unique_ptr<CelInstance>>& instances() const { return instances_; }
  const std::vector<std::unique_ptr<KissObject>>& objects() const { return objects_; }
  const std::vector<std::unique_ptr<CelSet>>& groups() const { return groups_; }
  const std::vector<std::unique_ptr<CelSet>>& ambiguous_cels() const { return ambiguous_; }
  const std::vector<std::unique_ptr<KissPalette>>& palettes() const { return palettes_; }

  // The cel of (file name, palette), made and inserted at its sorted place
  // when missing. A new cel whose file name (ignoring case) already has an
  // entry becomes a clone of the first entry of that name.
  KissCel* RegisterCel(std::string_view file_name, int palette);
  KissCel* FindCel(std::string_view file_name, int palette) const;

  // The object of that number; with `create` a missing one is made.
  KissObject* FindObject(int number, bool create);

  CelSet* FindGroup(std::string_view name) const;
  CelSet* FindOrCreateGroup(std::string_view name);
  CelSet* FindAmbiguous(std::string_view file_name) const;
  CelSet* FindOrCreateAmbiguous(std::string_view file_name);

  // Appends a cel instance in CNF order; the caller links it to cel and object.
  CelInstance* AddInstance();
  // Removes every instance `remove` accepts from the list, its object and
  // every CelSet, and frees it; one pass over the lists.
  template <typename Remove>
  void RemoveInstances(Remove remove);

  // Palettes by name (linear, ignoring case); creating gives default colours.
  KissPalette* FindPalette(std::string_view name) const;
  KissPalette* FindOrCreatePalette(std::string_view name);
  // The palette of a palette line, or nullptr before palettes are read.
  KissPalette* PaletteOfLine(int line) const;

  // Copies the CNF values back over the live ones: instances' mapped, ghost,
  // transparency and palette; objects' fix and positions; sets' palette
  // groups. An instance whose palette changes is linked to the cel of its
  // new palette (palette 0 with paletted textures). Returns the cels whose
  // colours have to be applied again.
  std::vector<KissCel*> Reset(bool paletted_textures);

  // Frees every cel `remove` accepts; no instance and no clone may refer to
  // one of them any more.
  template <typename Remove>
  void RemoveCels(Remove remove);

  // Frees every list and sets every value back to that of a new document.
  void Clear();
  // Frees every record except the cels `keep` accepts (clones never stay) and
  // sets the document values back, ready for another CNF that finds the
  // kept cels again by name.
  template <typename Keep>
  void ClearKeepingCels(Keep keep);

  // The view's colours per palette group from the first palette line's
  // palette: colour 0 as background, the border colour and its lightened
  // and darkened forms. A border index outside the table gives black.
  void ComputeGroupColors();

  // The external file of that name (ignoring case); with `create` a missing
  // one is appended. Returns its index, or -1.
  int FindExternalFile(std::string_view name, bool create);

  // --- Document values (see the CNF format) --------------------------------
  // The encoding of the doll's text, decided once per load from all of its
  // CNF's bytes (never kAutomatic), and the one its text is read in: the
  // user's choice, or the decided one. Set before the CNF is parsed; names
  // compared ignoring case fold by `text_encoding`.
  TextEncoding detected_encoding = TextEncoding::kWindows1252;
  TextEncoding text_encoding = TextEncoding::kWindows1252;
  void SetTextEncoding(TextEncoding detected, TextEncoding chosen);
  // The doll's bytes as UTF-8, for showing.
  std::string Shown(std::string_view bytes) const { return DecodeText(bytes, text_encoding); }

  CnfLines cnf_lines;
  // Each of `cnf_lines` as the file held it, line ending included (see
  // CnfSourceLines); empty for a doll whose CNF was not read from a file.
  std::vector<std::string> cnf_raw_lines;
  bool cnf_lone_cr_ends_lines = false;  // as CnfSourceLines::lone_cr_ends_lines
  std::vector<FkissLine> fkiss_lines;   // handed to the FKiSS parser after the cels are read
  std::vector<ExternalFile> external_files;
  std::vector<std::string> palette_file_names;  // from % lines, in CNF order
  std::vector<int> palette_line_index;          // per palette line, index into palettes()
  std::array<DollSet, kSetCount> sets{};
  PlayfieldSize playfield;
  PlayfieldSize cnf_playfield;
  PlayfieldSize view_playfield;
  int border_color = 0;
  int cnf_border_color = 0;
  std::array<GroupColors, kPaletteGroupCount> group_colors{};
  int palette_group_count = 0;
  HintSettings hints;
  bool ckiss = false;             // some 32-bit cel is present
  bool enhanced_palette = false;  // the KCFs together hold more than 256 colours
  int fkiss_level = -1;           // 0 = 1, 1 = 1b, 2 = 2, 3 = 2.1, 4 = 3, 5 = 4; -1 none
  CelCounts cel_counts;
  KcfCounts kcf_counts;
  ErrorReport report;

 private:
  void RebuildBaseIndex();

  std::vector<std::unique_ptr<KissCel>> cels_;
  std::vector<std::unique_ptr<CelInstance>> instances_;
  std::vector<std::unique_ptr<KissObject>> objects_;
  std::vector<std::unique_ptr<CelSet>> groups_;
  std::vector<std::unique_ptr<CelSet>> ambiguous_;
  std::vector<std::unique_ptr<KissPalette>> palettes_;
  void ClearAllButCels();

  // Lower-cased file name -> the first cel of that name, the base of its clones.
  std::unordered_map<std::string, KissCel*> base_cels_;
};

template <typename Remove>
void DollModel::RemoveInstances(Remove remove) {
  std::vector<CelInstance*> gone;
  for (const auto& instance : instances_) {
    if (remove(*instance)) gone.push_back(instance.get());
  }
  if (gone.empty()) return;
  std::sort(gone.begin(), gone.end());
  auto is_gone = [&gone](const CelInstance* i) {
    return std::binary_search(gone.begin(), gone.end(), i);
  };
  for (CelInstance* instance : gone) {
    if (instance->object) std::erase_if(instance->object->cels, is_gone);
    for (CelSet* set : instance->cel_sets) {
      std::erase_if(set->instances, is_gone);
      for (auto& members : set->by_set) std::erase_if(members, is_gone);
    }
  }
  std::erase_if(instances_,
                [&](const std::unique_ptr<CelInstance>& i) { return is_gone(i.get()); });
}

template <typename Remove>
void DollModel::RemoveCels(Remove remove) {
  std::erase_if(cels_, [&](const std::unique_ptr<KissCel>& cel) { return remove(*cel); });
  RebuildBaseIndex();
}

template <typename Keep>
void DollModel::ClearKeepingCels(Keep keep) {
  std::erase_if(
      cels_, [&](const std::unique_ptr<KissCel>& cel) { return cel->is_clone() || !keep(*cel); });
  RebuildBaseIndex();
  ClearAllButCels();
}

}  // namespace luma

#endif  // LUMA_CORE_MODEL_DOLL_MODEL_H_
