#ifndef LUMA_CORE_VIEW_SET_PROPERTIES_TEXT_H_
#define LUMA_CORE_VIEW_SET_PROPERTIES_TEXT_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/view/doll_statistics.h"

namespace luma {

// "name (%d bytes)" below 1024 bytes, "name (%.01f Kilobytes)" below a
// megabyte, else "name (%.01f Megabytes)".
std::string ArchiveSizeText(const std::string& name, uint64_t bytes);

// Used blocks as a share of all blocks, "%d%%"; "0%" without any page.
std::string TextureUsageText(int used_blocks, int total_blocks);

// The rows of the set properties window, label and value, top to bottom.
using PropertyRows = std::vector<std::pair<std::string, std::string>>;
PropertyRows SetPropertiesRows(const DollStatistics& statistics);

}  // namespace luma

#endif  // LUMA_CORE_VIEW_SET_PROPERTIES_TEXT_H_
