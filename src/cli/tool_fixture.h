#ifndef LUMA_CLI_TOOL_FIXTURE_H_
#define LUMA_CLI_TOOL_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gfx/image.h"
#include "core/testing/disk_doll.h"
#include "core/testing/image_files.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"

namespace luma::testing {

// Tests of lumadoll-tool over dolls made in the test: the doll's folder,
// whose settings and data folders the tool uses, and a folder for what the
// tool writes.
class ToolFixture : public ::testing::Test {
 protected:
  ProgramResult Tool(const std::vector<std::string>& args) const {
    return doll_.Run(LUMA_TOOL_PATH, args);
  }
  // Runs "COMMAND ARGS...".
  ProgramResult Tool(const std::string& command, const std::vector<std::string>& args) const {
    std::vector<std::string> all = {command};
    all.insert(all.end(), args.begin(), args.end());
    return Tool(all);
  }
  std::string Out(const std::string& name) const { return (out_ / name).string(); }
  // Runs "render DOLL -o frame.bmp" with `extra` options; Frame() reads the
  // picture.
  ProgramResult RenderFrame(const std::string& doll,
                            const std::vector<std::string>& extra = {}) const {
    std::vector<std::string> args = {"render", doll, "-o", Out("frame.bmp")};
    args.insert(args.end(), extra.begin(), extra.end());
    return Tool(args);
  }
  Image Frame() const { return ReadBmp(ReadFile(out_ / "frame.bmp")); }

  DiskDoll doll_;
  TempDir out_;
};

}  // namespace luma::testing

#endif  // LUMA_CLI_TOOL_FIXTURE_H_
