#include "core/model/cel_codec.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/gfx/argb.h"
#include "core/gfx/software_device.h"

namespace luma {
namespace {

std::vector<uint8_t> CelHeader(int bits, int w, int h, int xo = 0, int yo = 0,
                               uint8_t mark = 0x20) {
  std::vector<uint8_t> b(32, 0);
  std::memcpy(b.data(), "KiSS", 4);
  b[4] = mark;
  b[5] = static_cast<uint8_t>(bits);
  const int values[] = {w, h, xo, yo};
  for (int i = 0; i < 4; ++i) {
    b[8 + 2 * i] = static_cast<uint8_t>(values[i]);
    b[9 + 2 * i] = static_cast<uint8_t>(values[i] >> 8);
  }
  return b;
}

std::vector<uint8_t> With(std::vector<uint8_t> head, std::initializer_list<uint8_t> data) {
  head.insert(head.end(), data);
  return head;
}

// A device and a document pool, with the device's mode chosen per test.
class CelFixture : public ::testing::Test {
 protected:
  void Mode(bool paletted, bool sixteen_bit = false) {
    device_.mutable_flags().paletted_textures = paletted;
    device_.mutable_flags().sixteen_bit_texels = sixteen_bit;
  }
  CelTextureSource source() { return {&device_, &pool_, true}; }

  Status Decode(KissCel& cel, const std::vector<uint8_t>& bytes) {
    return DecodeCel(cel, bytes, source());
  }

  // The texel bytes at (x, y) of the cel's region, as a little-endian number.
  uint32_t Texel(const KissCel& cel, int x, int y) {
    const LockedRect lock = cel.texture->Lock();
    const int bpp = BytesPerTexel(cel.texture->format());
    uint32_t v = 0;
    std::memcpy(&v, lock.bits + (cel.texture_y + y) * lock.pitch + (cel.texture_x + x) * bpp, bpp);
    cel.texture->Unlock();
    return v;
  }

  SoftwareDevice device_{[] {
    SoftwareDeviceOptions o;
    o.row_padding = 8;  // pitch differs from width: catches code that ignores it
    return o;
  }()};
  TexturePool pool_;
};

TEST_F(CelFixture, HeaderlessFourBitRowsIgnoreThePaddingNibble) {
  Mode(true);
  KissCel cel;
  // 3 x 2: two bytes a row; the low nibble of each row's second byte is padding.
  const std::vector<uint8_t> bytes = {3, 0, 2, 0, 0x12, 0x3F, 0x40, 0x5E};
  ASSERT_TRUE(Decode(cel, bytes).ok());
  EXPECT_EQ(cel.kind, CelKind::kHeaderless);
  EXPECT_EQ(cel.depth, 16);
  EXPECT_EQ(cel.texture->format(), TextureFormat::kP8);
  const uint32_t expect[2][4] = {{1, 2, 3, 0}, {4, 0, 5, 0}};
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Texel(cel, x, y), expect[y][x]) << x << "," << y;
  }
  EXPECT_FALSE(IsOpaque(cel, 1, 1));
  EXPECT_TRUE(IsOpaque(cel, 2, 1));
  EXPECT_FALSE(IsOpaque(cel, 3, 0));  // outside the cel

  KissCel short_cel;
  EXPECT_EQ(Decode(short_cel, std::vector<uint8_t>(bytes.begin(), bytes.end() - 1)).message(),
            "Unexpected end of file at 7 bytes");
  EXPECT_FALSE(short_cel.present);
  EXPECT_EQ(short_cel.texture, nullptr);
}

TEST_F(CelFixture, HeaderFormsAndTheirFailures) {
  Mode(true);
  KissCel cel;
  // 5 x 1 at 4 bits: three bytes, the last one's low nibble ignored.
  ASSERT_TRUE(Decode(cel, With(CelHeader(4, 5, 1, 7, 9), {0x12, 0x34, 0x5F})));
  EXPECT_EQ(cel.kind, CelKind::kHeader);
  EXPECT_EQ(cel.x_offset, 7);
  EXPECT_EQ(cel.y_offset, 9);
  EXPECT_EQ(Texel(cel, 4, 0), 5u);
  EXPECT_EQ(Texel(cel, 5, 0), 0u);
  EXPECT_GE(cel.texture_width, 16);
  EXPECT_GE(cel.texture_height, 16);

  EXPECT_EQ(Decode(cel, With(CelHeader(16, 1, 1), {0, 0})).message(),
            "Bits per pixel (16) invalid");
  std::vector<uint8_t> cut = CelHeader(8, 1, 1);
  cut.pop_back();
  EXPECT_EQ(Decode(cel, cut).message(), "Unexpected end of file at 31 bytes");
  // Either mark opens a header cel of any depth.
  ASSERT_TRUE(Decode(cel, With(CelHeader(8, 2, 1, 0, 0, 0x21), {9, 0})));
  EXPECT_EQ(cel.depth, 256);
}

