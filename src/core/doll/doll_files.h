#ifndef LUMA_CORE_DOLL_DOLL_FILES_H_
#define LUMA_CORE_DOLL_DOLL_FILES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/host/file_system.h"
#include "core/host/status.h"
#include "core/host/text_encoding.h"

namespace luma {

// A name a CNF gives a file, as a path relative to the CNF's folder: CNFs
// written on DOS separate folders with backslashes.
std::string DollRelativePath(std::string_view name, TextEncoding encoding);

// True when `path` is a regular file that opens for reading.
bool CanOpenForReading(FileSystem& files, const std::string& path);

// One file a doll may use: a file beside the CNF, or an archive member.
struct DollFileInfo {
  std::string name;       // file name as found (archives: directories and drive dropped)
  std::string full_name;  // disk: the path; archive: the member's full name
  uint32_t size = 0;
  uint32_t time_stamp = 0;  // disk: last write time; archive: the member's time stamp
  bool utf8_name = false;   // the archive marks the member's name as UTF-8
};

// Where the files a CNF names come from. Names are looked up ignoring ASCII
// case, as dolls made on case-blind systems expect, folded as the doll's
// text encoding allows (Shift-JIS double-byte characters stay whole).
class DollFiles {
 public:
  virtual ~DollFiles() = default;
  virtual bool is_archive() const = 0;
  // The doll's encoding, once it is decided; lookups fold names by it.
  virtual void SetNameEncoding(TextEncoding encoding) = 0;
  virtual std::optional<DollFileInfo> Find(std::string_view name) = 0;
  // The whole file; fails when it is missing or cannot be read.
  virtual Result<std::vector<uint8_t>> Read(std::string_view name) = 0;
  // Error-report lines: for a file that is not there, and for one that is
  // there but could not be read (`for_script` when the doll's script named it).
  virtual std::string NotFoundText(std::string_view name) const = 0;
  virtual std::string UnreadableText(std::string_view name, const Status& failure,
                                     bool for_script) const = 0;
};

// The files in the CNF's folder. A name is tried as written first, then
// matched against the folder's entries ignoring case.
class FolderDollFiles : public DollFiles {
 public:
  // `folder` ends in a separator or is empty for the current folder;
  // `files` must outlive this.
  FolderDollFiles(FileSystem& files, std::string folder);

  bool is_archive() const override { return false; }
  void SetNameEncoding(TextEncoding encoding) override;
  std::optional<DollFileInfo> Find(std::string_view name) override;
  Result<std::vector<uint8_t>> Read(std::string_view name) override;
  std::string NotFoundText(std::string_view name) const override;
  std::string UnreadableText(std::string_view name, const Status& failure,
                             bool for_script) const override;

  // The path a name resolves to: the matching entry's, or folder + name.
  std::string PathOf(std::string_view name);

 private:
  std::optional<std::string> ExistingPath(std::string_view name);

  FileSystem& files_;
  std::string folder_;
  TextEncoding name_encoding_ = TextEncoding::kWindows1252;
  // Folded entry name -> entry name; read on first need.
  std::optional<std::unordered_map<std::string, std::string>> listing_;
};

}  // namespace luma

#endif  // LUMA_CORE_DOLL_DOLL_FILES_H_
