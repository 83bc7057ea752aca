#include "cli/printable.h"

namespace luma::cli {

std::string Printable(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    const auto u = static_cast<unsigned char>(s[i]);
    const bool c1 = u == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(s[i + 1]) <= 0x9F;
    if (c1) ++i;
    out += u < 0x20 || u == 0x7F || c1 ? '?' : s[i];
  }
  return out;
}

}  // namespace luma::cli
