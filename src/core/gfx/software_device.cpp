#include "core/gfx/software_device.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace luma {

constexpr int kMaxSurfaceSize = 16384;
constexpr double kCoordinateLimit = 2147483648.0;  // pixels; farther vertices are dropped

// What resources and the device share: memory accounting and the bindings a
// resource must clear when it goes away, so the device never draws with a
// freed buffer.
struct SoftwareDevice::Accounting {
  uint64_t budget = 0;
  uint64_t used = 0;
  Texture* bound_texture = nullptr;
  VertexBuffer* bound_stream = nullptr;
  Surface* bound_target = nullptr;
};

namespace {

using Accounting = SoftwareDevice::Accounting;

class SoftwareTexture final : public Texture {
 public:
  SoftwareTexture(int width, int height, TextureFormat format, int pitch,
                  std::shared_ptr<Accounting> accounting)
      : Texture(width, height, format),
        pitch_(pitch),
        size_(static_cast<size_t>(pitch) * height),
        // calloc: large pages come from the system already zeroed, untouched.
        storage_(static_cast<uint8_t*>(std::calloc(size_, 1))),
        accounting_(std::move(accounting)) {
    if (!storage_) throw std::bad_alloc();
    accounting_->used += bytes();
  }
  ~SoftwareTexture() override {
    accounting_->used -= bytes();
    if (accounting_->bound_texture == this) accounting_->bound_texture = nullptr;
  }
  LockedRect Lock() override { return {data(), pitch_}; }
  void Unlock() override {}
  uint8_t* data() { return storage_.get(); }
  int pitch() const { return pitch_; }
  uint64_t bytes() const { return size_; }

 private:
  struct Free {
    void operator()(uint8_t* p) const { std::free(p); }
  };
  int pitch_;
  size_t size_;
  std::unique_ptr<uint8_t, Free> storage_;
  std::shared_ptr<Accounting> accounting_;
};

class SoftwareVertexBuffer final : public VertexBuffer {
 public:
  SoftwareVertexBuffer(size_t length, VertexFormat format, std::shared_ptr<Accounting> accounting)
      : VertexBuffer(length, format), storage_(length, 0), accounting_(std::move(accounting)) {}
  ~SoftwareVertexBuffer() override {
    if (accounting_->bound_stream == this) accounting_->bound_stream = nullptr;
  }
  uint8_t* Lock() override { return storage_.data(); }
  void Unlock() override {}
  const uint8_t* data() const { return storage_.data(); }

 private:
  std::vector<uint8_t> storage_;
  std::shared_ptr<Accounting> accounting_;
};

class SoftwareSurface final : public Surface {
 public:
  SoftwareSurface(int width, int height, TextureFormat format,
                  std::shared_ptr<Accounting> accounting)
      : Surface(width, height, format),
        pixels_(static_cast<size_t>(width) * height, 0),
        accounting_(std::move(accounting)) {
    accounting_->used += bytes();
  }
  ~SoftwareSurface() override {
    accounting_->used -= bytes();
    if (accounting_->bound_target == this) accounting_->bound_target = nullptr;
  }
  LockedRect Lock() override { return {reinterpret_cast<uint8_t*>(pixels_.data()), width() * 4}; }
  void Unlock() override {}
  ImageView View() override { return {pixels_.data(), width(), height(), width()}; }
  uint32_t* pixels() { return pixels_.data(); }
  uint64_t bytes() const { return pixels_.size() * 4; }

 private:
  std::vector<uint32_t> pixels_;
  std::shared_ptr<Accounting> accounting_;
};

class SoftwareSwapChain final : public SwapChain {
 public:
  SoftwareSwapChain(std::unique_ptr<SoftwareSurface> back_buffer, PresentFunction present)
      : back_buffer_(std::move(back_buffer)), present_(std::move(present)) {}
  Surface* BackBuffer() override { return back_buffer_.get(); }
  DeviceResult Present() override {
    if (present_) present_(back_buffer_->View());
    return DeviceResult::kOk;
  }

