#include "core/fkiss/script_media.h"

#include "core/fkiss/script_view.h"
#include "core/host/host.h"
#include "core/host/text.h"
#include "core/model/doll_model.h"

namespace luma {

const std::string* ScriptMedia::AvailablePath(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= doll_.external_files.size()) return nullptr;
  const ExternalFile& file = doll_.external_files[index];
  return file.available ? &file.path : nullptr;
}

void ScriptMedia::PlaySoundFile(int index) {
  if (!options_.sound) return;
  if (const std::string* path = AvailablePath(index)) host_.PlaySound(*path);
}

void ScriptMedia::PlayMusicFile(int index) {
  if (!options_.music) return;
  StopMusic();
  if (const std::string* path = AvailablePath(index)) host_.PlayMusic(*path);
}

void ScriptMedia::StopMusic() { host_.StopMusic(); }

void ScriptMedia::StopSound() { host_.StopSound(); }

void ScriptMedia::OpenShellLink(const std::string& text) {
  if (!StartsWithIgnoreCase(text, "mailto:") && !StartsWithIgnoreCase(text, "http:") &&
      !StartsWithIgnoreCase(text, "https:")) {
    return;
  }
  if (options_.shell_permission <= 0) {
    view_.EndDrag();
    return;
  }
  if (options_.shell_permission == 1 && !view_.AllowShellLink(text)) {
    view_.EndDrag();
    return;
  }
  view_.ReleasePointer();
  (void)host_.OpenLink(text);
  view_.EndDrag();
}

}  // namespace luma
