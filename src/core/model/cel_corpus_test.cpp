#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "core/gfx/software_device.h"
#include "core/host/text.h"
#include "core/model/cel_codec.h"
#include "core/model/kcf_codec.h"
#include "core/testing/corpus_dolls.h"
#include "core/testing/test_paths.h"

// Every palette and cel of the corpus dolls must decode, and must come back
// unchanged from the writers.
namespace luma {
namespace {

namespace fs = std::filesystem;

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> values;  // indices, or 32-bit pixels
};

// The pixel values of a CEL file, read independently of the decoder.
Pixels ParsePixels(const std::vector<uint8_t>& b) {
  Pixels p;
  const bool header =
      b.size() >= 32 && std::memcmp(b.data(), "KiSS", 4) == 0 && (b[4] == 0x20 || b[4] == 0x21);
  const int bits = header ? b[5] : 4;
  const size_t at = header ? 8 : 0;
  p.width = b[at] | (b[at + 1] << 8);
  p.height = b[at + 2] | (b[at + 3] << 8);
  const uint8_t* data = b.data() + (header ? 32 : 4);
  const size_t row = bits == 4 ? (p.width + 1) / 2 : bits == 8 ? p.width : p.width * 4;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      const uint8_t* r = data + y * row;
      if (bits == 4) {
        p.values.push_back((x & 1) ? r[x / 2] & 15 : r[x / 2] >> 4);
      } else if (bits == 8) {
        p.values.push_back(r[x]);
      } else {
        uint32_t v;
        std::memcpy(&v, r + 4 * x, 4);
        p.values.push_back(v);
      }
    }
  }
  return p;
}

TEST(CorpusCodecTest, EveryPaletteAndCelDecodesAndRoundTrips) {
  LUMA_REQUIRE_CORPUS();
  int kcfs = 0, cels = 0;
  for (const fs::path& archive : testing::CorpusDollArchives()) {
    const std::vector<testing::CorpusMember> members = testing::ReadArchiveMembers(archive);
    for (const testing::CorpusMember& member : members) {
      if (!EqualsIgnoreCase(ExtensionPart(member.name), "kcf")) continue;
      SCOPED_TRACE(member.name);
      KissPalette palette(member.name);
      ErrorReport report;
      const int colors = ReadKcf(member.bytes, palette, report);
      ASSERT_GT(colors, 0);
      EXPECT_TRUE(report.empty()) << report.ErrorText();
      const int groups = palette.group_count;
      KissPalette back("copy.kcf");
      ASSERT_EQ(DecodeKcf(EncodeKcf(palette, groups, colors), back, nullptr), colors);
      for (int g = 0; g < groups; ++g) {
        for (int i = 0; i < std::min(colors, 256); ++i) {
          ASSERT_EQ(back.groups[g][i], palette.groups[g][i]) << g << " " << i;
        }
      }
      ++kcfs;
    }
    for (const testing::CorpusMember& member : members) {
      if (!EqualsIgnoreCase(ExtensionPart(member.name), "cel")) continue;
      SCOPED_TRACE(archive.filename().string() + ": " + member.name);
      const std::vector<uint8_t>& bytes = member.bytes;
      const Pixels original = ParsePixels(bytes);
      for (int mode = 0; mode < 3; ++mode) {
        SoftwareDevice device;
        device.mutable_flags().paletted_textures = mode == 0;
        device.mutable_flags().sixteen_bit_texels = mode == 2;
        TexturePool pool;
        KissCel cel;
        const Status decoded = DecodeCel(cel, bytes, {&device, &pool, true});
        ASSERT_TRUE(decoded.ok()) << decoded.message();
        Result<std::vector<uint8_t>> written = EncodeCel(cel);
        ASSERT_TRUE(written.ok());
        const Pixels again = ParsePixels(*written);
        ASSERT_EQ(again.width, original.width);
        ASSERT_EQ(again.height, original.height);
        const uint32_t mask = (mode == 2 && cel.depth == 0) ? 0xF0F0F0F0 : 0xFFFFFFFF;
        for (size_t i = 0; i < original.values.size(); ++i) {
          ASSERT_EQ(again.values[i], original.values[i] & mask)
              << "pixel " << i << " mode " << mode;
        }
      }
      ++cels;
    }
  }
  EXPECT_GT(kcfs, 5);
  EXPECT_GT(cels, 500);
}

}  // namespace
}  // namespace luma
