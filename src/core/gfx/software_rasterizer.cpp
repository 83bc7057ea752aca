#include "core/gfx/software_rasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "core/gfx/argb.h"

namespace luma::raster {
namespace {

using Int128 = __int128;

int64_t FloorDiv(int64_t a, int64_t b) {  // b > 0
  int64_t q = a / b;
  if ((a % b != 0) && (a < 0)) --q;
  return q;
}
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// The smallest n with n * k >= num (k > 0), clamped to [lo, hi]. A double
// estimate is corrected with exact products, so edges are decided exactly
// even for the huge triangles of the window border.
int64_t CeilDivClamped(Int128 num, int64_t k, int64_t lo, int64_t hi) {
  const double estimate = std::ceil(static_cast<double>(num) / static_cast<double>(k));
  if (!(estimate >= static_cast<double>(lo - 2))) return lo;
  if (estimate > static_cast<double>(hi + 2)) return hi;
  int64_t n = static_cast<int64_t>(estimate);
  while (static_cast<Int128>(n) * k < num) ++n;
  while (static_cast<Int128>(n - 1) * k >= num) --n;
  return std::clamp(n, lo, hi);
}

int Wrap(int64_t v, int size) {
  int64_t m = v % size;
  if (m < 0) m += size;
  return static_cast<int>(m);
}

uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
uint16_t Load16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

uint32_t Modulate(uint32_t a, uint32_t b) {
  return (MulDiv255(a >> 24, b >> 24) << 24) |
         (MulDiv255((a >> 16) & 0xFF, (b >> 16) & 0xFF) << 16) |
         (MulDiv255((a >> 8) & 0xFF, (b >> 8) & 0xFF) << 8) | MulDiv255(a & 0xFF, b & 0xFF);
}

uint32_t BlendFactor(Blend blend, uint32_t alpha) {
  switch (blend) {
    case Blend::kZero:
      return 0;
    case Blend::kOne:
      return 255;
    case Blend::kSrcAlpha:
      return alpha;
    case Blend::kInvSrcAlpha:
      return 255 - alpha;
  }
  return 0;
}

template <TextureFormat F>
uint32_t FetchTexel(const uint8_t* row, int64_t column, const uint32_t* palette) {
  if constexpr (F == TextureFormat::kP8) {
    return palette[row[column]];
  } else if constexpr (F == TextureFormat::kA4R4G4B4) {
    return ExpandA4R4G4B4(Load16(row + column * 2));
  } else {
    return Load32(row + column * 4);
  }
}

// Cels are mostly transparent index 0: steps over such texels eight at a
// time and gives the first column from which a texel may be visible.
inline int SkipZeroRuns(const uint8_t* row, int i, int count) {
  uint64_t eight;
  while (i + 8 <= count && (std::memcpy(&eight, row + i, 8), eight == 0)) i += 8;
  return i;
}

// One row of an axis-aligned textured rectangle whose colour is the
// texture's own and whose alpha is the texture's, optionally scaled by a
// constant vertex alpha. This loop carries almost every frame.
template <TextureFormat F, bool kContiguous, bool kModulate, bool kBlend>
void TexturedRow(uint32_t* dst, int count, const uint8_t* row, int64_t first_column,
                 const int32_t* columns, const uint32_t* palette, uint32_t vertex_alpha) {
  const bool skip_zeros =
      F == TextureFormat::kP8 && kContiguous && kBlend && (palette[0] >> 24) == 0;
  for (int i = 0; i < count; ++i) {
    if (skip_zeros) {
      i = SkipZeroRuns(row + first_column, i, count);
      if (i >= count) break;
    }
    uint32_t c = FetchTexel<F>(row, kContiguous ? first_column + i : columns[i], palette);
    uint32_t a = c >> 24;
    if constexpr (kModulate) {
      a = MulDiv255(a, vertex_alpha);
      c = (c & 0x00FFFFFF) | (a << 24);
    }
    if constexpr (!kBlend) {
      dst[i] = c;
    } else if (a == 255) {
      dst[i] = c;
    } else if (a != 0) {
      dst[i] = BlendSourceAlpha(c, dst[i], a);
    }
  }
}

// A row of a paletted texture whose every colour is either opaque or fully
// transparent, blended by source alpha: each pixel keeps its colour or takes
// the texel's, chosen by a mask rather than a branch, since the two kinds
// alternate along the edges of every figure.
template <bool kContiguous>
void OpaqueOrClearRow(uint32_t* dst, int count, const uint8_t* row, int64_t first_column,
                      const int32_t* columns, const uint32_t* palette, uint32_t) {
  const bool skip_zeros = kContiguous && (palette[0] >> 24) == 0;
  for (int i = 0; i < count; ++i) {
    if (skip_zeros) {
      i = SkipZeroRuns(row + first_column, i, count);
      if (i >= count) break;
    }
    const uint32_t c = palette[row[kContiguous ? first_column + i : columns[i]]];
    const uint32_t keep = (c >> 31) - 1;  // all ones for alpha 0
    dst[i] = (c & ~keep) | (dst[i] & keep);
  }
}

// The same over runs of pixels that show one texel (a magnified row): one
// fetch and one decision per run.
template <TextureFormat F, bool kModulate, bool kBlend>
void TexturedRuns(uint32_t* dst, const int32_t* runs, int run_count, const uint8_t* row,
                  const uint32_t* palette, uint32_t vertex_alpha) {
  for (int r = 0; r < run_count; ++r, runs += 2) {
    const int length = runs[1];
    uint32_t c = FetchTexel<F>(row, runs[0], palette);
    uint32_t a = c >> 24;
    if constexpr (kModulate) {
      a = MulDiv255(a, vertex_alpha);
      c = (c & 0x00FFFFFF) | (a << 24);
    }
    if (!kBlend || a == 255) {
      std::fill_n(dst, length, c);
    } else if (a != 0) {
      for (int i = 0; i < length; ++i) dst[i] = BlendSourceAlpha(c, dst[i], a);
    }
    dst += length;
  }
}

using RunFunction = void (*)(uint32_t*, const int32_t*, int, const uint8_t*, const uint32_t*,
                             uint32_t);

template <TextureFormat F>
RunFunction PickRuns(bool modulate, bool blend) {
  if (modulate) return blend ? TexturedRuns<F, true, true> : TexturedRuns<F, true, false>;
  return blend ? TexturedRuns<F, false, true> : TexturedRuns<F, false, false>;
}

using RowFunction = void (*)(uint32_t*, int, const uint8_t*, int64_t, const int32_t*,
                             const uint32_t*, uint32_t);

template <TextureFormat F>
RowFunction PickRow(bool contiguous, bool modulate, bool blend) {
  const int key = (contiguous ? 4 : 0) | (modulate ? 2 : 0) | (blend ? 1 : 0);
  switch (key) {
    case 0:
      return TexturedRow<F, false, false, false>;
    case 1:
      return TexturedRow<F, false, false, true>;
    case 2:
      return TexturedRow<F, false, true, false>;
    case 3:
      return TexturedRow<F, false, true, true>;
    case 4:
      return TexturedRow<F, true, false, false>;
    case 5:
      return TexturedRow<F, true, false, true>;
    case 6:
      return TexturedRow<F, true, true, false>;
    default:
      return TexturedRow<F, true, true, true>;
  }
}

}  // namespace

uint32_t BlendSourceAlpha(uint32_t src, uint32_t dst, uint32_t alpha) {
  const uint32_t inverse = 255 - alpha;
  uint32_t rb = (src & 0x00FF00FF) * alpha + (dst & 0x00FF00FF) * inverse + 0x00800080;
  rb = ((rb + ((rb >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
  uint32_t ag =
      ((src >> 8) & 0x00FF00FF) * alpha + ((dst >> 8) & 0x00FF00FF) * inverse + 0x00800080;
  ag = (ag + ((ag >> 8) & 0x00FF00FF)) & 0xFF00FF00;
  return rb | ag;
}

struct Rasterizer::Edge {
  int64_t ax, ay, dx, dy;
  bool top_left;
};

void Rasterizer::Begin(const Target& target, const Sampler& sampler, const Shading& shading) {
  target_ = target;
  sampler_ = sampler;
  shading_ = shading;
  standard_blend_ = shading.blend && shading.src_blend == Blend::kSrcAlpha &&
                    shading.dest_blend == Blend::kInvSrcAlpha;
}

uint32_t Rasterizer::Shade(uint32_t texel, uint32_t diffuse) const {
  auto arg = [&](TextureArg which) {
    switch (which) {
      case TextureArg::kTexture:
        return texel;
      case TextureArg::kTextureComplement:
        return ~texel;
      default:
        return diffuse;
    }
  };
  auto combine = [&](TextureOp op, TextureArg a1, TextureArg a2) -> uint32_t {
    switch (op) {
      case TextureOp::kDisable:
        return diffuse;
      case TextureOp::kSelectArg1:
        return arg(a1);
      case TextureOp::kSelectArg2:
        return arg(a2);
      case TextureOp::kModulate:
        return Modulate(arg(a1), arg(a2));
    }
    return diffuse;
  };
  const uint32_t color = combine(shading_.color_op, shading_.color_arg1, shading_.color_arg2);
  const uint32_t alpha = combine(shading_.alpha_op, shading_.alpha_arg1, shading_.alpha_arg2);
  return (alpha & 0xFF000000) | (color & 0x00FFFFFF);
}

void Rasterizer::Write(uint32_t* dst, uint32_t color) const {
  if (!shading_.blend) {
    *dst = color;
    return;
  }
  const uint32_t a = color >> 24;
  if (standard_blend_) {
    if (a == 255) {
      *dst = color;
    } else if (a != 0) {
      *dst = BlendSourceAlpha(color, *dst, a);
    }
    return;
  }
  const uint32_t fs = BlendFactor(shading_.src_blend, a);
  const uint32_t fd = BlendFactor(shading_.dest_blend, a);
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t s = (color >> shift) & 0xFF;
    const uint32_t d = (*dst >> shift) & 0xFF;
    out |= std::min<uint32_t>(255, MulDiv255(s, fs) + MulDiv255(d, fd)) << shift;
  }
  *dst = out;
}

uint32_t Rasterizer::Fetch(int tx, int ty) const {
  const uint8_t* row = sampler_.bits + static_cast<size_t>(ty) * sampler_.pitch;
  switch (sampler_.format) {
    case TextureFormat::kP8:
      return sampler_.palette[row[tx]];
    case TextureFormat::kA4R4G4B4:
      return ExpandA4R4G4B4(Load16(row + tx * 2));
    case TextureFormat::kA8R8G8B8:
      return Load32(row + tx * 4);
    case TextureFormat::kX8R8G8B8:
      return Load32(row + tx * 4) | 0xFF000000;
  }
  return 0xFFFFFFFF;
}

void Rasterizer::FillSpan(uint32_t* dst, int count, uint32_t color) const {
  const uint32_t a = color >> 24;
  if (!shading_.blend || (standard_blend_ && a == 255)) {
    std::fill_n(dst, count, color);
  } else if (standard_blend_ && a == 0) {
    return;
  } else {
    for (int i = 0; i < count; ++i) Write(dst + i, color);
  }
}

bool Rasterizer::FastPathApplies(uint32_t diffuse, bool* modulate_alpha) const {
  if (shading_.blend && !standard_blend_) return false;
  auto is_vertex = [](TextureArg a) {
    return a == TextureArg::kDiffuse || a == TextureArg::kCurrent;
  };
  const Shading& s = shading_;
  const bool color_is_texture =
      (s.color_op == TextureOp::kSelectArg1 && s.color_arg1 == TextureArg::kTexture) ||
      (s.color_op == TextureOp::kSelectArg2 && s.color_arg2 == TextureArg::kTexture) ||
      (s.color_op == TextureOp::kModulate && (diffuse & 0x00FFFFFF) == 0x00FFFFFF &&
       ((s.color_arg1 == TextureArg::kTexture && is_vertex(s.color_arg2)) ||
        (s.color_arg2 == TextureArg::kTexture && is_vertex(s.color_arg1))));
  if (!color_is_texture) return false;
  if ((s.alpha_op == TextureOp::kSelectArg1 && s.alpha_arg1 == TextureArg::kTexture) ||
      (s.alpha_op == TextureOp::kSelectArg2 && s.alpha_arg2 == TextureArg::kTexture)) {
    *modulate_alpha = false;
    return true;
  }
  if (s.alpha_op == TextureOp::kModulate &&
      ((s.alpha_arg1 == TextureArg::kTexture && is_vertex(s.alpha_arg2)) ||
       (s.alpha_arg2 == TextureArg::kTexture && is_vertex(s.alpha_arg1)))) {
    *modulate_alpha = (diffuse >> 24) != 255;
    return true;
  }
  return false;
}

void Rasterizer::Rect(const ScreenRect& in) {
  ScreenRect r = in;
  if (r.x1 < r.x0) {
    std::swap(r.x0, r.x1);
    std::swap(r.fx0, r.fx1);
    std::swap(r.s0, r.s1);
  }
  if (r.y1 < r.y0) {
    std::swap(r.y0, r.y1);
    std::swap(r.fy0, r.fy1);
    std::swap(r.t0, r.t1);
  }
  if (r.x0 == r.x1 || r.y0 == r.y1) return;
  // Pixel (px, py) is covered when its centre lies in [x0, x1) x [y0, y1).
  const int px0 = static_cast<int>(std::max<int64_t>(CeilDiv(r.x0, kSubpixel), 0));
  const int px1 = static_cast<int>(std::min<int64_t>(CeilDiv(r.x1, kSubpixel), target_.width));
  const int py0 = static_cast<int>(std::max<int64_t>(CeilDiv(r.y0, kSubpixel), 0));
  const int py1 = static_cast<int>(std::min<int64_t>(CeilDiv(r.y1, kSubpixel), target_.height));
  if (px0 >= px1 || py0 >= py1) return;
  if (sampler_.bits == nullptr) {
    const uint32_t color = Shade(0xFFFFFFFF, r.diffuse);
    for (int py = py0; py < py1; ++py) {
      FillSpan(target_.pixels + static_cast<size_t>(py) * target_.stride + px0, px1 - px0, color);
    }
    return;
  }
  TexturedRectRows(r, px0, px1, py0, py1);
}

void Rasterizer::TexturedRectRows(const ScreenRect& r, int px0, int px1, int py0, int py1) {
  const int count = px1 - px0;
  const double dx = r.fx1 - r.fx0;
  const double ds = r.s1 - r.s0;
  const double dy = r.fy1 - r.fy0;
  const double dt = r.t1 - r.t0;
  // Samples stay within the rectangle's own texels: where coverage (snapped)
  // and sampling (unsnapped) disagree at an edge, wrapping would fetch the
  // far side of the texture, another cel's texels when pages are shared.
  auto texel_of = [](double start, double offset, double span, double lo, double hi) {
    const int64_t first = static_cast<int64_t>(std::floor(std::min(lo, hi)));
    const int64_t last = std::max(first, static_cast<int64_t>(std::ceil(std::max(lo, hi))) - 1);
    return std::clamp(static_cast<int64_t>(std::floor(start + offset * span)), first, last);
  };
  auto column_of = [&](int px) {
    return texel_of(r.s0, px + kSampleBias - r.fx0, ds / dx, r.s0, r.s1);
  };
  // One texel a pixel: a straight run of the texture row.
  bool contiguous = false;
  int64_t first_column = 0;
  // The projection's float matrix may leave the scale a hair from one; the
  // run still is one texel a pixel if both of its ends say so (the error
  // only grows along the row).
  if (std::fabs(ds - dx) <= 1e-6 * dx) {
    first_column = column_of(px0);
    contiguous = first_column >= 0 && first_column + count <= sampler_.width &&
                 column_of(px1 - 1) == first_column + count - 1;
  }
  bool runs = false;
  if (!contiguous) {
    column_map_.resize(count);
    column_runs_.clear();
    for (int i = 0; i < count; ++i) {
      column_map_[i] = Wrap(column_of(px0 + i), sampler_.width);
      if (i > 0 && column_map_[i] == column_map_[i - 1]) {
        ++column_runs_.back().length;
      } else {
        column_runs_.push_back({column_map_[i], 1});
      }
    }
    runs = column_runs_.size() * 2 <= static_cast<size_t>(count);
  }
  auto row_of = [&](int py) {
    return Wrap(texel_of(r.t0, py + kSampleBias - r.fy0, dt / dy, r.t0, r.t1), sampler_.height);
  };

  bool modulate = false;
  if (FastPathApplies(r.diffuse, &modulate)) {
    const uint32_t vertex_alpha = r.diffuse >> 24;
    const uint32_t* palette = sampler_.palette;
    uint32_t scaled_palette[256];
    if (sampler_.format == TextureFormat::kP8 && modulate) {
      // Scale the palette's alphas once instead of every texel's.
      for (int i = 0; i < 256; ++i) {
        const uint32_t a = MulDiv255(palette[i] >> 24, vertex_alpha);
        scaled_palette[i] = (palette[i] & 0x00FFFFFF) | (a << 24);
      }
      palette = scaled_palette;
      modulate = false;
    }
    if (runs) {
      RunFunction run_fn;
      switch (sampler_.format) {
        case TextureFormat::kP8:
          run_fn = PickRuns<TextureFormat::kP8>(modulate, shading_.blend);
          break;
        case TextureFormat::kA4R4G4B4:
          run_fn = PickRuns<TextureFormat::kA4R4G4B4>(modulate, shading_.blend);
          break;
        default:
          run_fn = PickRuns<TextureFormat::kA8R8G8B8>(modulate, shading_.blend);
          break;
      }
      static_assert(sizeof(ColumnRun) == 2 * sizeof(int32_t));
      for (int py = py0; py < py1; ++py) {
        run_fn(target_.pixels + static_cast<size_t>(py) * target_.stride + px0,
               reinterpret_cast<const int32_t*>(column_runs_.data()),
               static_cast<int>(column_runs_.size()),
               sampler_.bits + static_cast<size_t>(row_of(py)) * sampler_.pitch, palette,
               vertex_alpha);
      }
      return;
    }
    RowFunction row_fn;
    switch (sampler_.format) {
      case TextureFormat::kP8:
        if (shading_.blend && !modulate && palette == sampler_.palette &&
            sampler_.palette_opaque_or_clear) {
          row_fn = contiguous ? OpaqueOrClearRow<true> : OpaqueOrClearRow<false>;
        } else {
          row_fn = PickRow<TextureFormat::kP8>(contiguous, modulate, shading_.blend);
        }
        break;
      case TextureFormat::kA4R4G4B4:
        row_fn = PickRow<TextureFormat::kA4R4G4B4>(contiguous, modulate, shading_.blend);
        break;
      default:
        row_fn = PickRow<TextureFormat::kA8R8G8B8>(contiguous, modulate, shading_.blend);
        break;
    }
    for (int py = py0; py < py1; ++py) {
      const int ty = row_of(py);
      row_fn(target_.pixels + static_cast<size_t>(py) * target_.stride + px0, count,
             sampler_.bits + static_cast<size_t>(ty) * sampler_.pitch, first_column,
             column_map_.data(), palette, vertex_alpha);
    }
    return;
  }
  for (int py = py0; py < py1; ++py) {
    const int ty = row_of(py);
    uint32_t* dst = target_.pixels + static_cast<size_t>(py) * target_.stride + px0;
    for (int i = 0; i < count; ++i) {
      const int tx = contiguous ? static_cast<int>(first_column + i) : column_map_[i];
      Write(dst + i, Shade(Fetch(tx, ty), r.diffuse));
    }
  }
}

void Rasterizer::Triangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c) {
  const Int128 area =
      static_cast<Int128>(b.x - a.x) * (c.y - a.y) - static_cast<Int128>(b.y - a.y) * (c.x - a.x);
  if (area == 0) return;
  const ScreenVertex* v[3] = {&a, &b, &c};
  if (area < 0) std::swap(v[1], v[2]);
  // With positive area a point is inside when every edge function is
  // positive; on an edge it counts for left edges (going up) and top edges.
  Edge edges[3];
  for (int i = 0; i < 3; ++i) {
    const ScreenVertex& p = *v[i];
    const ScreenVertex& q = *v[(i + 1) % 3];
    edges[i] = {p.x, p.y, q.x - p.x, q.y - p.y, false};
    edges[i].top_left = edges[i].dy < 0 || (edges[i].dy == 0 && edges[i].dx > 0);
  }
  const int64_t ymin = std::min({a.y, b.y, c.y});
  const int64_t ymax = std::max({a.y, b.y, c.y});
  const int py0 = static_cast<int>(std::max<int64_t>(CeilDiv(ymin, kSubpixel), 0));
  const int py1 =
      static_cast<int>(std::min<int64_t>(FloorDiv(ymax, kSubpixel) + 1, target_.height));
  if (py0 >= py1) return;

  const bool textured = sampler_.bits != nullptr;
  const bool flat = a.diffuse == b.diffuse && b.diffuse == c.diffuse;
  const uint32_t flat_color = Shade(0xFFFFFFFF, a.diffuse);
  // Plane equations of the interpolated values, in pixels from vertex 0.
  double du[2] = {0, 0}, dv[2] = {0, 0}, dch[4][2] = {};
  const ScreenVertex& v0 = *v[0];
  if (textured || !flat) {
    const double x1 = v[1]->fx - v0.fx;
    const double y1 = v[1]->fy - v0.fy;
    const double x2 = v[2]->fx - v0.fx;
    const double y2 = v[2]->fy - v0.fy;
    const double det = x1 * y2 - y1 * x2;
    auto gradient = [&](double f0, double f1, double f2, double* out) {
      out[0] = ((f1 - f0) * y2 - (f2 - f0) * y1) / det;
      out[1] = ((f2 - f0) * x1 - (f1 - f0) * x2) / det;
    };
    gradient(v0.u, v[1]->u, v[2]->u, du);
    gradient(v0.v, v[1]->v, v[2]->v, dv);
    for (int ch = 0; ch < 4; ++ch) {
      const int shift = ch * 8;
      gradient((v0.diffuse >> shift) & 0xFF, (v[1]->diffuse >> shift) & 0xFF,
               (v[2]->diffuse >> shift) & 0xFF, dch[ch]);
    }
  }

  for (int py = py0; py < py1; ++py) {
    const int64_t y = static_cast<int64_t>(py) * kSubpixel;
    int64_t xl = 0;
    int64_t xr = target_.width;
    for (const Edge& e : edges) {
      if (e.dy == 0) {
        const Int128 value = static_cast<Int128>(e.dx) * (y - e.ay);
        if (!(value > 0 || (value == 0 && e.top_left))) xl = xr;
        continue;
      }
      const Int128 cterm =
          static_cast<Int128>(e.dx) * (y - e.ay) + static_cast<Int128>(e.dy) * e.ax;
      if (e.dy < 0) {
        xl = std::max(xl, CeilDivClamped(-cterm, -e.dy * kSubpixel, -1, target_.width + 1));
      } else {
        xr = std::min(xr, CeilDivClamped(cterm, e.dy * kSubpixel, -1, target_.width + 1));
      }
    }
    if (xl >= xr) continue;
    uint32_t* dst = target_.pixels + static_cast<size_t>(py) * target_.stride;
    if (!textured && flat) {
      FillSpan(dst + xl, static_cast<int>(xr - xl), flat_color);
      continue;
    }
    const double fy = py - v0.fy;
    for (int64_t px = xl; px < xr; ++px) {
      const double fx = px - v0.fx;
      uint32_t diffuse = v0.diffuse;
      if (!flat) {
        diffuse = 0;
        for (int ch = 0; ch < 4; ++ch) {
          const int shift = ch * 8;
          const double value = ((v0.diffuse >> shift) & 0xFF) + dch[ch][0] * fx + dch[ch][1] * fy;
          diffuse |= static_cast<uint32_t>(std::clamp(std::lround(value), 0L, 255L)) << shift;
        }
      }
      uint32_t texel = 0xFFFFFFFF;
      if (textured) {
        const double u = v0.u + du[0] * fx + du[1] * fy;
        const double t = v0.v + dv[0] * fx + dv[1] * fy;
        const int tx = Wrap(static_cast<int64_t>(std::floor(u * sampler_.width)), sampler_.width);
        const int ty = Wrap(static_cast<int64_t>(std::floor(t * sampler_.height)), sampler_.height);
        texel = Fetch(tx, ty);
      }
      Write(dst + px, Shade(texel, diffuse));
    }
  }
}

}  // namespace luma::raster
