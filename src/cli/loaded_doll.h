#ifndef LUMA_CLI_LOADED_DOLL_H_
#define LUMA_CLI_LOADED_DOLL_H_

#include <memory>
#include <string>

#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/render_device.h"
#include "core/host/host.h"
#include "core/host/settings.h"

namespace luma::cli {

// A doll opened for a command, with the device its textures live on.
struct LoadedDoll {
  std::unique_ptr<RenderDevice> device;
  std::unique_ptr<CKissCnfDoc> doc;
};

// Opens a .cnf, .lzh, .lha or .zip doll with default settings; null members when
// it could not be opened (the reason has been shown through `host`).
LoadedDoll LoadDoll(const std::string& path, Host& host, const Settings& settings);

}  // namespace luma::cli

#endif  // LUMA_CLI_LOADED_DOLL_H_
