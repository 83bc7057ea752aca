// lumadoll-tool thumbnail FILE [--16bit] [--emulate-palettes]: writes the
// doll's ".KTN" thumbnail where the thumbnail settings put it and prints its
// path.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/render_doll.h"
#include "core/render/thumbnails.h"

namespace luma::cli {

int RunThumbnail(const Args& args) {
  std::string path;
  DrawOptions options;
  for (const std::string& a : args) {
    if (TakeDrawOption(a, &options)) continue;
    if (a.empty() || a[0] == '-' || !path.empty()) {
      path.clear();
      break;
    }
    path = a;
  }
  if (path.empty()) {
    std::fputs("usage: lumadoll-tool thumbnail FILE [--16bit] [--emulate-palettes]\n", stderr);
    return kExitUsage;
  }
  CliHost host;
  DrawableDoll doll(host, options);
  if (!doll.Open(path)) return kExitFailed;
  Settings settings = doll.settings();
  // Without a folder of its own the tool writes the thumbnail beside the doll.
  if (settings.thumb_directory.empty()) settings.thumb_use_directory = false;
  const std::string written =
      SaveThumbnail(doll.device(), doll.FirstSetScene(), path, settings, host.DataFolder(), host);
  if (written.empty()) return kExitFailed;
  std::printf("%s\n", written.c_str());
  return kExitOk;
}

}  // namespace luma::cli
