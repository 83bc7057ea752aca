#ifndef LUMA_CORE_GFX_DEVICE_TYPES_H_
#define LUMA_CORE_GFX_DEVICE_TYPES_H_

#include <cstdint>
#include <string>

// Values exchanged with a RenderDevice: result codes, formats, states and the
// vertex layouts the renderer uses.
namespace luma {

// The device's answer to one call, as a graphics API gives it: a code that
// its callers branch on (fall back to another format, evict textures when
// video memory runs out, retry a render target without multisampling), not
// the engine's error path. Where a failure leaves the drawing code it becomes
// a Status worded for the user (the cel loader and the render-target
// fallbacks have their own texts per code).
enum class DeviceResult {
  kOk,
  kNotAvailable,      // the format or feature is not offered
  kInvalidCall,       // bad arguments or a call in the wrong state
  kOutOfMemory,       // system memory exhausted
  kOutOfVideoMemory,  // texture memory exhausted
  kDeviceError,       // anything else
};

// The device's own short description of a result, for messages.
const char* DeviceResultText(DeviceResult result);

enum class TextureFormat : uint8_t {
  kP8,        // one palette index per texel; colour and alpha from the selected palette
  kA4R4G4B4,  // 16 bits: alpha, red, green, blue nibbles (alpha in the top nibble)
  kA8R8G8B8,  // 32 bits: bytes blue, green, red, alpha in memory
  kX8R8G8B8,  // 32 bits, alpha ignored (reads as opaque); render targets only
};

int BytesPerTexel(TextureFormat format);
const char* TextureFormatName(TextureFormat format);

// Where a resource lives. Managed resources may be evicted by DiscardResources
// and come back by themselves; system-memory ones never leave.
enum class MemoryPool { kManaged, kSystemMemory };

// The renderer's two vertex layouts.
enum class VertexFormat : uint8_t {
  kPositionDiffuseTex1,  // TexturedVertex
  kPositionDiffuse,      // ColoredVertex
};

struct TexturedVertex {
  float x, y, z;
  uint32_t diffuse;  // ARGB
  float u, v;
};
static_assert(sizeof(TexturedVertex) == 24);

struct ColoredVertex {
  float x, y, z;
  uint32_t diffuse;  // ARGB
};
static_assert(sizeof(ColoredVertex) == 16);

enum class PrimitiveType : uint8_t { kTriangleList, kTriangleStrip, kTriangleFan };
enum class TransformKind : uint8_t { kWorld, kView, kProjection };

// One entry of a device palette; `flags` carries the alpha.
struct PaletteEntry {
  uint8_t red, green, blue, flags;
};

enum class RenderState : uint8_t {
  kLighting,
  kDitherEnable,
  kMultisampleAntialias,
  kEdgeAntialias,
  kAlphaBlendEnable,
  kSrcBlend,   // a Blend
  kDestBlend,  // a Blend
  kCullMode,   // a CullMode
};

enum class Blend : uint32_t { kZero, kOne, kSrcAlpha, kInvSrcAlpha };
// Which screen winding is discarded. Counter-clockwise by default.
enum class CullMode : uint32_t { kNone, kClockwise, kCounterClockwise };

enum class TextureStageState : uint8_t {
  kColorOp,
  kColorArg1,
  kColorArg2,
  kAlphaOp,
  kAlphaArg1,
  kAlphaArg2,
  kMagFilter,
  kMinFilter,
  kMipFilter,
};

enum class TextureOp : uint32_t { kDisable, kSelectArg1, kSelectArg2, kModulate };
// A stage without a texture reads its texture argument as opaque white.
// kTextureComplement is the texture with every channel inverted (255 - c),
// which highlights draw with.
enum class TextureArg : uint32_t { kDiffuse, kCurrent, kTexture, kTextureComplement };
enum class TextureFilter : uint32_t { kNone, kPoint, kLinear };

// Direct access to a locked texture or surface. Rows are `pitch` bytes apart,
// which may be more than width times the texel size.
struct LockedRect {
  uint8_t* bits = nullptr;
  int pitch = 0;
};

}  // namespace luma

#endif  // LUMA_CORE_GFX_DEVICE_TYPES_H_
