#ifndef LUMA_CORE_VIEW_PICTURE_SAVING_H_
#define LUMA_CORE_VIEW_PICTURE_SAVING_H_

#include <string>
#include <string_view>

#include "core/gfx/render_device.h"
#include "core/host/host.h"
#include "core/host/settings.h"
#include "core/render/renderer.h"
#include "core/render/thumbnails.h"

// The Save Thumbnail and Create Screenshot commands: pictures drawn by
// RenderToFile, with the messages the user sees about them.
namespace luma {

// The thumbnail of the doll at `doll_path` at the size the settings give,
// in the thumbnail folder (made when missing) when the settings use one.
// Failures are shown titled "Thumbnail", a success too with "Thumb
// Verbose". Returns the path written, or empty after a failure.
std::string SaveThumbnail(RenderDevice& device, const Scene& scene, std::string_view doll_path,
                          const Settings& settings, std::string_view data_folder, Host& host);

// With "Thumb Create" on, makes the thumbnail when there is none yet.
void AutoCreateThumbnail(RenderDevice& device, const Scene& scene, std::string_view doll_path,
                         const Settings& settings, std::string_view data_folder, Host& host);

// The playfield at full size, written by `write` (a BMP file without one);
// the outcome is shown titled "Screenshot".
bool SaveScreenshot(RenderDevice& device, const Scene& scene, const std::string& path, Host& host,
                    const PictureWriter& write = {});

}  // namespace luma

#endif  // LUMA_CORE_VIEW_PICTURE_SAVING_H_