TEST_F(CelFixture, AbsurdSizesAreRefusedBeforeAnyAllocation) {
  Mode(true);
  KissCel cel;
  // A header that claims 60000 x 60000 pixels in a tiny file: a short file.
  EXPECT_EQ(Decode(cel, With(CelHeader(32, 60000, 60000), {1, 2, 3, 4})).message(),
            "Unexpected end of file at 36 bytes");
  // A file that really holds 20000 x 1 pixels is still refused, clearly.
  std::vector<uint8_t> wide = CelHeader(4, 20000, 1);
  wide.resize(32 + 10000, 0x11);
  EXPECT_EQ(Decode(cel, wide).message(),
            "Cel too large: 20000 x 1 pixels (at most 16384 in each direction)");
  EXPECT_EQ(pool_.texture_count(), 0);
}

TEST_F(CelFixture, TrueColourPixelsReduceToSixteenBitsAndWidenBack) {
  Mode(true, /*sixteen_bit=*/true);
  KissCel cel;
  ASSERT_TRUE(Decode(cel, With(CelHeader(32, 1, 1, 0, 0, 0x21), {0x12, 0x34, 0x56, 0x78})));
  EXPECT_EQ(cel.texture->format(), TextureFormat::kA4R4G4B4);
  EXPECT_EQ(Texel(cel, 0, 0), 0x7531u);  // low byte 0x31, high byte 0x75
  Result<std::vector<uint8_t>> out = EncodeCel(cel);
  ASSERT_TRUE(out.ok());
  EXPECT_EQ(out->size(), 36u);
  EXPECT_EQ((*out)[4], 0x21);
  EXPECT_EQ(std::vector<uint8_t>(out->begin() + 32, out->end()),
            (std::vector<uint8_t>{0x10, 0x30, 0x50, 0x70}));
}

TEST_F(CelFixture, VisibleBoxCoversTheOpaquePixels) {
  Mode(true);
  KissCel cel;
  // 5 x 4 at 8 bits with visible pixels at (1, 1) and (3, 2).
  std::vector<uint8_t> bytes = CelHeader(8, 5, 4);
  bytes.resize(32 + 20, 0);
  bytes[32 + 5 + 1] = 4;
  bytes[32 + 10 + 3] = 9;
  ASSERT_TRUE(Decode(cel, bytes));
  EXPECT_EQ(cel.visible.left, 1);
  EXPECT_EQ(cel.visible.top, 1);
  EXPECT_EQ(cel.visible.width, 3);
  EXPECT_EQ(cel.visible.height, 2);

  // Nothing visible: an empty box, not negative extents.
  bytes.resize(32);
  bytes.resize(32 + 20, 0);
  ASSERT_TRUE(Decode(cel, bytes));
  EXPECT_TRUE(cel.visible.empty());
  EXPECT_EQ(cel.visible.left + cel.visible.top + cel.visible.width + cel.visible.height, 0);

  // True colour: visibility is the alpha (its high nibble with 16-bit texels).
  Mode(true, true);
  ASSERT_TRUE(Decode(cel, With(CelHeader(32, 3, 1), {1, 1, 1, 0x0F, 1, 1, 1, 0x10, 0, 0, 0, 0})));
  EXPECT_EQ(cel.visible.left, 1);
  EXPECT_EQ(cel.visible.width, 1);
}

