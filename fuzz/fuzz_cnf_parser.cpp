// Feeds arbitrary bytes to the CNF parser, split both ways a CNF is read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/model/cnf_parser.h"
#include "core/testing/fake_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  luma::FakeHost host;
  for (const bool from_archive : {false, true}) {
    luma::DollModel doll;
    doll.cnf_lines = from_archive ? luma::SplitArchiveCnfText(text) : luma::SplitDiskCnfText(text);
    (void)luma::ParseCnf(doll, host, luma::CnfParseOptions{.paletted_textures = from_archive});
    doll.Reset(false);
  }
  return 0;
}
