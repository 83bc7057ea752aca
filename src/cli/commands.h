#ifndef LUMA_CLI_COMMANDS_H_
#define LUMA_CLI_COMMANDS_H_

#include <string>
#include <vector>

namespace luma::cli {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // a file could not be opened or processed
inline constexpr int kExitUsage = 2;

using Args = std::vector<std::string>;

// One function per command; `args` excludes the command word(s).
// Each prints its own usage line on a usage error.
int RunCheck(const Args& args);
int RunArchive(const Args& args);
// archive create: `files` are stored under their file names.
int RunArchiveCreate(const std::string& destination, const Args& files);
int RunRender(const Args& args);
int RunThumbnail(const Args& args);
int RunSaveCnf(const Args& args);
int RunBuildArchive(const Args& args);
int RunPlay(const Args& args);

}  // namespace luma::cli

#endif  // LUMA_CLI_COMMANDS_H_
