#ifndef LUMA_CORE_MODEL_EXTERNAL_FILE_H_
#define LUMA_CORE_MODEL_EXTERNAL_FILE_H_

#include <string>

namespace luma {

// A sound or music file that the doll's script names. The FKiSS parser
// registers one entry per distinct name (ignoring case) in order of first
// mention; loading makes each available on disk: the file beside the CNF,
// or a temporary copy of the archive member.
struct ExternalFile {
  std::string name;  // as written in the script
  std::string path;  // where to play it from; empty until available
  bool available = false;
  bool temporary = false;  // `path` is a temporary copy, deleted when the doll closes
};

}  // namespace luma

#endif  // LUMA_CORE_MODEL_EXTERNAL_FILE_H_
