#ifndef LUMA_WEB_WEB_FILES_H_
#define LUMA_WEB_WEB_FILES_H_

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/host/posix_file_system.h"
#include "core/host/status.h"

namespace luma::web {

// Every file of the web page passes through this module. The engine opens
// dolls by path and keeps value pools in its data folder, so the page gives
// it emscripten's in-memory file system: dropped or fetched files go into a
// folder of their own per doll, and the data folder is mirrored into the
// browser's storage by the page. Nothing else in src/web touches files.
inline constexpr std::string_view kDataFolder = "/data";
inline constexpr std::string_view kTempFolder = "/tmp";

// A file of the data folder that changed since the last look: its path
// relative to the data folder, and its bytes (none when it was removed).
struct DataFileChange {
  std::string name;
  std::vector<uint8_t> bytes;
  bool removed = false;
};

class WebFiles {
 public:
  WebFiles();

  // A new, empty folder for the files of one doll.
  std::string NewDollFolder();
  // Writes `bytes` as `name` (its file-name part) into `folder`.
  Status AddFile(const std::string& folder, std::string_view name, std::span<const uint8_t> bytes);
  // The files of `folder` a doll opens from, best first: archives (.lzh,
  // .lha, .exe, .com, and .zip, which the page refuses), then CNFs, each
  // group in name order.
  std::vector<std::string> DollCandidates(const std::string& folder) const;

  // The bytes of a file the engine named (a sound to play).
  Result<std::vector<uint8_t>> Read(const std::string& path) const;

  // A file the browser's storage kept from an earlier visit, put back into
  // the data folder before any doll opens.
  Status RestoreDataFile(std::string_view name, std::span<const uint8_t> bytes);
  // What changed in the data folder since the last call (or the restore).
  std::vector<DataFileChange> DataChanges();

 private:
  std::map<std::string, std::vector<uint8_t>> ReadDataFolder() const;

  mutable PosixFileSystem disk_;
  int next_folder_ = 0;
  std::map<std::string, std::vector<uint8_t>> known_data_;
};

}  // namespace luma::web

#endif  // LUMA_WEB_WEB_FILES_H_
