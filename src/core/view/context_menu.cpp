#include "core/view/context_menu.h"

namespace luma {

std::vector<ContextMenuEntry> BuildContextMenu(uint32_t fix, bool from_archive, bool cheat) {
  std::vector<ContextMenuEntry> menu;
  if (!from_archive || cheat) {
    menu.push_back({ContextCommand::kUnfix, "Unfix", fix > 0, fix > 0});
    menu.push_back({ContextCommand::kRefix, "Refix", fix == 0, fix == 0});
  }
  if (!from_archive)
    menu.push_back({ContextCommand::kSelectSnapParent, "Select as Snap-To Parent"});
  menu.push_back({ContextCommand::kResetPosition, "Reset Position"});
  menu.push_back({ContextCommand::kCopyPosition, "Copy Position"});
  menu.push_back({ContextCommand::kExportCel, "Export Cel to Bitmap"});
  menu.push_back({ContextCommand::kObjectProperties, "Object Properties"});
  menu.push_back({ContextCommand::kCelProperties, "Cel Properties"});
  return menu;
}

}  // namespace luma