 private:
  std::unique_ptr<SoftwareSurface> back_buffer_;
  PresentFunction present_;
};

bool ValidSize(int width, int height) {
  return width >= 1 && height >= 1 && width <= kMaxSurfaceSize && height <= kMaxSurfaceSize;
}

// Positive for clockwise on screen (y grows downwards).
__int128 Winding(const raster::ScreenVertex& a, const raster::ScreenVertex& b,
                 const raster::ScreenVertex& c) {
  return static_cast<__int128>(b.x - a.x) * (c.y - a.y) -
         static_cast<__int128>(b.y - a.y) * (c.x - a.x);
}

}  // namespace

// The vertices of one draw call after transformation.
struct SoftwareDevice::VertexSource {
  const raster::ScreenVertex* v;
  const uint8_t* valid;
};

SoftwareDevice::SoftwareDevice(const SoftwareDeviceOptions& options)
    : options_(options), accounting_(std::make_shared<Accounting>()) {
  accounting_->budget = options.texture_memory_bytes;
  DeviceFlags& f = mutable_flags();
  f.software_device = true;
  f.hardware_vertex_processing = false;
  f.alpha_palette_supported = options.palette_alpha;
  f.paletted_textures = options.palette_alpha;
  f.sixteen_bit_texels = options.desktop_16_bit;
  f.initial_video_memory_mb = static_cast<int>(options.texture_memory_bytes >> 20);
  SetFixedRenderStates(*this);
}

SoftwareDevice::~SoftwareDevice() = default;

DeviceResult SoftwareDevice::CreateTexture(int width, int height, TextureFormat format,
                                           MemoryPool pool, std::unique_ptr<Texture>* out) {
  out->reset();
  if (!ValidSize(width, height)) return DeviceResult::kInvalidCall;
  if (format == TextureFormat::kX8R8G8B8) return DeviceResult::kNotAvailable;
  const int row = (width * BytesPerTexel(format) + options_.row_padding + 3) & ~3;
  const uint64_t bytes = static_cast<uint64_t>(row) * height;
  if (bytes > AvailableTextureMemory()) return DeviceResult::kOutOfVideoMemory;
  try {
    *out = std::make_unique<SoftwareTexture>(width, height, format, row, accounting_);
  } catch (const std::bad_alloc&) {
    return DeviceResult::kOutOfMemory;
  }
  return DeviceResult::kOk;
}

DeviceResult SoftwareDevice::CreateVertexBuffer(size_t length, VertexFormat format, MemoryPool pool,
                                                std::unique_ptr<VertexBuffer>* out) {
  out->reset();
  if (length == 0) return DeviceResult::kInvalidCall;
  try {
    *out = std::make_unique<SoftwareVertexBuffer>(length, format, accounting_);
  } catch (const std::bad_alloc&) {
    return DeviceResult::kOutOfMemory;
  }
  return DeviceResult::kOk;
}

DeviceResult SoftwareDevice::CreateRenderTarget(int width, int height, TextureFormat format,
                                                int samples, std::unique_ptr<Surface>* out) {
  out->reset();
  if (!ValidSize(width, height) || samples < 0 || samples > 16) return DeviceResult::kInvalidCall;
  // Multisampled targets are accepted and resolve like single-sampled ones:
  // the renderer keeps multisample antialiasing switched off anyway.
  if (format != TextureFormat::kA8R8G8B8 && format != TextureFormat::kX8R8G8B8) {
    return DeviceResult::kNotAvailable;
  }
  if (static_cast<uint64_t>(width) * height * 4 > AvailableTextureMemory()) {
    return DeviceResult::kOutOfVideoMemory;
  }
  try {
    *out = std::make_unique<SoftwareSurface>(width, height, format, accounting_);
  } catch (const std::bad_alloc&) {
    return DeviceResult::kOutOfMemory;
  }
  return DeviceResult::kOk;
}

