#ifndef LUMA_WEB_OPENED_WEB_DOLL_H_
#define LUMA_WEB_OPENED_WEB_DOLL_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/software_device.h"
#include "core/host/settings.h"
#include "core/testing/fake_host.h"
#include "web/web_files.h"

namespace luma::web {

inline std::span<const uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// What the engine makes of a doll among the page's files, for the tests.
struct OpenedWebDoll {
  bool opened = false;
  std::string errors;  // the error report's errors
  size_t cels = 0;
};

inline OpenedWebDoll OpenWebDoll(WebFiles& web, const std::string& path) {
  FakeHost host;
  host.set_files(&web.files());
  host.set_temp_folder(std::string(kTempFolder));
  Settings settings;
  SoftwareDevice device;
  CKissCnfDoc doc(host, device, settings);
  OpenedWebDoll opened;
  opened.opened = doc.OpenDoll(path);
  opened.errors = doc.model().report.ErrorText();
  opened.cels = doc.model().cels().size();
  doc.Close();
  return opened;
}

}  // namespace luma::web

#endif  // LUMA_WEB_OPENED_WEB_DOLL_H_
