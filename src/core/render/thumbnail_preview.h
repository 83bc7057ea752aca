#ifndef LUMA_CORE_RENDER_THUMBNAIL_PREVIEW_H_
#define LUMA_CORE_RENDER_THUMBNAIL_PREVIEW_H_

#include <string>
#include <string_view>
#include <vector>

#include "core/host/settings.h"

namespace luma {

// Where an open-file dialog looks for the thumbnail of the selected file, in
// order: with "Thumb Use Directory" on, the thumbnail folder first, then the
// ".KTN" beside the file; otherwise only the one beside it. Looking creates
// no folder. Empty for an empty selection.
std::vector<std::string> PreviewThumbnailPaths(std::string_view selected, const Settings& settings,
                                               std::string_view data_folder);

}  // namespace luma

#endif  // LUMA_CORE_RENDER_THUMBNAIL_PREVIEW_H_
