#ifndef LUMA_CORE_VIEW_PALETTE_EDITOR_H_
#define LUMA_CORE_VIEW_PALETTE_EDITOR_H_

#include <functional>
#include <string>
#include <vector>

#include "core/model/kiss_palette.h"
#include "core/view/kiss_cnf_view.h"

// The KCF palette editor of one doll view: colours are edited in working
// copies of the doll's palettes and reach the doll only when applied, so a
// closed editor leaves the doll as it was last applied.
namespace luma {

// The colour grid: 4 x 4 cells for a 16-colour palette, 16 x 16 otherwise,
// each cell the client size divided by the columns, rounded up.
struct ColorGridLayout {
  int columns = 16;
  int cell_width = 1;
  int cell_height = 1;
};
ColorGridLayout ColorGridFor(int colors, int client_width, int client_height);
// The colour index under client point (x, y).
int ColorGridIndexAt(const ColorGridLayout& grid, int x, int y);
// The side of the grid control in `available` pixels: the largest multiple
// of 16 that fits with 6 pixels of frame, plus that frame.
int ColorGridControlSide(int available);

// The 10-group message of "Append Color Groups from Other KCF" and its
// question when only some of the new groups fit.
std::string FullPaletteText(const std::string& kcf_name);
std::string PartialAppendText(const std::string& new_name, int new_groups,
                              const std::string& kcf_name, int groups);

class PaletteEditor {
 public:
  explicit PaletteEditor(CKissCnfView& view);
  CKissCnfView& view() const { return view_; }
  PaletteEditor(const PaletteEditor&) = delete;
  PaletteEditor& operator=(const PaletteEditor&) = delete;

  // Takes a working and a reference copy of every palette of the doll and
  // selects the first one, its group 0 and colour 0. Modified marks survive
  // while the doll keeps the same palettes (changes applied before the
  // editor was last closed are still unsaved).
  void Open();
  // Drops unapplied edits: the working copies become the doll's palettes.
  void Close();

  int kcf_count() const { return static_cast<int>(working_.size()); }
  std::vector<std::string> KcfNames() const;
  int current_kcf() const { return kcf_; }
  void SelectKcf(int index);

  // "Groups:" of the current palette (1..10) and "This Group:".
  int group_count() const;
  void SetGroupCount(int count);
  int current_group() const { return group_; }
  void SelectGroup(int group);

  // 16 or 256: the colours the grid shows and Save writes. A palette that
  // was never read (missing file) offers all 256 entries it holds.
  int colors() const;
  // Colour `index` of the current group in the working copy (ARGB).
  uint32_t ColorAt(int index) const;

  int current_index() const { return index_; }
  // Clamps to the palette's colours and takes the colour's red, green, blue
  // and brightness (the largest of the three) as the starting values.
  void SelectColor(int index);
  int red() const { return red_; }
  int green() const { return green_; }
  int blue() const { return blue_; }
  int brightness() const { return brightness_; }
  // A value outside 0..255 is refused (false) and nothing changes.
  bool SetRed(int value);
  bool SetGreen(int value);
  bool SetBlue(int value);
  // Moves every channel by the same amount as the brightness, from the
  // values the colour had when brightness editing began; none below 0.
  bool SetBrightness(int value);

  // The colour differs from the reference copy.
  bool CanResetColor() const;
  void ResetColor();
  void ResetAllColors();

  bool apply_immediately() const { return apply_immediately_; }
  void set_apply_immediately(bool on) { apply_immediately_ = on; }

  // Copies the working palettes into the doll and shows them: device
  // palettes, or the cels' texels rewritten; the doll's palette group
  // count; background and border colours; a redraw.
  void Apply();

  // Writes the current palette as a 24-bit KCF over its file, then applies
  // it and clears its mark. A palette without a file (an archived doll's)
  // is saved where `choose_path(proposed name)` says; an empty answer
  // cancels. A failed write is reported naming the file, the old file stays
  // whole and the mark stays.
  using PathChooser = std::function<std::string(const std::string& proposed)>;
  bool Save(const PathChooser& choose_path = {});
  // Saves every marked palette (Build LZH Archive); false when one failed
  // or was cancelled.
  bool SaveModified(const PathChooser& choose_path = {});
  bool modified(int kcf) const;
  bool AnyModified() const;

  // Appends the groups of another KCF after the current palette's, up to
  // ten, asking first when not all fit; `choose_file` gives its path (empty:
  // cancelled). The first new group becomes current. False when nothing
  // was appended.
  bool AppendGroups(const std::function<std::string()>& choose_file);

 private:
  struct Entry {
    KissPalette working;
    KissPalette reference;
    bool modified = false;
  };

  KissPalette& palette() { return working_[static_cast<size_t>(kcf_)].working; }
  const KissPalette& palette() const { return working_[static_cast<size_t>(kcf_)].working; }
  bool StoreColor(int red, int green, int blue);
  void TakeStartingValues();
  void Changed();
  bool SaveEntry(size_t kcf, const PathChooser& choose_path);

  CKissCnfView& view_;
  std::vector<Entry> working_;
  int kcf_ = 0;
  int group_ = 0;
  int index_ = 0;
  int red_ = 0, green_ = 0, blue_ = 0, brightness_ = 0;
  // The colour when brightness editing began.
  int start_red_ = 0, start_green_ = 0, start_blue_ = 0, start_brightness_ = 0;
  bool apply_immediately_ = false;
};

}  // namespace luma

#endif  // LUMA_CORE_VIEW_PALETTE_EDITOR_H_
