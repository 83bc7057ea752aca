#ifndef LUMA_CORE_MODEL_CEL_CODEC_H_
#define LUMA_CORE_MODEL_CEL_CODEC_H_

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/gfx/render_device.h"
#include "core/gfx/texture_pool.h"
#include "core/host/file_system.h"
#include "core/host/status.h"
#include "core/model/kiss_cel.h"
#include "core/model/kiss_palette.h"

// CEL image files and their way onto the graphics device. Forms: with the
// "KiSS" header (mark 0x20 or 0x21; 4, 8 or 32 bits a pixel; offsets) and
// headerless (width, height, 4-bit rows). Rows run top to bottom; a 4-bit
// byte holds the left pixel in its high nibble; 32-bit pixels are blue,
// green, red, alpha. Index 0 is transparent in every indexed cel.
namespace luma {

// Where cel textures come from: the shared device and the document's pool.
struct CelTextureSource {
  RenderDevice* device = nullptr;
  TexturePool* pool = nullptr;
  bool recycle = false;  // "Recycle Textures": small cels share pages
};

// Cel textures of one document share one owner key, so any cel may go in
// any of the document's pages of the right format.
inline constexpr int kCelTextureOwner = 1;

// Cels wider or taller than this are refused rather than given a texture.
inline constexpr int kMaxCelSide = 16384;

// The texel format a cel's texture is made in.
TextureFormat CelTextureFormat(bool indexed, const DeviceFlags& flags);

// Decodes a CEL held in memory into `cel` and a texture region. Indexed cels
// keep their indices in the texture (paletted textures) or in an index
// buffer (emulation: the texture stays transparent until ApplyPalette).
// On failure the cel has no texture, is not present and the status says why.
Status DecodeCel(KissCel& cel, std::span<const uint8_t> bytes, const CelTextureSource& source);

// Gives the cel's texture region back to the pool it came from; the cel is
// no longer present.
void ReleaseCelTexture(KissCel& cel, TexturePool& pool);

// Builds a clone's texture from its base cel: the base's indices (shared)
// or, for a cel without indices, a copy of the base's texels.
Status MakeClone(KissCel& cel, const CelTextureSource& source);

// Writes the colours of `table` into the texture of an emulated indexed cel.
// Does nothing without an index buffer, or when the table equals the one
// written last and `force` is off.
void ApplyPalette(KissCel& cel, const ColorTable& table, bool force);

// The pixel at (x, y) of the cel is not transparent (false outside it).
bool IsOpaque(const KissCel& cel, int x, int y);
// The pixel counts for collisions: as IsOpaque, except that a 16-bit texel
// needs an alpha above 1 of 15, so soft edges do not touch.
bool IsSolidForCollision(const KissCel& cel, int x, int y);

// The cel as a header-form CEL file, its pixels read back from the texture
// or the index buffer.
Result<std::vector<uint8_t>> EncodeCel(const KissCel& cel);
// Writes through a temporary file and a rename.
Status WriteCel(FileSystem& files, const KissCel& cel, const std::string& path);

}  // namespace luma

#endif  // LUMA_CORE_MODEL_CEL_CODEC_H_