DeviceResult SoftwareDevice::CreateSwapChain(int width, int height, PresentFunction present,
                                             std::unique_ptr<SwapChain>* out) {
  out->reset();
  if (width < 1) width = options_.desktop_width;
  if (height < 1) height = options_.desktop_height;
  if (!ValidSize(width, height)) return DeviceResult::kInvalidCall;
  try {
    auto back =
        std::make_unique<SoftwareSurface>(width, height, TextureFormat::kX8R8G8B8, accounting_);
    *out = std::make_unique<SoftwareSwapChain>(std::move(back), std::move(present));
  } catch (const std::bad_alloc&) {
    return DeviceResult::kOutOfMemory;
  }
  return DeviceResult::kOk;
}

DeviceResult SoftwareDevice::SetPaletteEntries(unsigned number, const PaletteEntry* entries) {
  if (number > 0xFFFF || entries == nullptr) return DeviceResult::kInvalidCall;
  if (palettes_.size() <= number) palettes_.resize(number + 1);
  if (!palettes_[number]) palettes_[number] = std::make_unique<Palette>();
  Palette& palette = *palettes_[number];
  palette.opaque_or_clear = true;
  for (int i = 0; i < 256; ++i) {
    const PaletteEntry& e = entries[i];
    palette.colors[i] =
        (uint32_t{e.flags} << 24) | (uint32_t{e.red} << 16) | (uint32_t{e.green} << 8) | e.blue;
    if (e.flags != 0 && e.flags != 255) palette.opaque_or_clear = false;
  }
  return DeviceResult::kOk;
}

DeviceResult SoftwareDevice::SetCurrentTexturePalette(unsigned number) {
  if (number > 0xFFFF) return DeviceResult::kInvalidCall;
  current_palette_ = number;
  return DeviceResult::kOk;
}

void SoftwareDevice::SetTransform(TransformKind kind, const Matrix4& matrix) {
  switch (kind) {
    case TransformKind::kWorld:
      world_ = matrix;
      break;
    case TransformKind::kView:
      view_ = matrix;
      view_projection_dirty_ = true;
      break;
    case TransformKind::kProjection:
      projection_ = matrix;
      view_projection_dirty_ = true;
      break;
  }
}

void SoftwareDevice::SetRenderState(RenderState state, uint32_t value) {
  switch (state) {
    case RenderState::kAlphaBlendEnable:
      shading_.blend = value != 0;
      break;
    case RenderState::kSrcBlend:
      shading_.src_blend = static_cast<Blend>(value);
      break;
    case RenderState::kDestBlend:
      shading_.dest_blend = static_cast<Blend>(value);
      break;
    case RenderState::kCullMode:
      cull_ = static_cast<CullMode>(value);
      break;
    case RenderState::kLighting:
    case RenderState::kDitherEnable:
    case RenderState::kMultisampleAntialias:
    case RenderState::kEdgeAntialias:
      // Lighting has no meaning for pre-lit vertices; the others are off by
      // nature in this device.
      break;
  }
}

void SoftwareDevice::SetTextureStageState(int stage, TextureStageState state, uint32_t value) {
  if (stage != 0) return;  // the renderer uses one stage
  switch (state) {
    case TextureStageState::kColorOp:
      shading_.color_op = static_cast<TextureOp>(value);
      break;
    case TextureStageState::kColorArg1:
      shading_.color_arg1 = static_cast<TextureArg>(value);
      break;
    case TextureStageState::kColorArg2:
      shading_.color_arg2 = static_cast<TextureArg>(value);
      break;
    case TextureStageState::kAlphaOp:
      shading_.alpha_op = static_cast<TextureOp>(value);
      break;
    case TextureStageState::kAlphaArg1:
      shading_.alpha_arg1 = static_cast<TextureArg>(value);
      break;
    case TextureStageState::kAlphaArg2:
      shading_.alpha_arg2 = static_cast<TextureArg>(value);
      break;
    case TextureStageState::kMagFilter:
    case TextureStageState::kMinFilter:
    case TextureStageState::kMipFilter:
      // Sampling is always by point; textures have one level.
      break;
  }
}

void SoftwareDevice::SetVertexFormat(VertexFormat format) { vertex_format_ = format; }

