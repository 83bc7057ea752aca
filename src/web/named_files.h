#ifndef LUMA_WEB_NAMED_FILES_H_
#define LUMA_WEB_NAMED_FILES_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/host/text_encoding.h"

namespace luma::web {

// A file that a CNF opened from a web site names, and where on that site to
// look for it.
struct NamedFile {
  // Where the engine looks for it, relative to the CNF's folder: the name's
  // bytes as written, "/" between folders.
  std::string path;
  // URLs relative to the CNF's, percent-encoded, in the order to try them:
  // the bytes as written (servers keep Shift-JIS names as bytes), then the
  // name as UTF-8 decoded in the doll's encoding, each also in lower and in
  // upper case (servers tell case apart, DOS names did not).
  std::vector<std::string> urls;
};

// Every palette, cel, sound and music file the CNF `bytes` names, the
// script's included, each once (case ignored), in the order named. Names
// that would lead out of the CNF's folder tree ("..", absolute paths) are
// left out: the page does not fetch them, and the doll reports
// them missing. `chosen` is the user's text encoding, kAutomatic to decide
// it from the CNF.
std::vector<NamedFile> FilesNamedBy(std::span<const uint8_t> bytes, TextEncoding chosen);

}  // namespace luma::web

#endif  // LUMA_WEB_NAMED_FILES_H_
