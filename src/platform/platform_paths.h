#ifndef LUMA_PLATFORM_PLATFORM_PATHS_H_
#define LUMA_PLATFORM_PLATFORM_PATHS_H_

#include <string>

namespace luma {

// Sets organisation "Velmora" and application "Lumadoll", so that settings and
// the per-user data folder are the same for the desktop program and the tool.
// Call after the Q*Application object exists.
void SetUpApplicationIdentity();

// $XDG_DATA_HOME/Velmora/Lumadoll (created when missing), without a trailing slash.
std::string UserDataFolder();
// The system temporary folder, without a trailing slash.
std::string SystemTempFolder();

}  // namespace luma

#endif  // LUMA_PLATFORM_PLATFORM_PATHS_H_
