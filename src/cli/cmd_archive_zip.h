#ifndef LUMA_CLI_CMD_ARCHIVE_ZIP_H_
#define LUMA_CLI_CMD_ARCHIVE_ZIP_H_

#include <optional>
#include <string>

namespace luma::cli {

// archive list, test and extract for ZIP files; each returns the exit
// status, or nullopt when `path` is no ZIP file (an LZH archive, also one
// named .zip), for the LZH commands to take.
std::optional<int> ListZip(const std::string& path);
std::optional<int> TestZip(const std::string& path);
std::optional<int> ExtractZip(const std::string& path, const std::string& member,
                              const std::string& output);

}  // namespace luma::cli

#endif  // LUMA_CLI_CMD_ARCHIVE_ZIP_H_
