#include "core/archive/lh5_encoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/archive/huffman_code_builder.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (auto& b : out) b = static_cast<uint8_t>(rng());
  return out;
}

// Word salad with some long repeats, roughly as compressible as prose.
Bytes Text(size_t n, uint32_t seed) {
  static const char* const kWords[] = {"doll ",  "cel ",   "palette ",   "set ", "object ",
                                       "; fix ", "#12.3 ", "shirt.cel ", "\n",   "the "};
  std::mt19937 rng(seed);
  std::string s;
  while (s.size() < n) s += kWords[rng() % 10];
  s.resize(n);
  return Bytes(s.begin(), s.end());
}

uint16_t Crc16(const Bytes& data) {
  uint16_t crc = 0;
  for (uint8_t b : data) {
    crc ^= b;
    for (int i = 0; i < 8; ++i) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return crc;
}

void Put32(std::string* s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s->push_back(static_cast<char>(v >> (8 * i)));
}

// Unpacks one -lh5- stream with Debian's lha, through a minimal level-0 archive.
std::optional<Bytes> UnpackWithLha(const Bytes& packed, const Bytes& original) {
  if (std::system("command -v lha >/dev/null 2>&1") != 0) return std::nullopt;
  testing::TempDir dir;
  std::string h;
  h += "-lh5-";
  Put32(&h, static_cast<uint32_t>(packed.size()));
  Put32(&h, static_cast<uint32_t>(original.size()));
  Put32(&h, 0x21000000);
  h += '\x20';
  h += '\0';
  h += '\x01';
  h += 'm';
  const uint16_t crc = Crc16(original);
  h += static_cast<char>(crc & 0xFF);
  h += static_cast<char>(crc >> 8);
  uint8_t sum = 0;
  for (char c : h) sum += static_cast<uint8_t>(c);
  std::string archive;
  archive += static_cast<char>(h.size());
  archive += static_cast<char>(sum);
  archive += h;
  archive.append(packed.begin(), packed.end());
  archive += '\0';
  testing::WriteFile(dir / "a.lzh", archive);
  const std::string cmd = "cd '" + dir.str() + "' && lha xq a.lzh 2>&1";
  if (std::system(cmd.c_str()) != 0) return Bytes();
  const std::string out = testing::ReadFile(dir / "m");
  return Bytes(out.begin(), out.end());
}

TEST(Lh5EncoderTest, RoundTripsThroughLha) {
  Bytes big_text = Text(1 << 20, 1);
  std::vector<std::pair<std::string, Bytes>> cases = {
      {"one byte", {'x'}},           {"repeated byte", Bytes(100000, 'a')},
      {"one window", Text(8448, 2)}, {"one window and a byte", Text(8449, 3)},
      {"1 MiB text", big_text},
  };
  Lh5Encoder encoder;
  for (const auto& [name, data] : cases) {
    SCOPED_TRACE(name);
    Bytes packed;
    if (!encoder.Encode(data, &packed)) {
      EXPECT_EQ(data.size(), 1u) << "should have shrunk";
      continue;
    }
    auto unpacked = UnpackWithLha(packed, data);
    if (!unpacked) GTEST_SKIP() << "lha not installed";
    EXPECT_TRUE(*unpacked == data);
  }
}

TEST(Lh5EncoderTest, IncompressibleDataGivesUpWithoutTouchingOutput) {
  Lh5Encoder encoder;
  Bytes out = {1, 2, 3};
  EXPECT_FALSE(encoder.Encode(RandomBytes(1 << 20, 7), &out));
  EXPECT_EQ(out, (Bytes{1, 2, 3}));
  // The same object still works afterwards.
  EXPECT_TRUE(encoder.Encode(Bytes(5000, 0), &out));
  EXPECT_LT(out.size(), 3u + 64u);
}

TEST(HuffmanCodeBuilderTest, LimitsLengthsAndKeepsTheCodeComplete) {
  // Fibonacci frequencies make the deepest possible tree (one level per symbol).
  std::vector<uint32_t> freq(40);
  freq[0] = freq[1] = 1;
  for (size_t i = 2; i < freq.size(); ++i) freq[i] = freq[i - 1] + freq[i - 2];
  freq.push_back(0);  // an unused symbol
  std::vector<uint8_t> len(freq.size());
  EXPECT_EQ(BuildHuffmanLengths(freq, len), 40);
  uint64_t kraft = 0;
  for (size_t s = 0; s < len.size(); ++s) {
    if (freq[s] == 0) {
      EXPECT_EQ(len[s], 0);
      continue;
    }
    ASSERT_GE(len[s], 1);
    ASSERT_LE(len[s], kMaxHuffmanCodeLength);
    kraft += uint64_t{1} << (kMaxHuffmanCodeLength - len[s]);
  }
  EXPECT_EQ(kraft, uint64_t{1} << kMaxHuffmanCodeLength);
  EXPECT_LE(len[39], len[0]);  // the most frequent symbol is not longer

  // Canonical codes: prefix-free and ordered by (length, symbol).
  std::vector<uint16_t> code(len.size());
  AssignCanonicalCodes(len, code);
  for (size_t a = 0; a < len.size(); ++a) {
    for (size_t b = 0; b < len.size(); ++b) {
      if (a == b || len[a] == 0 || len[b] == 0 || len[a] > len[b]) continue;
      EXPECT_NE(code[b] >> (len[b] - len[a]), code[a]) << a << " prefixes " << b;
    }
  }
}

TEST(HuffmanCodeBuilderTest, FewerThanTwoSymbolsHaveNoCode) {
  std::vector<uint8_t> len(4, 9);
  EXPECT_EQ(BuildHuffmanLengths(std::vector<uint32_t>{0, 5, 0, 0}, len), 1);
  EXPECT_EQ(len, (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(BuildHuffmanLengths(std::vector<uint32_t>{0, 0, 0, 0}, len), 0);
}

}  // namespace
}  // namespace luma
