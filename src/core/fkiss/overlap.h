#ifndef LUMA_CORE_FKISS_OVERLAP_H_
#define LUMA_CORE_FKISS_OVERLAP_H_

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "core/fkiss/fkiss_target.h"

namespace luma {

struct KissCel;

// The cels a target stands for: an object's cels, the one cel, or a cel set's.
// For a single cel the span points into `target`, which must outlive it.
std::span<CelInstance* const> TargetCels(const FkissTarget& target);
std::span<CelInstance* const> TargetCels(const FkissTarget&& target) = delete;

// Mapped and placed in `set`.
bool CelVisible(const CelInstance& cel, int set);
// Some cel of the target is visible in `set`; some cel is mapped.
bool TargetVisible(const FkissTarget& target, int set);
bool TargetMapped(const FkissTarget& target);

// A cel's rectangle in `set`: its object's position plus the cel's offset,
// right and bottom exclusive.
struct CelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};
CelRect CelBounds(const CelInstance& cel, int set);

// Which pixels of each cel are not transparent, with a grid of 16 x 16
// blocks marking those that hold any; made on first need per cel image.
class CelOpacityCache {
 public:
  struct Mask {
    int width = 0, height = 0;
    int blocks_x = 0, blocks_y = 0;
    std::vector<uint8_t> blocks;  // blocks_x * blocks_y, 1 = some pixel opaque
    std::vector<uint8_t> pixels;  // width * height, 1 = opaque

    bool Block(int bx, int by) const { return blocks[by * blocks_x + bx] != 0; }
    bool Pixel(int x, int y) const { return pixels[y * width + x] != 0; }
  };
  static constexpr int kBlock = 16;

  const Mask& Get(const KissCel& cel);
  void Clear() { masks_.clear(); }

 private:
  std::unordered_map<const KissCel*, Mask> masks_;
};

// Some cel of `a` and a different cel of `b`, both visible in `set`, whose
// rectangles intersect.
bool BoxOverlap(const FkissTarget& a, const FkissTarget& b, int set);
// The same, and within the intersection some pixel is opaque in both.
bool PixelOverlap(const FkissTarget& a, const FkissTarget& b, int set, CelOpacityCache& cache);

}  // namespace luma

#endif  // LUMA_CORE_FKISS_OVERLAP_H_
