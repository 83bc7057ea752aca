#ifndef LUMA_WEB_WEB_FILES_H_
#define LUMA_WEB_WEB_FILES_H_

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/host/memory_file_system.h"
#include "core/host/status.h"

namespace luma::web {

// Every file of the web page lives in one file system in memory, which the
// engine reaches through the host. Dropped, picked or fetched files go into
// a folder of their own per doll; the data folder (value pools) is mirrored
// into the browser's storage by the page. Nothing else in src/web keeps
// files.
inline constexpr std::string_view kDataFolder = "/data";
inline constexpr std::string_view kTempFolder = "/tmp";

// Whether `relative` stays below the folder it is taken from: no empty, "."
// or ".." part and no leading "/". Paths that do not are neither stored nor
// fetched.
bool StaysInsideFolder(std::string_view relative);

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

  // The file system the engine is given.
  FileSystem& files() { return files_; }

  // A new, empty folder for the files of one doll.
  std::string NewDollFolder();
  // Writes `bytes` as `relative` (a file name, or a path with "/" between
  // folders, which are made as needed) inside `folder`. A path that would
  // leave the folder ("..", an absolute one) is refused.
  Status AddFile(const std::string& folder, std::string_view relative,
                 std::span<const uint8_t> bytes);
  // The files directly in `folder` a doll opens from, best first: archives
  // (.lzh, .lha, .exe, .com, and .zip, which the page refuses), then CNFs,
  // each group in name order.
  std::vector<std::string> DollCandidates(const std::string& folder);
  // Drops the files of every doll folder but the one `path` is or lies in:
  // only one doll is open at a time, and memory is all the page has.
  void ForgetDollsExcept(const std::string& path);

  // The bytes of a file the engine named (a sound to play).
  Result<std::vector<uint8_t>> Read(const std::string& path);

  // A file the browser's storage kept from an earlier visit, put back into
  // the data folder before any doll opens.
  Status RestoreDataFile(std::string_view name, std::span<const uint8_t> bytes);
  // What changed in the data folder since the last call (or the restore).
  std::vector<DataFileChange> DataChanges();

  // Names relative to `root` of every regular file under it.
  std::vector<std::string> ListFiles(const std::string& root);

 private:
  // Makes the folders of `relative` below `root`.
  Status MakeFolders(const std::string& root, std::string_view relative);

  MemoryFileSystem files_;
  int next_folder_ = 0;
  std::map<std::string, std::vector<uint8_t>> known_data_;
};

}  // namespace luma::web

#endif  // LUMA_WEB_WEB_FILES_H_