void SoftwareDevice::SetStreamSource(VertexBuffer* buffer, int stride) {
  accounting_->bound_stream = buffer;
  stride_ = stride;
}

void SoftwareDevice::SetTexture(int stage, Texture* texture) {
  if (stage == 0) accounting_->bound_texture = texture;
}

void SoftwareDevice::SetRenderTarget(Surface* target) { accounting_->bound_target = target; }

DeviceResult SoftwareDevice::Clear(uint32_t argb) {
  auto* target = static_cast<SoftwareSurface*>(accounting_->bound_target);
  if (target == nullptr) return DeviceResult::kInvalidCall;
  std::fill_n(target->pixels(), static_cast<size_t>(target->width()) * target->height(), argb);
  return DeviceResult::kOk;
}

DeviceResult SoftwareDevice::BeginScene() {
  if (in_scene_) return DeviceResult::kInvalidCall;
  in_scene_ = true;
  return DeviceResult::kOk;
}

DeviceResult SoftwareDevice::EndScene() {
  if (!in_scene_) return DeviceResult::kInvalidCall;
  in_scene_ = false;
  return DeviceResult::kOk;
}

uint64_t SoftwareDevice::AvailableTextureMemory() {
  return accounting_->budget > accounting_->used ? accounting_->budget - accounting_->used : 0;
}

DeviceCaps SoftwareDevice::Caps() const {
  DeviceCaps caps;
  caps.palette_alpha = options_.palette_alpha;
  return caps;
}

AdapterInfo SoftwareDevice::Adapter() const {
  AdapterInfo info;
  info.desktop_width = options_.desktop_width;
  info.desktop_height = options_.desktop_height;
  info.desktop_16_bit = options_.desktop_16_bit;
  info.desktop_format = options_.desktop_16_bit ? "R5G6B5" : "X8R8G8B8";
  info.description = "Lumadoll software renderer";
  info.driver = "lumadoll-software";
  info.driver_version_high = (1u << 16) | 0u;  // product 1, version 0
  info.driver_version_low = (1u << 16) | 0u;   // sub-version 1, build 0
  return info;
}

void SoftwareDevice::FlushRect() {
  if (!pending_rect_) return;
  rasterizer_.Rect(rect_);
  pending_rect_ = false;
}

