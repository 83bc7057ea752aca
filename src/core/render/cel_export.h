#ifndef LUMA_CORE_RENDER_CEL_EXPORT_H_
#define LUMA_CORE_RENDER_CEL_EXPORT_H_

#include <functional>
#include <string>
#include <string_view>

#include "core/gfx/render_device.h"
#include "core/host/file_system.h"
#include "core/host/status.h"
#include "core/host/text_encoding.h"
#include "core/model/cel_instance.h"

namespace luma {

// The name a cel's bitmap is offered under: the cel's file name up to its
// first dot, in lower case, with ".bmp" ("Shirt.Red.cel" gives "shirt.bmp").
// Only letters that are characters of their own fold (FoldNameCase).
std::string ProposedCelBitmapName(std::string_view cel_file_name, TextEncoding encoding);

// Draws one cel line on its own, centred in a picture of its object frame
// (cel size plus the line's offsets), and saves it as a BMP file at the path
// `ask_path` returns for the proposed name (empty: cancelled). The picture
// is made before asking, so a device that cannot make it is reported first.
// Returns whether a file was written (in `files`), or the failure, for a
// message titled kExportErrorCaption. `names` is the doll's text encoding.
inline constexpr char kExportErrorCaption[] = "Export Error";
Result<bool> ExportCelBitmap(
    RenderDevice& device, const CelInstance& cel, int palette_group, TextEncoding names,
    FileSystem& files, const std::function<std::string(const std::string& proposed)>& ask_path);

}  // namespace luma

#endif  // LUMA_CORE_RENDER_CEL_EXPORT_H_
