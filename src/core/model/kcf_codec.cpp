#include "core/model/kcf_codec.h"

#include <algorithm>
#include <cstring>

#include "core/gfx/argb.h"
#include "core/host/file_io.h"
#include "core/host/little_endian.h"
#include "core/host/text.h"
#include "core/host/text_encoding.h"
#include "core/model/messages.h"

namespace luma {
namespace {

constexpr int kHeaderSize = 32;
constexpr int kHeaderlessGroups = 10;
constexpr int kHeaderlessColors = 16;
constexpr uint8_t kPaletteMark = 0x10;
constexpr uint32_t kRgbMask = 0x00FFFFFF;

bool HasHeader(std::span<const uint8_t> bytes) {
  return bytes.size() >= 5 && std::memcmp(bytes.data(), "KiSS", 4) == 0 && bytes[4] == kPaletteMark;
}

uint32_t Decode12(const uint8_t* p) {
  const uint32_t r = (p[0] >> 4) * 17;
  const uint32_t b = (p[0] & 0x0F) * 17;
  const uint32_t g = (p[1] & 0x0F) * 17;
  return (r << 16) | (g << 8) | b;
}

uint32_t Decode24(const uint8_t* p) {
  return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

}  // namespace

int DecodeKcf(std::span<const uint8_t> bytes, KissPalette& palette,
              std::vector<KcfProblem>* problems) {
  auto problem = [&](int id, int value) {
    if (problems) problems->push_back({id, value});
  };
  if (bytes.size() < 5) {
    problem(kMsgUnexpectedEnd, 0);
    return 0;
  }
  int bits = 12;
  int colors = kHeaderlessColors;
  int groups = kHeaderlessGroups;
  size_t offset = 0;
  if (HasHeader(bytes)) {
    if (bytes.size() < 6) {
      problem(kMsgUnexpectedEnd, 0);
      return 0;
    }
    bits = bytes[5];
    if (bits != 12 && bits != 24) {
      problem(kMsgBadBitsPerColor, bits);
      return 0;
    }
    // The counts sit at offsets 8 to 11; a shorter file cannot hold them
    // (nor the 32-byte header the data check below asks for).
    if (bytes.size() < 12) {
      problem(kMsgUnexpectedEnd, 0);
      return 0;
    }
    colors = LoadLe16(&bytes[8]);
    groups = LoadLe16(&bytes[10]);
    if (colors > kPaletteColorCount) problem(kMsgTooManyColors, colors);
    offset = kHeaderSize;
  }
  const size_t color_size = bits == 24 ? 3 : 2;
  const uint64_t needed = offset + uint64_t{static_cast<uint32_t>(groups)} * colors * color_size;
  if (bytes.size() < needed) {
    problem(kMsgUnexpectedEnd, 0);
    return 0;
  }

  // Groups are decoded over one scratch table that is not reset between
  // them, so a short group keeps the previous group's later colours.
  ColorTable scratch;
  scratch.fill(Argb(255, 0, 0, 0));
  scratch[0] = Argb(0, 128, 128, 128);
  const int stored = std::min(groups, kPaletteGroupCount);
  const uint8_t* p = bytes.data() + offset;
  for (int g = 0; g < stored; ++g) {
    for (int i = 0; i < colors; ++i, p += color_size) {
      if (i >= kPaletteColorCount) continue;
      const uint32_t rgb = bits == 24 ? Decode24(p) : Decode12(p);
      scratch[i] = (scratch[i] & ~kRgbMask) | rgb;
    }
    palette.groups[g] = scratch;
  }
  palette.group_count = stored;
  for (int g = stored; g < kPaletteGroupCount; ++g) palette.groups[g] = scratch;
  return colors;
}

int ReadKcf(std::span<const uint8_t> bytes, KissPalette& palette, ErrorReport& report) {
  std::vector<KcfProblem> problems;
  const int colors = DecodeKcf(bytes, palette, &problems);
  for (const KcfProblem& p : problems) {
    if (p.id == kMsgUnexpectedEnd) {
      report.Error(p.id, palette.name);
    } else {
      report.Error(p.id, palette.name, p.value);
    }
  }
  return colors;
}

Result<KcfFileContents> ReadKcfFile(FileSystem& files, const std::string& path,
                                    KissPalette& palette) {
  // A file the user picked: its name is shown as the desktop wrote it.
  const std::string shown = DecodePath(path, TextEncoding::kAutomatic);
  Result<std::vector<uint8_t>> bytes = ReadWholeFile(files, path);
  if (!bytes.ok()) return Status::Error(FormatMessage(kMsgUnableToOpen, shown));
  std::vector<KcfProblem> problems;
  KcfFileContents contents;
  contents.colors = DecodeKcf(*bytes, palette, &problems);
  for (const KcfProblem& p : problems) {
    contents.problems.push_back(p.id == kMsgUnexpectedEnd
                                    ? FormatMessage(kMsgUnableToOpen, shown)
                                    : FormatMessage(p.id, FileNamePart(shown), p.value));
  }
  return contents;
}

std::vector<uint8_t> EncodeKcf(const KissPalette& palette, int groups, int colors) {
  groups = std::clamp(groups, 0, kPaletteGroupCount);
  colors = std::clamp(colors, 0, kPaletteColorCount);
  std::vector<uint8_t> out(kHeaderSize, 0);
  std::memcpy(out.data(), "KiSS", 4);
  out[4] = kPaletteMark;
  out[5] = 24;
  StoreLe16(&out[8], static_cast<uint16_t>(colors));
  StoreLe16(&out[10], static_cast<uint16_t>(groups));
  out.reserve(kHeaderSize + static_cast<size_t>(groups) * colors * 3);
  for (int g = 0; g < groups; ++g) {
    for (int i = 0; i < colors; ++i) {
      const uint32_t c = palette.groups[g][i];
      out.push_back(static_cast<uint8_t>(RedOf(c)));
      out.push_back(static_cast<uint8_t>(GreenOf(c)));
      out.push_back(static_cast<uint8_t>(BlueOf(c)));
    }
  }
  return out;
}

Status WriteKcf(FileSystem& files, const std::string& path, const KissPalette& palette, int groups,
                int colors) {
  return ReplaceFile(files, path, EncodeKcf(palette, groups, colors));
}

void CountPaletteGroups(DollModel& doll, bool paletted_textures) {
  if (doll.palette_line_index.empty()) {
    doll.palette_group_count = paletted_textures ? 1 : 0;
    return;
  }
  auto same_colors = [](const ColorTable& a, const ColorTable& b) {
    for (int i = 0; i < kPaletteColorCount; ++i) {
      if ((a[i] & kRgbMask) != (b[i] & kRgbMask)) return false;
    }
    return true;
  };
  int most = 1;
  for (int index : doll.palette_line_index) {
    if (index < 0 || index >= static_cast<int>(doll.palettes().size())) continue;
    KissPalette& palette = *doll.palettes()[index];
    int count = kPaletteGroupCount;
    for (int g = 1; g < kPaletteGroupCount && count == kPaletteGroupCount; ++g) {
      for (int lower = 0; lower < g; ++lower) {
        if (same_colors(palette.groups[g], palette.groups[lower])) {
          count = g;
          break;
        }
      }
    }
    for (int g = count; g < kPaletteGroupCount; ++g) {
      for (int i = 0; i < kPaletteColorCount; ++i) {
        palette.groups[g][i] =
            (palette.groups[g][i] & ~kRgbMask) | (palette.groups[0][i] & kRgbMask);
      }
    }
    palette.group_count = count;
    most = std::max(most, count);
  }
  doll.palette_group_count = most;
}

bool IsEnhancedPalette(std::span<const int> colors_per_line) {
  int total = 0;
  for (size_t i = 0; i < colors_per_line.size(); ++i) {
    total += i == 0 ? colors_per_line[i] : colors_per_line[i] - 1;
  }
  return total > kPaletteColorCount;
}

}  // namespace luma
