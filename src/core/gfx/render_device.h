#ifndef LUMA_CORE_GFX_RENDER_DEVICE_H_
#define LUMA_CORE_GFX_RENDER_DEVICE_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/gfx/device_types.h"
#include "core/gfx/image.h"
#include "core/gfx/matrix.h"

namespace luma {

// A texture of one level. New textures hold zero in every texel (transparent
// in every format). The size may be larger than asked; read it back here.
class Texture {
 public:
  virtual ~Texture() = default;
  int width() const { return width_; }
  int height() const { return height_; }
  TextureFormat format() const { return format_; }

  // The whole texture; rows are addressed through the reported pitch.
  virtual LockedRect Lock() = 0;
  virtual void Unlock() = 0;

 protected:
  Texture(int width, int height, TextureFormat format)
      : width_(width), height_(height), format_(format) {}

 private:
  int width_;
  int height_;
  TextureFormat format_;
};

class VertexBuffer {
 public:
  virtual ~VertexBuffer() = default;
  size_t length() const { return length_; }
  VertexFormat format() const { return format_; }
  virtual uint8_t* Lock() = 0;  // the whole buffer
  virtual void Unlock() = 0;

 protected:
  VertexBuffer(size_t length, VertexFormat format) : length_(length), format_(format) {}

 private:
  size_t length_;
  VertexFormat format_;
};

// Something the device draws into: a swap chain's back buffer or an
// off-screen target. Pixels are 32-bit (X8R8G8B8 or A8R8G8B8).
class Surface {
 public:
  virtual ~Surface() = default;
  int width() const { return width_; }
  int height() const { return height_; }
  TextureFormat format() const { return format_; }
  virtual LockedRect Lock() = 0;
  virtual void Unlock() = 0;
  // The pixels as an image view; valid until the surface is released.
  virtual ImageView View() = 0;

 protected:
  Surface(int width, int height, TextureFormat format)
      : width_(width), height_(height), format_(format) {}

 private:
  int width_;
  int height_;
  TextureFormat format_;
};

// Receives a finished frame. The view shows it in its window.
using PresentFunction = std::function<void(const ImageView& frame)>;

class SwapChain {
 public:
  virtual ~SwapChain() = default;
  virtual Surface* BackBuffer() = 0;
  virtual DeviceResult Present() = 0;
};

// What the device offers, for the capability checks made at start-up.
struct DeviceCaps {
  bool windowed = true;
  bool texture_alpha = true;
  bool palette_alpha = true;
};

// Who the device is, for the adapter description.
struct AdapterInfo {
  int desktop_width = 0;
  int desktop_height = 0;
  std::string desktop_format;  // the name of the desktop's pixel format
  bool desktop_16_bit = false;
  std::string description;
  std::string driver;
  uint32_t driver_version_high = 0;  // product << 16 | version
  uint32_t driver_version_low = 0;   // sub-version << 16 | build
};

// How the renderer stores textures and palettes; fixed when the device is made.
struct DeviceFlags {
  // The device draws with the processor; there is no video card or video
  // memory to speak of, only the texture memory budget the device keeps.
  bool software_device = false;
  bool hardware_vertex_processing = false;
  bool alpha_palette_supported = false;
  bool paletted_textures = false;   // indexed cels become kP8 textures with device palettes
  bool sixteen_bit_texels = false;  // emulated textures use A4R4G4B4 instead of A8R8G8B8
  bool memory_saver = false;        // vertex buffers in system memory, evict before new textures
  bool texel_adjust = false;        // world translations shifted by half a unit
  int initial_video_memory_mb = 0;
  bool palette_warning_on = true;
};

// The one graphics device shared by every document and view. The renderer is
// written against these operations only; the software device implements them
// exactly and other backends may replace it.
class RenderDevice {
 public:
  static constexpr unsigned kPaletteBlockSize = 10;
  static constexpr unsigned kPaletteNumberLimit = 16000;

  virtual ~RenderDevice() = default;

  // Resources. Failures leave *out empty.
  virtual DeviceResult CreateTexture(int width, int height, TextureFormat format, MemoryPool pool,
                                     std::unique_ptr<Texture>* out) = 0;
  virtual DeviceResult CreateVertexBuffer(size_t length, VertexFormat format, MemoryPool pool,
                                          std::unique_ptr<VertexBuffer>* out) = 0;
  // An off-screen render target. `samples` above 1 asks for multisampling.
  virtual DeviceResult CreateRenderTarget(int width, int height, TextureFormat format, int samples,
                                          std::unique_ptr<Surface>* out) = 0;
  // Width or height below 1 means the desktop's.
  virtual DeviceResult CreateSwapChain(int width, int height, PresentFunction present,
                                       std::unique_ptr<SwapChain>* out) = 0;

  // Palettes: 256 entries each, alpha in the flags byte.
  virtual DeviceResult SetPaletteEntries(unsigned number, const PaletteEntry* entries) = 0;
  virtual DeviceResult SetCurrentTexturePalette(unsigned number) = 0;

  // Pipeline state.
  virtual void SetTransform(TransformKind kind, const Matrix4& matrix) = 0;
  virtual void SetRenderState(RenderState state, uint32_t value) = 0;
  virtual void SetTextureStageState(int stage, TextureStageState state, uint32_t value) = 0;
  virtual void SetVertexFormat(VertexFormat format) = 0;
  virtual void SetStreamSource(VertexBuffer* buffer, int stride) = 0;
  virtual void SetTexture(int stage, Texture* texture) = 0;
  // The viewport becomes the whole of the new target.
  virtual void SetRenderTarget(Surface* target) = 0;
  virtual Surface* GetRenderTarget() = 0;

  // Drawing into the current target.
  virtual DeviceResult Clear(uint32_t argb) = 0;
  virtual DeviceResult BeginScene() = 0;
  virtual DeviceResult EndScene() = 0;
  virtual DeviceResult DrawPrimitive(PrimitiveType type, int first_vertex, int primitive_count) = 0;

  // Evicts managed resources (they come back on next use).
  virtual void DiscardResources() = 0;
  virtual uint64_t AvailableTextureMemory() = 0;

  virtual DeviceCaps Caps() const = 0;
  virtual AdapterInfo Adapter() const = 0;

  const DeviceFlags& flags() const { return flags_; }
  DeviceFlags& mutable_flags() { return flags_; }

  // Ten consecutive palette numbers: the smallest free multiple of ten below
  // the limit; 0, not recorded, when all are taken.
  unsigned AllocatePaletteBase();
  void FreePaletteBase(unsigned base);
  size_t palette_bases_in_use() const { return palette_bases_.size(); }

 private:
  DeviceFlags flags_;
  std::vector<unsigned> palette_bases_;
};

// The states every drawing pass relies on: no lighting or dithering, no
// antialiasing, blending by source alpha, point sampling, texture alpha
// modulated by the vertex alpha, and the renderer's clockwise winding drawn.
void SetFixedRenderStates(RenderDevice& device);

}  // namespace luma

#endif  // LUMA_CORE_GFX_RENDER_DEVICE_H_