DeviceResult SoftwareDevice::DrawPrimitive(PrimitiveType type, int first_vertex,
                                           int primitive_count) {
  if (!in_scene_) return DeviceResult::kInvalidCall;
  auto* target = static_cast<SoftwareSurface*>(accounting_->bound_target);
  auto* stream = static_cast<SoftwareVertexBuffer*>(accounting_->bound_stream);
  if (target == nullptr || stream == nullptr || primitive_count < 0 || first_vertex < 0) {
    return DeviceResult::kInvalidCall;
  }
  if (primitive_count == 0) return DeviceResult::kOk;
  const bool textured_layout = vertex_format_ == VertexFormat::kPositionDiffuseTex1;
  const int layout_size = textured_layout ? 24 : 16;
  if (stride_ < layout_size) return DeviceResult::kInvalidCall;
  const int64_t needed =
      type == PrimitiveType::kTriangleList ? int64_t{3} * primitive_count : primitive_count + 2;
  if ((first_vertex + needed) * stride_ - (stride_ - layout_size) >
      static_cast<int64_t>(stream->length())) {
    return DeviceResult::kInvalidCall;
  }

  raster::Sampler sampler;
  auto* texture = static_cast<SoftwareTexture*>(accounting_->bound_texture);
  if (texture != nullptr) {
    sampler.bits = texture->data();
    sampler.pitch = texture->pitch();
    sampler.width = texture->width();
    sampler.height = texture->height();
    sampler.format = texture->format();
    if (texture->format() == TextureFormat::kP8) {
      if (current_palette_ >= palettes_.size() || !palettes_[current_palette_]) {
        return DeviceResult::kInvalidCall;
      }
      sampler.palette = palettes_[current_palette_]->colors.data();
      sampler.palette_opaque_or_clear = palettes_[current_palette_]->opaque_or_clear;
    }
  }
  ++draw_calls_;

  // Row vectors: clip = p * world * view * projection, done in double so
  // that whole-unit positions land exactly on the pixel grid. View times
  // projection changes once a frame, the world for every instance.
  if (view_projection_dirty_) {
    for (int l = 0; l < 4; ++l) {
      for (int j = 0; j < 4; ++j) {
        double sum = 0;
        for (int k = 0; k < 4; ++k) {
          sum += static_cast<double>(view_.m[l][k]) * static_cast<double>(projection_.m[k][j]);
        }
        view_projection_[l][j] = sum;
      }
    }
    view_projection_dirty_ = false;
  }
  double m[4][4];
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      double sum = 0;
      for (int l = 0; l < 4; ++l)
        sum += static_cast<double>(world_.m[i][l]) * view_projection_[l][j];
      m[i][j] = sum;
    }
  }
  const double half_w = target->width() * 0.5;
  const double half_h = target->height() * 0.5;
  screen_.resize(needed);
  screen_valid_.resize(needed);
  const uint8_t* base = stream->data() + static_cast<size_t>(first_vertex) * stride_;
  for (int64_t i = 0; i < needed; ++i) {
    const uint8_t* p = base + i * stride_;
    float pos[3];
    uint32_t diffuse;
    std::memcpy(pos, p, sizeof pos);
    std::memcpy(&diffuse, p + 12, 4);
    raster::ScreenVertex& sv = screen_[i];
    sv.diffuse = diffuse;
    if (textured_layout) {
      float uv[2];
      std::memcpy(uv, p + 16, sizeof uv);
      sv.u = uv[0];
      sv.v = uv[1];
    } else {
      sv.u = sv.v = 0;
    }
    const double x = pos[0], y = pos[1], z = pos[2];
    const double cx = x * m[0][0] + y * m[1][0] + z * m[2][0] + m[3][0];
    const double cy = x * m[0][1] + y * m[1][1] + z * m[2][1] + m[3][1];
    const double cw = x * m[0][3] + y * m[1][3] + z * m[2][3] + m[3][3];
    const double sx = (cx / cw + 1.0) * half_w;
    const double sy = (1.0 - cy / cw) * half_h;
    const bool ok = cw > 0 && std::fabs(sx) < kCoordinateLimit && std::fabs(sy) < kCoordinateLimit;
    screen_valid_[i] = ok;
    if (ok) {
      sv.fx = sx;
      sv.fy = sy;
      sv.x = std::llround(sx * raster::kSubpixel);
      sv.y = std::llround(sy * raster::kSubpixel);
    }
  }

  raster::Target rt{target->pixels(), target->width(), target->height(), target->width()};
  rasterizer_.Begin(rt, sampler, shading_);
  const raster::ScreenVertex* v = screen_.data();
  const uint8_t* valid = screen_valid_.data();
  auto drawn = [&](int a, int b, int c) {
    if (!valid[a] || !valid[b] || !valid[c]) return false;
    const __int128 w = Winding(v[a], v[b], v[c]);
    if (w == 0) return false;
    if (cull_ == CullMode::kCounterClockwise && w < 0) return false;
    if (cull_ == CullMode::kClockwise && w > 0) return false;
    return true;
  };
  switch (type) {
    case PrimitiveType::kTriangleList:
      for (int i = 0; i < primitive_count; ++i) {
        if (drawn(3 * i, 3 * i + 1, 3 * i + 2)) {
          rasterizer_.Triangle(v[3 * i], v[3 * i + 1], v[3 * i + 2]);
        }
      }
      break;
    case PrimitiveType::kTriangleFan:
      for (int i = 0; i < primitive_count; ++i) {
        if (drawn(0, i + 1, i + 2)) rasterizer_.Triangle(v[0], v[i + 1], v[i + 2]);
      }
      break;
    case PrimitiveType::kTriangleStrip:
      return DrawStrip(VertexSource{v, valid}, 0, primitive_count);
  }
  return DeviceResult::kOk;
}

