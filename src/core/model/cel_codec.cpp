#include "core/model/cel_codec.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "core/gfx/argb.h"
#include "core/host/file_io.h"
#include "core/host/little_endian.h"
#include "core/host/text.h"

namespace luma {
namespace {

constexpr size_t kHeaderSize = 32;
constexpr size_t kHeaderlessSize = 4;
constexpr uint8_t kCelMark = 0x20;
constexpr uint8_t kTrueColorCelMark = 0x21;
constexpr int kMinTextureSide = 16;

uint64_t RowBytes(int bits, int width) {
  switch (bits) {
    case 4:
      return (static_cast<uint64_t>(width) + 1) / 2;
    case 8:
      return static_cast<uint64_t>(width);
    default:
      return static_cast<uint64_t>(width) * 4;
  }
}

std::string TextureFailure(DeviceResult result) {
  switch (result) {
    case DeviceResult::kNotAvailable:
      return "Graphics device format not supported";
    case DeviceResult::kInvalidCall:
      return "Graphics device invalid call";
    case DeviceResult::kOutOfMemory:
      return "Graphics device out of memory";
    case DeviceResult::kOutOfVideoMemory:
      return "Graphics device out of video memory";
    default:
      return std::string("Graphics device unable to create texture:\n") + DeviceResultText(result);
  }
}

// A cel's region of its texture.
struct Region {
  uint8_t* origin;
  int pitch;
  int bpp;
  uint8_t* texel(int x, int y) const {
    return origin + static_cast<ptrdiff_t>(y) * pitch + x * bpp;
  }
};

Region RegionOf(const KissCel& cel, const LockedRect& lock) {
  const int bpp = BytesPerTexel(cel.texture->format());
  return {lock.bits + static_cast<ptrdiff_t>(cel.texture_y) * lock.pitch + cel.texture_x * bpp,
          lock.pitch, bpp};
}

void DropTexture(KissCel& cel, TexturePool* pool) {
  if (pool && cel.texture) {
    pool->Free(cel.texture, cel.texture_x, cel.texture_y, std::max<int>(cel.width, kMinTextureSide),
               std::max<int>(cel.height, kMinTextureSide));
  }
  cel.texture = nullptr;
  cel.texture_x = cel.texture_y = 0;
  cel.texture_width = cel.texture_height = 0;
  cel.texture_shared = false;
  cel.index_buffer.reset();
  cel.last_table.reset();
  cel.present = false;
}

// Asks the pool for a region of at least 16 x 16 for the cel's size.
Status RequestTexture(KissCel& cel, bool indexed, const CelTextureSource& source) {
  const TextureFormat format = CelTextureFormat(indexed, source.device->flags());
  TextureRegion region;
  const DeviceResult result = source.pool->Allocate(
      *source.device, source.recycle, kCelTextureOwner, std::max<int>(cel.width, kMinTextureSide),
      std::max<int>(cel.height, kMinTextureSide), format, &region);
  if (result != DeviceResult::kOk) return Status::Error(TextureFailure(result));
  cel.texture = region.texture;
  cel.texture_x = static_cast<uint16_t>(region.x);
  cel.texture_y = static_cast<uint16_t>(region.y);
  cel.texture_width = static_cast<uint16_t>(region.texture_width);
  cel.texture_height = static_cast<uint16_t>(region.texture_height);
  cel.texture_shared = region.in_existing_page;
  return Status::Ok();
}

class BoxBuilder {
 public:
  BoxBuilder(int width, int height) : left_(width), top_(height) {}
  void Row(int y, int row_left, int row_right) {
    if (row_right <= row_left) return;
    left_ = std::min(left_, row_left);
    right_ = std::max(right_, row_right);
    top_ = std::min(top_, y);
    bottom_ = y + 1;
  }
  VisibleBox Box() const {
    if (right_ <= left_) return VisibleBox();
    return {static_cast<uint16_t>(left_), static_cast<uint16_t>(top_),
            static_cast<uint16_t>(right_ - left_), static_cast<uint16_t>(bottom_ - top_)};
  }

