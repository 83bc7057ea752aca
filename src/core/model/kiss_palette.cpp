#include "core/model/kiss_palette.h"

#include <utility>

namespace luma {

ColorTable KissPalette::DefaultTable() {
  ColorTable table;
  table[0] = 0;
  for (int i = 1; i < kPaletteColorCount; ++i) {
    table[i] = (i % 2) ? MakeArgb(255, 255, 255, 255) : MakeArgb(255, 127, 127, 127);
  }
  return table;
}

KissPalette::KissPalette() { groups.fill(DefaultTable()); }

KissPalette::KissPalette(std::string palette_name) : KissPalette() {
  name = std::move(palette_name);
}

}  // namespace luma
