#include "core/render/device_palettes.h"

#include <algorithm>

#include "core/model/cel_codec.h"

namespace luma {
namespace {

DeviceResult UploadGroups(RenderDevice& device, unsigned base, const KissPalette& palette) {
  PaletteEntry entries[kPaletteColorCount];
  for (int g = 0; g < kPaletteGroupCount; ++g) {
    for (int i = 0; i < kPaletteColorCount; ++i) {
      const uint32_t c = palette.groups[g][i];
      entries[i] = {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                    static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 24)};
    }
    const DeviceResult result = device.SetPaletteEntries(base + g, entries);
    if (result != DeviceResult::kOk) return result;
  }
  return DeviceResult::kOk;
}

}  // namespace

int PaletteIndexOfLine(const DollModel& doll, int line) {
  const auto& lines = doll.palette_line_index;
  if (lines.empty()) return doll.palettes().empty() ? -1 : 0;
  const int index = lines[line >= 0 && line < static_cast<int>(lines.size()) ? line : 0];
  return index >= 0 && index < static_cast<int>(doll.palettes().size()) ? index : -1;
}

DeviceResult DevicePalettes::UploadDevicePalettes(RenderDevice& device, DollModel& doll) {
  const size_t wanted = std::max<size_t>(doll.palettes().size(), 1);
  if (bases_.size() != wanted) {
    Release(device);
    for (size_t i = 0; i < wanted; ++i) bases_.push_back(device.AllocatePaletteBase());
  }
  static const KissPalette kBuiltIn;
  for (size_t i = 0; i < wanted; ++i) {
    const KissPalette& palette = doll.palettes().empty() ? kBuiltIn : *doll.palettes()[i];
    const DeviceResult result = UploadGroups(device, bases_[i], palette);
    if (result != DeviceResult::kOk) return result;
  }
  for (const auto& instance : doll.instances()) {
    const int index = PaletteIndexOfLine(doll, instance->palette);
    instance->geometry.palette_base = bases_[index < 0 ? 0 : index];
  }
  return DeviceResult::kOk;
}

void DevicePalettes::Release(RenderDevice& device) {
  for (unsigned base : bases_) device.FreePaletteBase(base);
  bases_.clear();
}

void ApplyGroupColours(DollModel& doll, int group, bool force) {
  group = std::clamp(group, 0, kPaletteGroupCount - 1);
  static const ColorTable kBuiltIn = KissPalette::DefaultTable();
  for (const auto& cel : doll.cels()) {
    if (!cel->index_buffer) continue;
    const int index = PaletteIndexOfLine(doll, cel->palette);
    ApplyPalette(*cel, index < 0 ? kBuiltIn : doll.palettes()[index]->groups[group], force);
  }
}

}  // namespace luma