 private:
  int left_, top_;
  int right_ = 0, bottom_ = 0;
};

}  // namespace

TextureFormat CelTextureFormat(bool indexed, const DeviceFlags& flags) {
  if (indexed && flags.paletted_textures) return TextureFormat::kP8;
  return flags.sixteen_bit_texels ? TextureFormat::kA4R4G4B4 : TextureFormat::kA8R8G8B8;
}

Status DecodeCel(KissCel& cel, std::span<const uint8_t> bytes, const CelTextureSource& source) {
  DropTexture(cel, source.pool);
  const size_t length = bytes.size();
  const Status too_short =
      Status::Error(StringPrintf("Unexpected end of file at %d bytes", static_cast<int>(length)));
  if (length < 5) return too_short;
  const uint8_t* b = bytes.data();
  const bool header =
      std::memcmp(b, "KiSS", 4) == 0 && (b[4] == kCelMark || b[4] == kTrueColorCelMark);
  int bits = 4;
  int width, height, x_offset = 0, y_offset = 0;
  size_t data_offset;
  if (header) {
    if (length < kHeaderSize) return too_short;
    bits = b[5];
    width = LoadLe16(b + 8);
    height = LoadLe16(b + 10);
    x_offset = LoadLe16(b + 12);
    y_offset = LoadLe16(b + 14);
    data_offset = kHeaderSize;
    if (bits != 4 && bits != 8 && bits != 32) {
      return Status::Error(StringPrintf("Bits per pixel (%d) invalid", bits));
    }
  } else {
    width = LoadLe16(b);
    height = LoadLe16(b + 2);
    data_offset = kHeaderlessSize;
  }
  const uint64_t row_bytes = RowBytes(bits, width);
  if (length < data_offset + row_bytes * height) return too_short;
  if (width > kMaxCelSide || height > kMaxCelSide) {
    return Status::Error(
        StringPrintf("Cel too large: %d x %d pixels (at most %d in each direction)", width, height,
                     kMaxCelSide));
  }

  cel.kind = header ? CelKind::kHeader : CelKind::kHeaderless;
  cel.width = static_cast<uint16_t>(width);
  cel.height = static_cast<uint16_t>(height);
  cel.x_offset = static_cast<uint16_t>(x_offset);
  cel.y_offset = static_cast<uint16_t>(y_offset);
  cel.depth = bits == 4 ? 16 : bits == 8 ? 256 : 0;
  const bool indexed = bits != 32;
  if (Status texture = RequestTexture(cel, indexed, source); !texture.ok()) return texture;
  const TextureFormat format = cel.texture->format();
  std::shared_ptr<std::vector<uint8_t>> indices;
  if (indexed && format != TextureFormat::kP8) {
    try {
      indices = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(width) * height);
    } catch (const std::bad_alloc&) {
      DropTexture(cel, source.pool);
      return Status::Error("Out of system memory");
    }
  }

  const LockedRect lock = cel.texture->Lock();
  const Region region = RegionOf(cel, lock);
  BoxBuilder box(width, height);
  const uint8_t* data = b + data_offset;
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = data + y * row_bytes;
    uint8_t* dst = region.texel(0, y);
    int row_left = width, row_right = 0;
    if (indexed) {
      uint8_t* out = indices ? indices->data() + static_cast<size_t>(y) * width : dst;
      for (int x = 0; x < width; ++x) {
        const uint8_t v = bits == 8 ? src[x] : (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
        out[x] = v;
        if (v != 0) {
          row_left = std::min(row_left, x);
          row_right = x + 1;
        }
      }
    } else if (format == TextureFormat::kA8R8G8B8) {
      std::memcpy(dst, src, static_cast<size_t>(width) * 4);
      for (int x = 0; x < width; ++x) {
        if (src[x * 4 + 3] != 0) {
          row_left = std::min(row_left, x);
          row_right = x + 1;
        }
      }
    } else {
      for (int x = 0; x < width; ++x) {
        const uint16_t texel = ReduceToA4R4G4B4(LoadLe32(src + x * 4));
        std::memcpy(dst + x * 2, &texel, 2);
        if ((texel >> 12) != 0) {
          row_left = std::min(row_left, x);
          row_right = x + 1;
        }
      }
    }
    box.Row(y, row_left, row_right);
  }
  cel.texture->Unlock();
  cel.visible = box.Box();
  cel.index_buffer = std::move(indices);
  cel.present = true;
  return Status::Ok();
}

void ReleaseCelTexture(KissCel& cel, TexturePool& pool) { DropTexture(cel, &pool); }

Status MakeClone(KissCel& cel, const CelTextureSource& source) {
  if (cel.base == nullptr) return Status::Error("This is not a clone.");
  const KissCel& base = *cel.base;
  DropTexture(cel, source.pool);
  // Nothing to take the pixels from; the base's own failure was reported.
  if (!base.present || base.texture == nullptr)
    return Status::Error("The cel it copies was not read");
  cel.index_buffer = base.index_buffer;
  cel.x_offset = base.x_offset;
  cel.y_offset = base.y_offset;
  cel.width = base.width;
  cel.height = base.height;
  cel.visible = base.visible;
  cel.depth = base.depth;
  cel.kind = base.kind;
  if (Status texture = RequestTexture(cel, base.indexed(), source); !texture.ok()) {
    cel.index_buffer.reset();
    return texture;
  }
  if (!cel.index_buffer) {
    // A cel without indices (32 bits a pixel) has nothing a palette could
    // fill in later: its clone starts as a copy of the base's texels.
    const LockedRect to = cel.texture->Lock();
    const LockedRect from = base.texture->Lock();
    const Region dst = RegionOf(cel, to);
    const Region src = RegionOf(base, from);
    for (int y = 0; y < base.height; ++y) {
      std::memcpy(dst.texel(0, y), src.texel(0, y), static_cast<size_t>(base.width) * dst.bpp);
    }
    base.texture->Unlock();
    cel.texture->Unlock();
  }
  cel.present = true;
  return Status::Ok();
}

