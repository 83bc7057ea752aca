#include "core/model/kcf_codec.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/gfx/argb.h"
#include "core/host/posix_file_system.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

std::vector<uint8_t> KcfHeader(int bits, int colors, int groups) {
  std::vector<uint8_t> b(32, 0);
  std::memcpy(b.data(), "KiSS", 4);
  b[4] = 0x10;
  b[5] = static_cast<uint8_t>(bits);
  b[8] = static_cast<uint8_t>(colors);
  b[9] = static_cast<uint8_t>(colors >> 8);
  b[10] = static_cast<uint8_t>(groups);
  b[11] = static_cast<uint8_t>(groups >> 8);
  return b;
}

// 24-bit groups whose colour i of group g is (g, i, 7).
std::vector<uint8_t> Kcf24(int colors, int groups) {
  std::vector<uint8_t> b = KcfHeader(24, colors, groups);
  for (int g = 0; g < groups; ++g) {
    for (int i = 0; i < colors; ++i) b.insert(b.end(), {uint8_t(g), uint8_t(i), 7});
  }
  return b;
}

TEST(KcfTest, TwelveBitColoursWidenByRepeatingNibbles) {
  std::vector<uint8_t> b(320, 0);
  b[0] = 0x5A;  // entry 0: colour kept, alpha forced transparent
  b[1] = 0x03;
  b[2] = 0xF0;  // entry 1: the second byte's high nibble is ignored
  b[3] = 0xF1;
  KissPalette palette("a.kcf");
  ErrorReport report;
  EXPECT_EQ(ReadKcf(b, palette, report), 16);
  EXPECT_TRUE(report.empty());
  EXPECT_EQ(palette.group_count, 10);
  EXPECT_EQ(palette.groups[0][0], Argb(0, 0x55, 0x33, 0xAA));
  EXPECT_EQ(palette.groups[0][1], Argb(255, 0xFF, 0x11, 0x00));
  // Entries past the file's colours are opaque black, not the defaults.
  EXPECT_EQ(palette.groups[9][200], Argb(255, 0, 0, 0));
}

TEST(KcfTest, IncompleteFilesAreRefusedWithoutReading) {
  KissPalette palette("short.kcf");
  const KissPalette untouched("short.kcf");
  ErrorReport report;
  // A headerless file needs all ten groups.
  EXPECT_EQ(ReadKcf(std::vector<uint8_t>(32, 0x11), palette, report), 0);
  ASSERT_EQ(report.errors().size(), 1u);
  EXPECT_EQ(report.errors()[0], "short.kcf: Unexpected end of file");
  // Header forms cut anywhere, down to the counts themselves.
  const std::vector<uint8_t> full = Kcf24(16, 2);
  for (size_t cut : {4, 5, 9, 11, 31, 32 + 2 * 16 * 3 - 1}) {
    EXPECT_EQ(DecodeKcf(std::span(full).first(cut), palette, nullptr), 0) << cut;
  }
  EXPECT_EQ(palette.groups, untouched.groups);
  // Twelve bits a colour with a header: two bytes a colour.
  std::vector<uint8_t> twelve = KcfHeader(12, 16, 2);
  twelve.resize(32 + 2 * 16 * 2);
  EXPECT_EQ(DecodeKcf(twelve, palette, nullptr), 16);
  twelve.pop_back();
  EXPECT_EQ(DecodeKcf(twelve, palette, nullptr), 0);
}

TEST(KcfTest, OddHeadersAreReportedAndTooManyColoursReadOn) {
  KissPalette palette("p.kcf");
  ErrorReport report;
  EXPECT_EQ(ReadKcf(KcfHeader(16, 16, 1), palette, report), 0);
  ASSERT_EQ(report.errors().size(), 1u);
  EXPECT_EQ(report.errors()[0], "p.kcf: Bits per color is not 12 or 24 (16)");

  report.Clear();
  EXPECT_EQ(ReadKcf(Kcf24(300, 11), palette, report), 300);
  ASSERT_EQ(report.errors().size(), 1u);
  EXPECT_EQ(report.errors()[0], "p.kcf: Palette contains too many colors (300)");
  // The first 256 colours of the first ten groups are kept.
  EXPECT_EQ(palette.group_count, 10);
  EXPECT_EQ(palette.groups[9][255], Argb(255, 9, 255, 7));
  EXPECT_EQ(palette.groups[1][44], Argb(255, 1, 44, 7));
}

