#include "core/testing/doll_builder.h"

#include "core/testing/lzh_builder.h"

namespace luma::testing {
namespace {

void PutU16(std::string& out, int v) {
  out += static_cast<char>(v & 0xff);
  out += static_cast<char>((v >> 8) & 0xff);
}

}  // namespace

std::string TestCel(int width, int height, int bits, int index) {
  std::string out = "KiSS";
  out += static_cast<char>(bits == 32 ? 0x21 : 0x20);
  out += static_cast<char>(bits);
  out += std::string(2, '\0');
  for (const int v : {width, height, 0, 0}) PutU16(out, v);
  out += std::string(16, '\0');
  const int row = bits == 4 ? (width + 1) / 2 : bits == 8 ? width : width * 4;
  const char fill = bits == 4   ? static_cast<char>(index << 4 | index)
                    : bits == 8 ? static_cast<char>(index)
                                : '\x80';
  out += std::string(static_cast<size_t>(row) * static_cast<size_t>(height), fill);
  return out;
}

std::string TestKcf(int colors, int groups) {
  std::string out = "KiSS";
  out += '\x10';
  out += '\x18';
  out += std::string(2, '\0');
  PutU16(out, colors);
  PutU16(out, groups);
  out += std::string(20, '\0');
  for (int g = 0; g < groups; ++g) {
    for (int i = 0; i < colors; ++i) out += std::string(3, static_cast<char>(i + g * 16));
  }
  return out;
}

std::vector<uint8_t> TestDollArchive(
    const std::vector<std::pair<std::string, std::string>>& files) {
  std::vector<std::vector<uint8_t>> members;
  for (const auto& [name, content] : files) {
    members.push_back(LzhTestMemberBytes(StoredTestMember(name, content), 1));
  }
  return LzhTestArchive(members);
}

}  // namespace luma::testing