void ApplyPalette(KissCel& cel, const ColorTable& table, bool force) {
  if (!cel.index_buffer || cel.texture == nullptr) return;
  if (!force && cel.last_table && *cel.last_table == table) return;
  const LockedRect lock = cel.texture->Lock();
  const Region region = RegionOf(cel, lock);
  const uint8_t* indices = cel.index_buffer->data();
  if (region.bpp == 4) {
    for (int y = 0; y < cel.height; ++y) {
      uint8_t* dst = region.texel(0, y);
      const uint8_t* row = indices + static_cast<size_t>(y) * cel.width;
      for (int x = 0; x < cel.width; ++x) std::memcpy(dst + x * 4, &table[row[x]], 4);
    }
  } else {
    uint16_t reduced[kPaletteColorCount];
    for (int i = 0; i < kPaletteColorCount; ++i) reduced[i] = ReduceToA4R4G4B4(table[i]);
    for (int y = 0; y < cel.height; ++y) {
      uint8_t* dst = region.texel(0, y);
      const uint8_t* row = indices + static_cast<size_t>(y) * cel.width;
      for (int x = 0; x < cel.width; ++x) std::memcpy(dst + x * 2, &reduced[row[x]], 2);
    }
  }
  cel.texture->Unlock();
  cel.last_table = table;
}

namespace {

// `min_alpha4`: the least 4-bit alpha that counts in a 16-bit texel.
bool PixelAtLeast(const KissCel& cel, int x, int y, int min_alpha4) {
  if (cel.texture == nullptr || x < 0 || y < 0 || x >= cel.width || y >= cel.height) return false;
  // Emulated palettes leave the texture transparent until colours are
  // applied; the indices are the truth from the start.
  if (cel.index_buffer) return (*cel.index_buffer)[static_cast<size_t>(y) * cel.width + x] != 0;
  const LockedRect lock = cel.texture->Lock();
  const uint8_t* texel = RegionOf(cel, lock).texel(x, y);
  bool opaque;
  switch (cel.texture->format()) {
    case TextureFormat::kP8:
      opaque = texel[0] != 0;
      break;
    case TextureFormat::kA4R4G4B4:
      opaque = (texel[1] >> 4) >= min_alpha4;
      break;
    default:
      opaque = texel[3] != 0;
      break;
  }
  cel.texture->Unlock();
  return opaque;
}

}  // namespace

bool IsOpaque(const KissCel& cel, int x, int y) { return PixelAtLeast(cel, x, y, 1); }

bool IsSolidForCollision(const KissCel& cel, int x, int y) { return PixelAtLeast(cel, x, y, 2); }

Result<std::vector<uint8_t>> EncodeCel(const KissCel& cel) {
  if (cel.texture == nullptr) {
    return Status::Error(cel.file_name + ": the cel has no image to write");
  }
  const int bits = cel.depth == 0 ? 32 : cel.depth == 16 ? 4 : 8;
  const uint64_t row_bytes = RowBytes(bits, cel.width);
  std::vector<uint8_t> out(kHeaderSize + row_bytes * cel.height, 0);
  std::memcpy(out.data(), "KiSS", 4);
  out[4] = cel.depth == 0 ? kTrueColorCelMark : kCelMark;
  out[5] = static_cast<uint8_t>(bits);
  StoreLe16(&out[8], cel.width);
  StoreLe16(&out[10], cel.height);
  StoreLe16(&out[12], cel.x_offset);
  StoreLe16(&out[14], cel.y_offset);

  const LockedRect lock = cel.texture->Lock();
  const Region region = RegionOf(cel, lock);
  const TextureFormat format = cel.texture->format();
  for (int y = 0; y < cel.height; ++y) {
    uint8_t* dst = out.data() + kHeaderSize + y * row_bytes;
    const uint8_t* src = region.texel(0, y);
    if (bits == 32) {
      if (format == TextureFormat::kA4R4G4B4) {
        for (int x = 0; x < cel.width; ++x) {
          uint16_t texel;
          std::memcpy(&texel, src + x * 2, 2);
          const uint32_t argb = WidenA4R4G4B4(texel);
          std::memcpy(dst + x * 4, &argb, 4);
        }
      } else {
        std::memcpy(dst, src, static_cast<size_t>(cel.width) * 4);
      }
      continue;
    }
    const uint8_t* indices =
        cel.index_buffer ? cel.index_buffer->data() + static_cast<size_t>(y) * cel.width : src;
    if (bits == 8) {
      std::memcpy(dst, indices, cel.width);
    } else {
      for (int x = 0; x < cel.width; ++x) {
        const uint8_t nibble = indices[x] & 0x0F;
        dst[x >> 1] |= (x & 1) ? nibble : static_cast<uint8_t>(nibble << 4);
      }
    }
  }
  cel.texture->Unlock();
  return out;
}

Status WriteCel(FileSystem& files, const KissCel& cel, const std::string& path) {
  Result<std::vector<uint8_t>> bytes = EncodeCel(cel);
  if (!bytes.ok()) return bytes.status();
  return ReplaceFile(files, path, *bytes);
}

}  // namespace luma
