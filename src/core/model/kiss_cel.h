#ifndef LUMA_CORE_MODEL_KISS_CEL_H_
#define LUMA_CORE_MODEL_KISS_CEL_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/model/kiss_palette.h"

namespace luma {

// How a cel file was stored.
enum class CelKind : int { kUnknown = 0, kHeaderless = 1, kHeader = 2 };

class Texture;

// The part of a cel whose pixels are not transparent: left, top and extents
// (right and bottom exclusive, so a single visible pixel has extents 1 x 1).
// A cel without any visible pixel has the empty box: all four zero.
struct VisibleBox {
  uint16_t left = 0;
  uint16_t top = 0;
  uint16_t width = 0;   // right minus left
  uint16_t height = 0;  // bottom minus top

  bool empty() const { return width == 0 || height == 0; }
};

// One cel file as used with one palette file. A cel registered for a file
// that already has an entry is a clone: `base` points at the first entry of
// that file (compared case-insensitively), whose pixels it shares.
struct KissCel {
  std::string file_name;  // as written in the CNF
  std::string full_path;  // disk: the CNF's directory plus the name; archive: the member name
  uint32_t time_stamp = 0;
  CelKind kind = CelKind::kUnknown;
  uint16_t width = 0;
  uint16_t height = 0;
  uint16_t x_offset = 0;
  uint16_t y_offset = 0;
  uint16_t depth = 0;    // 16, 256, or 0 for 32-bit direct colour
  uint16_t palette = 0;  // palette line the cel was registered with
  KissCel* base = nullptr;
  VisibleBox visible;
  bool present = false;  // the file was found and decoded

  // Where decoding put the image on the graphics device: a region of a page
  // of the document's TexturePool (the pool owns the texture).
  Texture* texture = nullptr;
  uint16_t texture_x = 0;  // region origin in texels
  uint16_t texture_y = 0;
  uint16_t texture_width = 0;  // size of the whole texture
  uint16_t texture_height = 0;
  bool texture_shared = false;  // the region lies in a page made for an earlier cel
  // The palette indices, width x height, when palettes are emulated (the
  // texture then holds colours). Clones share their base's buffer.
  std::shared_ptr<const std::vector<uint8_t>> index_buffer;
  // The colour table last written into the texture under emulation.
  std::optional<ColorTable> last_table;

  bool is_clone() const { return base != nullptr; }
  bool indexed() const { return depth != 0; }
};

// The clone relation is a link, not a subtype: a CloneCel is a KissCel with a base.
using CloneCel = KissCel;

}  // namespace luma

#endif  // LUMA_CORE_MODEL_KISS_CEL_H_
