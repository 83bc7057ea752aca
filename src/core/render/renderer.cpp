#include "core/render/renderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/model/kiss_cel.h"
#include "core/model/kiss_object.h"
#include "core/render/device_palettes.h"
#include "core/render/instance_geometry.h"

namespace luma {
namespace {

// Whether an instance has anything to draw: a texture, tiles, and some
// visible texel. Instances whose cel could not be decoded, or holds only
// transparent pixels, are passed over without touching their buffers.
bool HasPixels(const CelInstance& instance) {
  const KissCel* cel = instance.cel;
  return instance.geometry.drawable() && cel != nullptr && cel->texture != nullptr &&
         !cel->visible.empty();
}

// Places an instance's tiles at (x, y) in world units and selects its
// texture, vertices, palette and alpha rule for the strips that follow.
DeviceResult PrepareInstance(RenderDevice& device, const CelInstance& instance, float x, float y,
                             int palette_group, bool texture_alpha_only) {
  const InstanceGeometry& g = instance.geometry;
  const KissCel* cel = instance.cel;
  if (device.flags().texel_adjust) {
    x -= 0.5f;
    y += 0.5f;
  }
  device.SetTransform(TransformKind::kWorld, Matrix4::Translation(x, y, 0));
  if (device.flags().paletted_textures && cel->texture->format() == TextureFormat::kP8) {
    const DeviceResult result =
        device.SetCurrentTexturePalette(g.palette_base + static_cast<unsigned>(palette_group));
    if (result != DeviceResult::kOk) return result;
  }
  const bool select = texture_alpha_only || instance.transparency == 0;
  device.SetTextureStageState(
      0, TextureStageState::kAlphaOp,
      static_cast<uint32_t>(select ? TextureOp::kSelectArg1 : TextureOp::kModulate));
  device.SetTextureStageState(0, TextureStageState::kAlphaArg1,
                              static_cast<uint32_t>(TextureArg::kTexture));
  device.SetTextureStageState(0, TextureStageState::kAlphaArg2,
                              static_cast<uint32_t>(TextureArg::kDiffuse));
  device.SetTexture(0, cel->texture);
  device.SetStreamSource(g.vertex_buffer.get(), sizeof(TexturedVertex));
  return DeviceResult::kOk;
}

// One strip per tile row, from the row's first to its last visible tile.
// The tiles left out hold only texels of alpha 0, which change no pixel
// under the blending every pass uses, so the frame is the same as with
// whole rows; rows without a visible tile cost nothing.
DeviceResult DrawTileRows(RenderDevice& device, const InstanceGeometry& g) {
  const bool have_map = g.opacity.size() == static_cast<size_t>(g.columns) * g.rows;
  for (int r = 0; r < g.rows; ++r) {
    int first = 0, last = g.columns - 1;
    if (have_map) {
      const uint32_t* row = g.opacity.data() + static_cast<size_t>(r) * g.columns;
      while (first <= last && row[first] == 0) ++first;
      while (last >= first && row[last] == 0) --last;
      if (first > last) continue;
    }
    const DeviceResult result =
        device.DrawPrimitive(PrimitiveType::kTriangleStrip, r * g.vertices_per_row() + 2 * first,
                             2 * (last - first + 1));
    if (result != DeviceResult::kOk) return result;
  }
  return DeviceResult::kOk;
}

// Where an instance's cel sits in world units in a set.
void InstanceOrigin(const CelInstance& instance, int set, float ox, float oy, float* x, float* y) {
  int px = 0, py = 0;
  if (instance.object != nullptr) {
    const Position& p = instance.object->position[std::clamp(set, 0, kSetCount - 1)];
    px = p.x;
    py = p.y;
  }
  // Summed wide: a position and an offset may each be near the ends of int.
  *x = static_cast<float>(static_cast<double>(px) + instance.x_offset + ox);
  *y = static_cast<float>(oy - (static_cast<double>(py) + instance.y_offset));
}

}  // namespace

int Scene::group() const {
  if (palette_group >= 0) return std::min(palette_group, kPaletteGroupCount - 1);
  if (doll == nullptr) return 0;
  return std::clamp(doll->sets[std::clamp(set, 0, kSetCount - 1)].palette_group, 0,
                    kPaletteGroupCount - 1);
}

int Scene::doll_window_width() const {
  return window_width > 0 ? window_width : doll ? doll->playfield.width : 0;
}

int Scene::doll_window_height() const {
  return window_height > 0 ? window_height : doll ? doll->playfield.height : 0;
}

ViewGeometry SceneViewGeometry(const Scene& scene, int client_width, int client_height,
                               float scale) {
  ViewGeometry g;
  g.client_width = client_width;
  g.client_height = client_height;
  g.scale = scale;
  g.window_width = scene.doll_window_width();
  g.window_height = scene.doll_window_height();
  g.viewport_x = scene.viewport_x;
  g.viewport_y = scene.viewport_y;
  return g;
}

DeviceResult DrawInstance(RenderDevice& device, const CelInstance& instance, int set,
                          int palette_group, float ox, float oy) {
  if (!HasPixels(instance)) return DeviceResult::kOk;
  float x, y;
  InstanceOrigin(instance, set, ox, oy, &x, &y);
  const DeviceResult result = PrepareInstance(device, instance, x, y, palette_group, false);
  if (result != DeviceResult::kOk) return result;
  return DrawTileRows(device, instance.geometry);
}

DeviceResult DrawInstanceHighlighted(RenderDevice& device, const CelInstance& instance, int set,
                                     int palette_group, float ox, float oy) {
  if (!HasPixels(instance)) return DeviceResult::kOk;
  float x, y;
  InstanceOrigin(instance, set, ox, oy, &x, &y);
  DeviceResult result = PrepareInstance(device, instance, x, y, palette_group, true);
  if (result != DeviceResult::kOk) return result;
  device.SetTextureStageState(0, TextureStageState::kColorArg1,
                              static_cast<uint32_t>(TextureArg::kTextureComplement));
  result = DrawTileRows(device, instance.geometry);
  device.SetTextureStageState(0, TextureStageState::kColorArg1,
                              static_cast<uint32_t>(TextureArg::kTexture));
  return result;
}

DeviceResult DrawTile(RenderDevice& device, const CelQuad& quad, int set, int palette_group,
                      float ox, float oy) {
  if (quad.instance == nullptr) return DeviceResult::kInvalidCall;
  if (!HasPixels(*quad.instance)) return DeviceResult::kOk;
  float x, y;
  InstanceOrigin(*quad.instance, set, ox, oy, &x, &y);
  const DeviceResult result = PrepareInstance(device, *quad.instance, x, y, palette_group, false);
  if (result != DeviceResult::kOk) return result;
  return device.DrawPrimitive(PrimitiveType::kTriangleStrip, quad.first_vertex, 2);
}

DeviceResult DrawCelCentred(RenderDevice& device, const CelInstance& instance, int width,
                            int height, int palette_group) {
  if (!HasPixels(instance)) return DeviceResult::kOk;
  device.SetTransform(
      TransformKind::kProjection,
      Matrix4::OrthoLH(static_cast<float>(width), static_cast<float>(height), 0, 1));
  device.SetTransform(TransformKind::kView, Matrix4::Identity());
  // The object's frame (cel plus offset, as 16-bit sums) centred on the origin.
  const uint16_t frame_w = static_cast<uint16_t>(instance.cel->width + instance.x_offset);
  const uint16_t frame_h = static_cast<uint16_t>(instance.cel->height + instance.y_offset);
  const float x = static_cast<float>(instance.x_offset - (frame_w + 1) / 2);
  const float y = static_cast<float>((frame_h + 1) / 2 - instance.y_offset);
  device.SetVertexFormat(VertexFormat::kPositionDiffuseTex1);
  const DeviceResult result = PrepareInstance(device, instance, x, y, palette_group, true);
  if (result != DeviceResult::kOk) return result;
  return DrawTileRows(device, instance.geometry);
}

DeviceResult FrameRenderer::UpdateBorder(const Scene& scene) {
  const DollModel& doll = *scene.doll;
  BorderGeometry b;
  b.window_x = scene.viewport_x;
  b.window_y = scene.viewport_y;
  b.window_width = RoundUpToEven(scene.doll_window_width());
  b.window_height = RoundUpToEven(scene.doll_window_height());
  b.playfield_width = RoundUpToEven(doll.playfield.width);
  b.playfield_height = RoundUpToEven(doll.playfield.height);
  if (doll.palette_file_names.empty()) {
    b.face = scene.system_colors.face;
    b.light = scene.system_colors.light;
    b.dark = scene.system_colors.dark;
  } else {
    const GroupColors& colors = doll.group_colors[scene.group()];
    b.face = colors.border;
    b.light = colors.border_light;
    b.dark = colors.border_dark;
  }
  if (border_ && b == border_geometry_) return DeviceResult::kOk;
  if (!border_) {
    const MemoryPool pool =
        device_.flags().memory_saver ? MemoryPool::kSystemMemory : MemoryPool::kManaged;
    const DeviceResult result = device_.CreateVertexBuffer(
        kBorderVertexCount * sizeof(ColoredVertex), VertexFormat::kPositionDiffuse, pool, &border_);
    if (result != DeviceResult::kOk) return result;
  }
  const auto vertices = BuildBorderVertices(b);
  std::memcpy(border_->Lock(), vertices.data(), sizeof(vertices));
  border_->Unlock();
  border_geometry_ = b;
  return DeviceResult::kOk;
}

DeviceResult FrameRenderer::DrawFrame(SwapChain& chain, const Scene& scene,
                                      const ViewTransform& transform) {
  Surface* back = chain.BackBuffer();
  if (back == nullptr) return DeviceResult::kInvalidCall;
  const DeviceResult result = RenderToTarget(*back, scene, transform);
  if (result != DeviceResult::kOk) return result;
  return chain.Present();
}

DeviceResult FrameRenderer::RenderToTarget(Surface& target, const Scene& scene,
                                           const ViewTransform& transform) {
  RenderDevice& d = device_;
  d.SetRenderTarget(&target);
  SetFixedRenderStates(d);
  transform.Apply(d);
  DollModel* doll = scene.doll;
  const int group = scene.group();
  DeviceResult result = d.Clear(doll ? doll->group_colors[group].background : 0xFF000000);
  if (result != DeviceResult::kOk || doll == nullptr) return result;
  if (!d.flags().paletted_textures) ApplyGroupColours(*doll, group, false);
  const bool border = UpdateBorder(scene) == DeviceResult::kOk;
  if (d.BeginScene() != DeviceResult::kOk) return DeviceResult::kOk;  // try again next frame

  const float adjust = d.flags().texel_adjust ? 0.5f : 0.0f;
  const Matrix4 border_world =
      Matrix4::Translation(transform.ox - adjust, transform.oy + adjust, 0);
  auto fans = [&](std::initializer_list<int> firsts) {
    d.SetTexture(0, nullptr);
    d.SetVertexFormat(VertexFormat::kPositionDiffuse);
    d.SetStreamSource(border_.get(), sizeof(ColoredVertex));
    d.SetTransform(TransformKind::kWorld, border_world);
    for (int first : firsts) {
      const DeviceResult r =
          d.DrawPrimitive(PrimitiveType::kTriangleFan, first, kBorderFanTriangles);
      if (r != DeviceResult::kOk && result == DeviceResult::kOk) result = r;
    }
  };
  // Around the playfield, under the cels. When the doll window lies within
  // the playfield the fans over the cels cover all of this with the same
  // opaque colour, so it is left out.
  const BorderGeometry& b = border_geometry_;
  const bool window_inside_playfield = b.window_x >= 0 && b.window_y >= 0 &&
                                       int64_t{b.window_x} + b.window_width <= b.playfield_width &&
                                       int64_t{b.window_y} + b.window_height <= b.playfield_height;
  if (border && !window_inside_playfield) fans({24, 30});
  d.SetVertexFormat(VertexFormat::kPositionDiffuseTex1);
  const int set = std::clamp(scene.set, 0, kSetCount - 1);
  const auto& instances = doll->instances();
  for (auto it = instances.rbegin(); it != instances.rend(); ++it) {
    const CelInstance& instance = **it;
    if (!instance.in_set[set] || !instance.mapped || instance.transparency >= 255) continue;
    const DeviceResult r = DrawInstance(d, instance, set, group, transform.ox, transform.oy);
    if (r != DeviceResult::kOk && result == DeviceResult::kOk) result = r;
  }
  if (border) {
    if (scene.edged_border) {
      fans({0, 6, 12, 18});
    } else {
      fans({0, 6});
    }
  }
  d.SetTexture(0, nullptr);
  d.SetStreamSource(nullptr, 0);
  d.EndScene();
  return result;
}

RenderCounters CountRenderResources(const DollModel& doll, const TexturePool& pool) {
  RenderCounters c;
  for (const auto& instance : doll.instances()) c.quads += QuadCount(*instance);
  c.textures = pool.texture_count();
  c.texture_bytes = pool.texture_bytes();
  c.used_blocks = pool.used_blocks();
  c.total_blocks = pool.total_blocks();
  return c;
}

}  // namespace luma
