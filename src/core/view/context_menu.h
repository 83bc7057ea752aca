#ifndef LUMA_CORE_VIEW_CONTEXT_MENU_H_
#define LUMA_CORE_VIEW_CONTEXT_MENU_H_

#include <cstdint>
#include <string>
#include <vector>

namespace luma {

// The entries of the menu a right click opens on an object.
enum class ContextCommand {
  kUnfix,
  kRefix,
  kSelectSnapParent,
  kResetPosition,
  kCopyPosition,
  kExportCel,
  kObjectProperties,
  kCelProperties,
};

struct ContextMenuEntry {
  ContextCommand command;
  std::string text;
  bool enabled = true;
  bool checked = false;  // shown with a check mark
};

// The menu for an object with fix value `fix`. Unfix and Refix are offered
// for dolls opened from a folder, or with "Cheat" on; the snap-to parent
// only for dolls opened from a folder (archived dolls cannot be changed).
std::vector<ContextMenuEntry> BuildContextMenu(uint32_t fix, bool from_archive, bool cheat);

}  // namespace luma

#endif  // LUMA_CORE_VIEW_CONTEXT_MENU_H_
