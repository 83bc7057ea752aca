#include "core/fkiss/overlap.h"

#include <algorithm>

#include "core/model/cel_codec.h"
#include "core/model/doll_model.h"

namespace luma {
namespace {

// Where cel rectangles are pinned far outside any playfield.
constexpr int64_t kFar = int64_t{1} << 30;

bool Intersect(const CelRect& a, const CelRect& b, CelRect* out) {
  out->left = std::max(a.left, b.left);
  out->top = std::max(a.top, b.top);
  out->right = std::min(a.right, b.right);
  out->bottom = std::min(a.bottom, b.bottom);
  return out->left < out->right && out->top < out->bottom;
}

// Some pixel inside `area` (playfield coordinates) is opaque in both cels,
// whose top-left corners are at `ra` and `rb`.
bool PixelsMeet(const CelOpacityCache::Mask& ma, const CelRect& ra, const CelOpacityCache::Mask& mb,
                const CelRect& rb, const CelRect& area) {
  constexpr int kBlock = CelOpacityCache::kBlock;
  for (int y = area.top; y < area.bottom;) {
    const int ay = y - ra.top, by = y - rb.top;
    // Rows up to the next block edge of either cel share their blocks.
    const int row_end = std::min({area.bottom, y + kBlock - ay % kBlock, y + kBlock - by % kBlock});
    for (int x = area.left; x < area.right;) {
      const int ax = x - ra.left, bx = x - rb.left;
      const int col_end =
          std::min({area.right, x + kBlock - ax % kBlock, x + kBlock - bx % kBlock});
      if (ma.Block(ax / kBlock, ay / kBlock) && mb.Block(bx / kBlock, by / kBlock)) {
        for (int py = y; py < row_end; ++py) {
          for (int px = x; px < col_end; ++px) {
            if (ma.Pixel(px - ra.left, py - ra.top) && mb.Pixel(px - rb.left, py - rb.top)) {
              return true;
            }
          }
        }
      }
      x = col_end;
    }
    y = row_end;
  }
  return false;
}

template <typename Test>
bool AnyCelPair(const FkissTarget& a, const FkissTarget& b, int set, Test test) {
  for (CelInstance* ca : TargetCels(a)) {
    if (!CelVisible(*ca, set)) continue;
    const CelRect ra = CelBounds(*ca, set);
    for (CelInstance* cb : TargetCels(b)) {
      if (cb == ca || !CelVisible(*cb, set)) continue;
      const CelRect rb = CelBounds(*cb, set);
      CelRect area;
      if (Intersect(ra, rb, &area) && test(*ca, ra, *cb, rb, area)) return true;
    }
  }
  return false;
}

}  // namespace

std::span<CelInstance* const> TargetCels(const FkissTarget& target) {
  if (target.object) return target.object->cels;
  if (target.cel) return std::span<CelInstance* const>(&target.cel, 1);
  if (target.cel_set) return target.cel_set->instances;
  return {};
}

bool CelVisible(const CelInstance& cel, int set) {
  return cel.mapped && cel.in_set[set] && cel.cel != nullptr;
}

bool TargetVisible(const FkissTarget& target, int set) {
  for (const CelInstance* cel : TargetCels(target)) {
    if (CelVisible(*cel, set)) return true;
  }
  return false;
}

bool TargetMapped(const FkissTarget& target) {
  for (const CelInstance* cel : TargetCels(target)) {
    if (cel->mapped) return true;
  }
  return false;
}

CelRect CelBounds(const CelInstance& cel, int set) {
  // Scripts may restrict objects to any 32-bit position; far beyond any
  // playfield the corner is pinned, so that the sums over the rectangle
  // never overflow. The size stays true.
  auto pin = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -kFar, kFar)); };
  const Position& at = cel.object->position[set];
  CelRect r;
  r.left = pin(int64_t{at.x} + cel.x_offset);
  r.top = pin(int64_t{at.y} + cel.y_offset);
  r.right = r.left + (cel.cel ? cel.cel->width : 0);
  r.bottom = r.top + (cel.cel ? cel.cel->height : 0);
  return r;
}

const CelOpacityCache::Mask& CelOpacityCache::Get(const KissCel& cel) {
  auto [it, inserted] = masks_.try_emplace(&cel);
  Mask& mask = it->second;
  if (!inserted) return mask;
  mask.width = cel.width;
  mask.height = cel.height;
  mask.blocks_x = (cel.width + kBlock - 1) / kBlock;
  mask.blocks_y = (cel.height + kBlock - 1) / kBlock;
  mask.blocks.assign(static_cast<size_t>(mask.blocks_x) * mask.blocks_y, 0);
  mask.pixels.assign(static_cast<size_t>(mask.width) * mask.height, 0);
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      if (!IsSolidForCollision(cel, x, y)) continue;
      mask.pixels[static_cast<size_t>(y) * mask.width + x] = 1;
      mask.blocks[(y / kBlock) * mask.blocks_x + x / kBlock] = 1;
    }
  }
  return mask;
}

bool BoxOverlap(const FkissTarget& a, const FkissTarget& b, int set) {
  return AnyCelPair(a, b, set, [](auto&&...) { return true; });
}

bool PixelOverlap(const FkissTarget& a, const FkissTarget& b, int set, CelOpacityCache& cache) {
  return AnyCelPair(a, b, set,
                    [&](const CelInstance& ca, const CelRect& ra, const CelInstance& cb,
                        const CelRect& rb, const CelRect& area) {
                      return PixelsMeet(cache.Get(*ca.cel), ra, cache.Get(*cb.cel), rb, area);
                    });
}

}  // namespace luma