TEST_F(CelFixture, EmulatedPalettesRewriteTexelsOnlyWhenTheTableChanges) {
  Mode(false);
  KissCel cel;
  ASSERT_TRUE(Decode(cel, With(CelHeader(8, 2, 1), {0, 3})));
  ASSERT_TRUE(cel.index_buffer);
  EXPECT_EQ(cel.texture->format(), TextureFormat::kA8R8G8B8);
  EXPECT_EQ(Texel(cel, 1, 0), 0u);  // transparent until coloured
  // Hit tests and collisions may come before the first frame colours it.
  EXPECT_TRUE(IsOpaque(cel, 1, 0));
  EXPECT_FALSE(IsOpaque(cel, 0, 0));

  ColorTable table = KissPalette::DefaultTable();
  table[3] = 0xFF102030;
  ApplyPalette(cel, table, false);
  EXPECT_EQ(Texel(cel, 0, 0), 0u);
  EXPECT_EQ(Texel(cel, 1, 0), 0xFF102030u);
  EXPECT_TRUE(IsOpaque(cel, 1, 0));

  // Mark the texel: the same table again leaves it, force rewrites it.
  const LockedRect lock = cel.texture->Lock();
  std::memset(lock.bits + cel.texture_y * lock.pitch + (cel.texture_x + 1) * 4, 0xAB, 4);
  cel.texture->Unlock();
  ApplyPalette(cel, table, false);
  EXPECT_EQ(Texel(cel, 1, 0), 0xABABABABu);
  ApplyPalette(cel, table, true);
  EXPECT_EQ(Texel(cel, 1, 0), 0xFF102030u);
  table[3] = 0xFF405060;
  ApplyPalette(cel, table, false);
  EXPECT_EQ(Texel(cel, 1, 0), 0xFF405060u);

  // 16-bit texels take the reduced colour.
  Mode(false, true);
  KissCel small;
  ASSERT_TRUE(Decode(small, With(CelHeader(8, 1, 1), {3})));
  ApplyPalette(small, table, false);
  EXPECT_EQ(Texel(small, 0, 0), 0xF456u);
}

TEST_F(CelFixture, ClonesShareIndicesAndTakeTheirOwnColours) {
  Mode(false);
  KissCel base, clone, orphan;
  base.file_name = clone.file_name = "a.cel";
  clone.base = &base;
  ASSERT_TRUE(Decode(base, With(CelHeader(4, 2, 1, 3, 4), {0x12})));
  ASSERT_TRUE(MakeClone(clone, source()).ok());
  EXPECT_EQ(clone.index_buffer, base.index_buffer);
  EXPECT_EQ(clone.x_offset, 3);
  EXPECT_EQ(clone.depth, 16);
  EXPECT_TRUE(clone.present);
  ColorTable one = KissPalette::DefaultTable(), two = one;
  one[2] = 0xFF000002;
  two[2] = 0xFF000022;
  ApplyPalette(base, one, false);
  ApplyPalette(clone, two, false);
  EXPECT_EQ(Texel(base, 1, 0), 0xFF000002u);
  EXPECT_EQ(Texel(clone, 1, 0), 0xFF000022u);

  EXPECT_EQ(MakeClone(orphan, source()).message(), "This is not a clone.");

  // A true-colour cel has no indices; its clone copies the texels.
  KissCel photo, copy;
  copy.base = &photo;
  ASSERT_TRUE(Decode(photo, With(CelHeader(32, 1, 1), {1, 2, 3, 0xFF})));
  ASSERT_TRUE(MakeClone(copy, source()));
  EXPECT_NE(copy.texture, photo.texture);
  EXPECT_EQ(Texel(copy, 0, 0), 0xFF030201u);
}

TEST_F(CelFixture, WrittenCelsMatchTheirSourceByteForByte) {
  // Header files with zeroed reserved bytes and padding come back unchanged,
  // whichever way the device keeps the pixels.
  std::vector<uint8_t> four = With(CelHeader(4, 5, 2, 1, 2), {0x12, 0x34, 0x50, 0x67, 0x89, 0xA0});
  std::vector<uint8_t> eight = With(CelHeader(8, 3, 1), {0, 200, 7});
  std::vector<uint8_t> full = With(CelHeader(32, 2, 1, 0, 0, 0x21), {1, 2, 3, 4, 5, 6, 7, 8});
  for (bool paletted : {true, false}) {
    Mode(paletted);
    for (const auto& bytes : {four, eight, full}) {
      KissCel cel;
      ASSERT_TRUE(Decode(cel, bytes));
      Result<std::vector<uint8_t>> out = EncodeCel(cel);
      ASSERT_TRUE(out.ok());
      EXPECT_EQ(*out, bytes) << "paletted " << paletted << " depth " << cel.depth;
    }
  }
  KissCel empty;
  EXPECT_FALSE(EncodeCel(empty).ok());
}

}  // namespace
}  // namespace luma
