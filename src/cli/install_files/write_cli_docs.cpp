// Writes lumadoll-tool's manual page (from its template, with the commands
// filled in from the command tables) and its bash completion script.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "cli/tool_docs.h"

namespace {

bool WriteText(const char* path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s MANUAL_TEMPLATE VERSION MANUAL_OUT COMPLETION_OUT\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::string manual((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) return 1;
  const std::pair<std::string, std::string> fields[] = {
      {"@VERSION@", argv[2]},
      {"@COMMANDS@\n", luma::cli::ManualCommands()},
  };
  for (const auto& [key, value] : fields) {
    const size_t at = manual.find(key);
    if (at == std::string::npos) {
      std::fprintf(stderr, "%s: the template has no %s\n", argv[0], key.c_str());
      return 1;
    }
    manual.replace(at, key.size(), value);
  }
  if (!WriteText(argv[3], manual) || !WriteText(argv[4], luma::cli::BashCompletion())) {
    std::fprintf(stderr, "%s: could not write the files\n", argv[0]);
    return 1;
  }
  return 0;
}
