// KCF palettes from outside: decoding must never read past the data, and a
// palette that decodes must survive writing and reading back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/model/kcf_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  luma::KissPalette palette("fuzz.kcf");
  std::vector<luma::KcfProblem> problems;
  const int colors = luma::DecodeKcf(std::span(data, size), palette, &problems);
  if (colors <= 0) return 0;
  const int groups = palette.group_count;
  const int kept = colors > 256 ? 256 : colors;
  luma::KissPalette back("back.kcf");
  if (luma::DecodeKcf(luma::EncodeKcf(palette, groups, kept), back, nullptr) != kept) std::abort();
  for (int g = 0; g < groups; ++g) {
    for (int i = 0; i < kept; ++i) {
      if (back.groups[g][i] != palette.groups[g][i]) std::abort();
    }
  }
  return 0;
}
