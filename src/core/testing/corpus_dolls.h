#ifndef LUMA_CORE_TESTING_CORPUS_DOLLS_H_
#define LUMA_CORE_TESTING_CORPUS_DOLLS_H_

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace luma::testing {

struct CorpusMember {
  std::string name;  // file name and extension
  std::vector<uint8_t> bytes;
};

// The corpus doll archives that load (the damaged lina.lzh left out), by name.
std::vector<std::filesystem::path> CorpusDollArchives();

// Every member of an archive that decodes, read with the engine's own reader.
std::vector<CorpusMember> ReadArchiveMembers(const std::filesystem::path& archive);

// The archive repacked as a ZIP file: every member deflated under its full
// name, in archive order, as a user repacking a doll would make it.
std::vector<uint8_t> RepackAsZip(const std::filesystem::path& archive);

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_CORPUS_DOLLS_H_
