#ifndef LUMA_CORE_GFX_SOFTWARE_DEVICE_H_
#define LUMA_CORE_GFX_SOFTWARE_DEVICE_H_

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/gfx/render_device.h"
#include "core/gfx/software_rasterizer.h"

namespace luma {

// How the software device presents itself. The defaults describe a 32-bit
// desktop; tests and the command-line switches change them.
struct SoftwareDeviceOptions {
  int desktop_width = 1920;
  int desktop_height = 1080;
  // Behave like a 16-bit desktop: emulated palettes write A4R4G4B4 texels.
  bool desktop_16_bit = false;
  // Offer no alpha in texture palettes, so palettes are emulated.
  bool palette_alpha = true;
  // The texture memory the device reports and enforces.
  uint64_t texture_memory_bytes = uint64_t{1} << 30;
  // Extra bytes at the end of every texture row, so that callers that
  // ignore the row pitch show up in tests.
  int row_padding = 0;
};

// The reference backend: every operation done exactly on the CPU. Pixel
// centres lie on whole pixels; edges follow the top-left rule; sampling is by
// point; blending rounds to the nearest value. Axis-aligned textured quads,
// the renderer's every tile, are drawn by integer stepping without per-pixel
// matrix work.
class SoftwareDevice : public RenderDevice {
 public:
  explicit SoftwareDevice(const SoftwareDeviceOptions& options = {});
  ~SoftwareDevice() override;

  DeviceResult CreateTexture(int width, int height, TextureFormat format, MemoryPool pool,
                             std::unique_ptr<Texture>* out) override;
  DeviceResult CreateVertexBuffer(size_t length, VertexFormat format, MemoryPool pool,
                                  std::unique_ptr<VertexBuffer>* out) override;
  DeviceResult CreateRenderTarget(int width, int height, TextureFormat format, int samples,
                                  std::unique_ptr<Surface>* out) override;
  DeviceResult CreateSwapChain(int width, int height, PresentFunction present,
                               std::unique_ptr<SwapChain>* out) override;

  DeviceResult SetPaletteEntries(unsigned number, const PaletteEntry* entries) override;
  DeviceResult SetCurrentTexturePalette(unsigned number) override;

  void SetTransform(TransformKind kind, const Matrix4& matrix) override;
  void SetRenderState(RenderState state, uint32_t value) override;
  void SetTextureStageState(int stage, TextureStageState state, uint32_t value) override;
  void SetVertexFormat(VertexFormat format) override;
  void SetStreamSource(VertexBuffer* buffer, int stride) override;
  void SetTexture(int stage, Texture* texture) override;
  void SetRenderTarget(Surface* target) override;
  Surface* GetRenderTarget() override { return target_; }

  DeviceResult Clear(uint32_t argb) override;
  DeviceResult BeginScene() override;
  DeviceResult EndScene() override;
  DeviceResult DrawPrimitive(PrimitiveType type, int first_vertex, int primitive_count) override;

  void DiscardResources() override { ++discard_count_; }
  uint64_t AvailableTextureMemory() override;

  DeviceCaps Caps() const override;
  AdapterInfo Adapter() const override;

  // For tests.
  int discard_count() const { return discard_count_; }
  int draw_calls() const { return draw_calls_; }

  struct Accounting;

 private:
  struct VertexSource;
  DeviceResult DrawStrip(const VertexSource& src, int first, int count);
  void FlushRect();

  SoftwareDeviceOptions options_;
  std::shared_ptr<Accounting> accounting_;
  Surface* target_ = nullptr;
  VertexBuffer* stream_ = nullptr;
  int stride_ = 0;
  VertexFormat vertex_format_ = VertexFormat::kPositionDiffuseTex1;
  Texture* texture_ = nullptr;
  Matrix4 world_, view_, projection_;
  double view_projection_[4][4] = {};
  bool view_projection_dirty_ = true;
  raster::Shading shading_;
  CullMode cull_ = CullMode::kCounterClockwise;
  struct Palette {
    std::array<uint32_t, 256> colors;
    bool opaque_or_clear;  // every alpha is 0 or 255
  };
  std::vector<std::unique_ptr<Palette>> palettes_;
  unsigned current_palette_ = 0;
  bool in_scene_ = false;
  int discard_count_ = 0;
  int draw_calls_ = 0;
  raster::Rasterizer rasterizer_;
  std::vector<raster::ScreenVertex> screen_;
  std::vector<uint8_t> screen_valid_;
  bool pending_rect_ = false;
  raster::ScreenRect rect_{};
};

}  // namespace luma

#endif  // LUMA_CORE_GFX_SOFTWARE_DEVICE_H_