TEST(KcfTest, GroupCountEndsAtTheFirstRepeatedGroup) {
  DollModel doll;
  KissPalette* palette = doll.FindOrCreatePalette("three.kcf");
  doll.palette_line_index = {0};
  ASSERT_EQ(DecodeKcf(Kcf24(16, 3), *palette, nullptr), 16);
  EXPECT_EQ(palette->group_count, 3);
  EXPECT_EQ(palette->groups[7][5], Argb(255, 2, 5, 7));  // copies of the last group read
  CountPaletteGroups(doll, /*paletted_textures=*/true);
  EXPECT_EQ(palette->group_count, 3);
  EXPECT_EQ(doll.palette_group_count, 3);
  EXPECT_EQ(palette->groups[7][5], Argb(255, 0, 5, 7));  // now group 0's colours
  EXPECT_EQ(palette->groups[7][0] >> 24, 0u);            // alpha kept

  // Groups 1 and 4 equal: four groups, whatever follows.
  std::vector<uint8_t> ten = Kcf24(16, 10);
  for (int i = 0; i < 16; ++i) ten[32 + (4 * 16 + i) * 3] = 1;
  KissPalette* other = doll.FindOrCreatePalette("ten.kcf");
  doll.palette_line_index = {0, 1};
  ASSERT_EQ(DecodeKcf(ten, *other, nullptr), 16);
  CountPaletteGroups(doll, true);
  EXPECT_EQ(other->group_count, 4);
  EXPECT_EQ(doll.palette_group_count, 4);

  DollModel bare;
  CountPaletteGroups(bare, false);
  EXPECT_EQ(bare.palette_group_count, 0);
  CountPaletteGroups(bare, true);
  EXPECT_EQ(bare.palette_group_count, 1);
}

TEST(KcfTest, EnhancedPaletteCountsSharedTransparentEntriesOnce) {
  EXPECT_FALSE(IsEnhancedPalette(std::vector<int>{256}));
  EXPECT_FALSE(IsEnhancedPalette(std::vector<int>{200, 57}));
  EXPECT_TRUE(IsEnhancedPalette(std::vector<int>{200, 58}));
  EXPECT_TRUE(IsEnhancedPalette(std::vector<int>{256, 2}));
}

TEST(KcfTest, WrittenPalettesReadBackAndFailuresAreReported) {
  PosixFileSystem disk;
  KissPalette palette("w.kcf");
  ASSERT_EQ(DecodeKcf(Kcf24(32, 4), palette, nullptr), 32);
  testing::TempDir dir;
  const std::string path = (dir / "w.kcf").string();
  ASSERT_TRUE(WriteKcf(disk, path, palette, 4, 32).ok());
  KissPalette back("w.kcf");
  Result<KcfFileContents> read = ReadKcfFile(disk, path, back);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read->colors, 32);
  EXPECT_TRUE(read->problems.empty());
  for (int g = 0; g < 4; ++g) {
    for (int i = 0; i < 32; ++i) EXPECT_EQ(back.groups[g][i], palette.groups[g][i]);
  }

  const Status bad = WriteKcf(disk, (dir / "missing" / "w.kcf").string(), palette, 4, 32);
  EXPECT_FALSE(bad.ok());
  EXPECT_NE(bad.message().find("w.kcf"), std::string::npos);

  read = ReadKcfFile(disk, (dir / "none.kcf").string(), back);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.status().message(), "Unable to open\n" + (dir / "none.kcf").string());
}

}  // namespace
}  // namespace luma
