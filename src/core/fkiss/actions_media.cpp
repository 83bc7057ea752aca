// Media and messages: sounds, music, links opened outside, and texts for the
// user and the debug window.
#include "core/fkiss/action_handlers.h"
#include "core/fkiss/fkiss_runtime.h"

namespace luma {

bool FkissActions::Sound(FkissRuntime& run, const FkissAction& action) {
  run.media_.PlaySoundFile(action.params[0].value);
  return true;
}

bool FkissActions::Music(FkissRuntime& run, const FkissAction& action) {
  run.media_.PlayMusicFile(action.params[0].value);
  return true;
}

bool FkissActions::Shell(FkissRuntime& run, const FkissAction& action) {
  run.media_.OpenShellLink(action.params[0].text);
  return true;
}

bool FkissActions::Notify(FkissRuntime& run, const FkissAction& action) {
  run.view_.ReleasePointer();
  run.view_.ShowNotice(action.params[0].text);
  run.view_.EndDrag();
  return true;
}

bool FkissActions::Debug(FkissRuntime& run, const FkissAction& action) {
  run.debug_.AddLine(action.params[0].text);
  return true;
}

}  // namespace luma