// A strip is walked in pairs of triangles; a pair that forms an axis-aligned
// rectangle with its texture laid straight is drawn as one rectangle, and
// neighbouring rectangles that continue the same mapping are joined, so a
// row of tiles becomes one span per pixel row.
DeviceResult SoftwareDevice::DrawStrip(const VertexSource& src, int first, int count) {
  const raster::ScreenVertex* v = src.v;
  auto* texture = accounting_->bound_texture;
  const double tw = texture ? texture->width() : 0;
  const double th = texture ? texture->height() : 0;
  auto visible = [&](int a, int b, int c) {
    if (!src.valid[a] || !src.valid[b] || !src.valid[c]) return false;
    const __int128 w = Winding(v[a], v[b], v[c]);
    if (w == 0) return false;
    if (cull_ == CullMode::kCounterClockwise && w < 0) return false;
    if (cull_ == CullMode::kClockwise && w > 0) return false;
    return true;
  };
  auto as_rect = [&](int i, raster::ScreenRect* r) {
    const raster::ScreenVertex &a = v[i], &b = v[i + 1], &c = v[i + 2], &d = v[i + 3];
    if (a.diffuse != b.diffuse || a.diffuse != c.diffuse || a.diffuse != d.diffuse) return false;
    const raster::ScreenVertex* across;  // the corner beside a along x
    const raster::ScreenVertex* down;    // the corner beside a along y
    if (a.x == b.x && c.x == d.x && a.y == c.y && b.y == d.y && a.u == b.u && c.u == d.u &&
        a.v == c.v && b.v == d.v) {
      across = &c;
      down = &b;
    } else if (a.y == b.y && c.y == d.y && a.x == c.x && b.x == d.x && a.v == b.v && c.v == d.v &&
               a.u == c.u && b.u == d.u) {
      across = &b;
      down = &c;
    } else {
      return false;
    }
    *r = {a.x,      across->x,      a.y,      down->y,      a.fx,     across->fx, a.fy, down->fy,
          a.u * tw, across->u * tw, a.v * th, down->v * th, a.diffuse};
    return true;
  };

  pending_rect_ = false;
  int i = first;
  const int end = first + count;
  while (i < end) {
    raster::ScreenRect r;
    if (i + 1 < end && src.valid[i] && src.valid[i + 1] && src.valid[i + 2] && src.valid[i + 3] &&
        as_rect(i, &r)) {
      const bool even = ((i - first) % 2) == 0;
      if (visible(even ? i : i + 1, even ? i + 1 : i, i + 2)) {
        // Joined only when the texture runs on at the same rate, so every
        // pixel samples what it would have sampled in its own rectangle.
        const bool joins =
            pending_rect_ && rect_.x1 == r.x0 && rect_.y0 == r.y0 && rect_.y1 == r.y1 &&
            rect_.fy0 == r.fy0 && rect_.fy1 == r.fy1 && rect_.t0 == r.t0 && rect_.t1 == r.t1 &&
            rect_.diffuse == r.diffuse && rect_.s1 == r.s0 && rect_.fx1 == r.fx0 &&
            (rect_.s1 - rect_.s0) * (r.fx1 - r.fx0) == (r.s1 - r.s0) * (rect_.fx1 - rect_.fx0);
        if (joins) {
          rect_.x1 = r.x1;
          rect_.fx1 = r.fx1;
          rect_.s1 = r.s1;
        } else {
          FlushRect();
          rect_ = r;
          pending_rect_ = true;
        }
      } else {
        FlushRect();
      }
      i += 2;
      continue;
    }
    FlushRect();
    const bool even = ((i - first) % 2) == 0;
    const int a = even ? i : i + 1;
    const int b = even ? i + 1 : i;
    if (visible(a, b, i + 2)) rasterizer_.Triangle(v[a], v[b], v[i + 2]);
    ++i;
  }
  FlushRect();
  return DeviceResult::kOk;
}

}  // namespace luma
