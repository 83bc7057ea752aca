#ifndef LUMA_CORE_TESTING_RUN_PROGRAM_H_
#define LUMA_CORE_TESTING_RUN_PROGRAM_H_

#include <string>
#include <vector>

namespace luma::testing {

struct ProgramResult {
  int exit_code = -1;    // -1 when the program did not exit normally (crash, signal)
  std::string out;       // standard output
  std::string err;       // standard error
  long max_rss_kib = 0;  // the most memory the program held at once
};

// Runs `program` with `args` (no shell involved) and waits for it, capturing
// both output streams. Extra environment entries ("NAME=value") are added to
// the inherited environment.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& extra_env = {});

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_RUN_PROGRAM_H_
