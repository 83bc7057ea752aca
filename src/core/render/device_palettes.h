#ifndef LUMA_CORE_RENDER_DEVICE_PALETTES_H_
#define LUMA_CORE_RENDER_DEVICE_PALETTES_H_

#include <vector>

#include "core/gfx/render_device.h"
#include "core/model/doll_model.h"

namespace luma {

// The device palettes of one document (paletted mode): ten consecutive
// palette numbers per KCF, one per palette group, so switching sets or
// groups needs no texture work.
class DevicePalettes {
 public:
  // Takes palette numbers on first use, writes every group of every palette
  // of the doll (again after palette edits) and gives each instance the base
  // number of its KCF. A doll without palettes gets the built-in one.
  DeviceResult UploadDevicePalettes(RenderDevice& device, DollModel& doll);
  // Gives the palette numbers back to the device.
  void Release(RenderDevice& device);

  const std::vector<unsigned>& bases() const { return bases_; }

 private:
  std::vector<unsigned> bases_;  // per entry of the doll's palette list
};

// The index into the doll's palette list that colours a palette line, or -1.
int PaletteIndexOfLine(const DollModel& doll, int line);

// Palette emulation: writes the colours of `group` into every indexed cel
// that keeps its indices, each with its own KCF (the built-in palette when
// it has none). Cels whose texture already holds those colours are skipped
// unless `force` is set.
void ApplyGroupColours(DollModel& doll, int group, bool force);

}  // namespace luma

#endif  // LUMA_CORE_RENDER_DEVICE_PALETTES_H_
