#ifndef LUMA_CORE_MODEL_KCF_CODEC_H_
#define LUMA_CORE_MODEL_KCF_CODEC_H_

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/host/file_system.h"
#include "core/host/status.h"
#include "core/model/doll_model.h"
#include "core/model/error_report.h"
#include "core/model/kiss_palette.h"

// KCF palette files. Two forms: with the "KiSS" 0x10 header (12- or 24-bit
// colours, any number of colours and groups) and headerless (ten groups of
// sixteen 12-bit colours, 320 bytes). Alpha is not stored: entry 0 of every
// group is transparent, every other entry opaque.
namespace luma {

// A problem found while reading: a message id and its number (the bits per
// colour, or the colour count); the caller adds the palette's name.
struct KcfProblem {
  int id;
  int value;
};

// Reads a KCF held in memory into `palette`. Returns the colours per group,
// or 0 when the file is unusable (the palette then keeps its tables). A
// header that declares more than 256 colours is reported and read on.
int DecodeKcf(std::span<const uint8_t> bytes, KissPalette& palette,
              std::vector<KcfProblem>* problems);

// The loading pipeline's form: problems become errors in `report`, worded
// with the palette's name.
int ReadKcf(std::span<const uint8_t> bytes, KissPalette& palette, ErrorReport& report);

// A KCF the user picked, as the palette editor reads it: the colours per
// group (0 when unusable) and each problem worded for a message box of its
// own. A file that cannot be read, or ends early, fails with "Unable to open".
struct KcfFileContents {
  int colors = 0;
  std::vector<std::string> problems;
};
Result<KcfFileContents> ReadKcfFile(FileSystem& files, const std::string& path,
                                    KissPalette& palette);

// The header form with 24-bit colours: `groups` groups of `colors` colours.
std::vector<uint8_t> EncodeKcf(const KissPalette& palette, int groups, int colors);
// Writes through a temporary file and a rename, so a failed save leaves the
// old file as it was.
Status WriteKcf(FileSystem& files, const std::string& path, const KissPalette& palette, int groups,
                int colors);

// After every KCF of a doll is read: the group count of each palette line's
// palette (the first group equal in colour to a lower one ends the list, and
// the groups from there on take group 0's colours) and the doll's number of
// palette groups, at least 1; 0 for a doll without palette lines unless
// textures are paletted, then 1.
void CountPaletteGroups(DollModel& doll, bool paletted_textures);

// The doll needs more than one 256-colour palette: the first palette line's
// colours plus each further line's colours less one exceed 256.
bool IsEnhancedPalette(std::span<const int> colors_per_line);

}  // namespace luma

#endif  // LUMA_CORE_MODEL_KCF_CODEC_H_
