#include "core/render/thumbnail_preview.h"

#include "core/render/thumbnails.h"

namespace luma {

std::vector<std::string> PreviewThumbnailPaths(std::string_view selected, const Settings& settings,
                                               std::string_view data_folder) {
  std::vector<std::string> paths;
  if (selected.empty()) return paths;
  std::string beside = ThumbnailPath(selected, false, "");
  if (settings.thumb_use_directory) {
    const size_t cut = beside.find_last_of("\\/");
    std::string folder = ThumbnailFolder(settings, data_folder);
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    paths.push_back(folder + "/" + (cut == std::string::npos ? beside : beside.substr(cut + 1)));
  }
  paths.push_back(std::move(beside));
  return paths;
}

}  // namespace luma
