#ifndef LUMA_CORE_POOLS_POOL_DIRECTORY_H_
#define LUMA_CORE_POOLS_POOL_DIRECTORY_H_

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "core/host/file_system.h"
#include "core/host/text_encoding.h"
#include "core/pools/doll_identity.h"

namespace luma {

class Host;

// Every value pool lives in "pooldata" inside the user's data folder, made
// whenever the path is asked for. Empty when there is no data folder or the
// pool folder cannot be made: pools then simply do not persist.
std::string PoolDirectory(FileSystem& files, std::string_view data_folder);
// The pool folder in the host's data folder.
std::string PoolDirectory(Host& host);

struct PoolFileEntry {
  std::string file_name;
  // The later of the last access and the last change: a pool that was just
  // written counts as used even where access times are not kept.
  std::time_t last_used = 0;
};

// The regular files of `directory` whose names end in ".pool" (ignoring
// case), sorted by name ignoring case.
std::vector<PoolFileEntry> ListPoolFiles(FileSystem& files, const std::string& directory);

// The file of the public pool `name` in `directory`. Pool names ignore case,
// so an existing file of that name in any case is taken: the one of exactly
// this case, else the first in byte order. Without one the name is as given.
std::string PublicPoolPath(FileSystem& files, const std::string& directory, std::string_view name);

// Private pool file names begin with "~": "~" and the CNF's file name, or
// "~", the archive's name, "~" and the CNF's name for an archived doll, with
// every character but letters and digits turned into "~", lower-cased.
std::string PrivatePoolBaseName(std::string_view archive_name, std::string_view cnf_name);

// The private pool file of a doll in `directory`. Files named after the
// base name are tried in name order: one that stores the doll's path, or
// failing that the doll's CNF size and checksum (the doll was moved), is
// taken, and its header is brought up to date. Without one, the name is
// base + ".pool" when no file starts with the base name, otherwise the first
// free "base-N.pool" (empty when none is free). The file itself is not
// made here. Paths compare ignoring the case of letters that are letters in
// `names`, the encoding of the doll's names: a Shift-JIS character's second
// byte keeps its case.
std::string FindPrivatePool(FileSystem& files, const std::string& directory,
                            std::string_view base_name, const DollIdentity& identity,
                            TextEncoding names);

}  // namespace luma

#endif  // LUMA_CORE_POOLS_POOL_DIRECTORY_H_
