#ifndef LUMA_CORE_GFX_SOFTWARE_RASTERIZER_H_
#define LUMA_CORE_GFX_SOFTWARE_RASTERIZER_H_

#include <cstdint>
#include <vector>

#include "core/gfx/device_types.h"

// The pixel engine of the software device. Positions arrive in screen space
// as fixed point with 8 fraction bits; pixel centres lie on whole pixels and
// the top-left fill rule decides pixels on edges, so triangles that share an
// edge never both draw a pixel and never leave one out.
namespace luma::raster {

inline constexpr int kSubpixelBits = 8;
inline constexpr int64_t kSubpixel = 1 << kSubpixelBits;

struct Target {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // in pixels
};

// The texture bound to stage 0, or none (bits == nullptr).
struct Sampler {
  const uint8_t* bits = nullptr;
  int pitch = 0;
  int width = 0;
  int height = 0;
  TextureFormat format = TextureFormat::kA8R8G8B8;
  const uint32_t* palette = nullptr;     // 256 ARGB entries for kP8
  bool palette_opaque_or_clear = false;  // every palette alpha is 0 or 255
};

// Stage 0 combiners and the output merger.
struct Shading {
  TextureOp color_op = TextureOp::kModulate;
  TextureArg color_arg1 = TextureArg::kTexture;
  TextureArg color_arg2 = TextureArg::kCurrent;
  TextureOp alpha_op = TextureOp::kSelectArg1;
  TextureArg alpha_arg1 = TextureArg::kTexture;
  TextureArg alpha_arg2 = TextureArg::kCurrent;
  bool blend = false;
  Blend src_blend = Blend::kOne;
  Blend dest_blend = Blend::kZero;
};

// Positions come twice: snapped to 1/256 pixel, which decides coverage, and
// unsnapped, which decides what is sampled, so that a sample that falls
// exactly on a texel edge at any zoom takes the texel it starts.
struct ScreenVertex {
  int64_t x = 0;  // 1/256 pixel
  int64_t y = 0;
  double fx = 0;  // pixels
  double fy = 0;
  double u = 0;  // texture coordinates, 0..1 across the texture
  double v = 0;
  uint32_t diffuse = 0xFFFFFFFF;
};

// An axis-aligned rectangle [x0, x1) x [y0, y1) (1/256 pixel; unsnapped in
// fx, fy) whose texel coordinates run from s0 to s1 across and t0 to t1 down.
struct ScreenRect {
  int64_t x0, x1, y0, y1;
  double fx0, fx1, fy0, fy1;
  double s0, s1, t0, t1;  // texels
  uint32_t diffuse;
};

// Samples are taken this far (in pixels) past the pixel centre before the
// texel coordinate is floored. The projection is a float matrix, so a cel
// edge on a whole pixel comes out a few millionths off; the nudge, one step
// of the coverage grid, keeps a sample that lies on a texel edge in the
// texel it starts at every zoom level.
inline constexpr double kSampleBias = 1.0 / kSubpixel;

class Rasterizer {
 public:
  void Begin(const Target& target, const Sampler& sampler, const Shading& shading);

  void Triangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c);
  void Rect(const ScreenRect& rect);

 private:
  struct Edge;
  // Colour and alpha after stage 0 for one texel and one diffuse colour.
  uint32_t Shade(uint32_t texel, uint32_t diffuse) const;
  void Write(uint32_t* dst, uint32_t color) const;
  uint32_t Fetch(int tx, int ty) const;
  void FillSpan(uint32_t* dst, int count, uint32_t color) const;
  void TexturedRectRows(const ScreenRect& r, int px0, int px1, int py0, int py1);
  bool FastPathApplies(uint32_t diffuse, bool* modulate_alpha) const;

  Target target_;
  Sampler sampler_;
  Shading shading_;
  bool standard_blend_ = false;
  struct ColumnRun {
    int32_t column;
    int32_t length;
  };
  std::vector<int32_t> column_map_;
  std::vector<ColumnRun> column_runs_;  // column_map_ as runs of equal columns
};

// Exact blending helpers, shared with the tests: channel-wise
// round(s * a / 255 + d * (255 - a) / 255) over all four bytes.
uint32_t BlendSourceAlpha(uint32_t src, uint32_t dst, uint32_t alpha);
// round(x * y / 255) for bytes.
inline uint32_t MulDiv255(uint32_t x, uint32_t y) {
  uint32_t t = x * y + 128;
  return (t + (t >> 8)) >> 8;
}

}  // namespace luma::raster

#endif  // LUMA_CORE_GFX_SOFTWARE_RASTERIZER_H_
