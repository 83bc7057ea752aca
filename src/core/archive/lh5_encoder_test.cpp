#include "core/archive/lh5_encoder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/archive/huffman_code_builder.h"
#include "core/archive/lzh_method.h"
#include "core/testing/sample_data.h"

namespace luma {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::RandomBytes;
using testing::SampleText;

Bytes Decode(const Bytes& packed, size_t unpacked_size) {
  const LzhMethodInfo* lh5 = FindLzhMethod("-lh5-");
  Bytes out;
  EXPECT_TRUE(DecodeLzhToMemory(*lh5, packed, static_cast<uint32_t>(unpacked_size), out));
  return out;
}

Bytes Concat(std::vector<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(Lh5EncoderTest, RoundTrips) {
  const Bytes far = RandomBytes(8191, 5);
  const Bytes too_far = RandomBytes(8192, 6);
  // Runs just below, at and above the longest match, between literals.
  Bytes runs;
  for (size_t n : {255, 256, 257, 3, 512, 1000}) {
    runs.insert(runs.end(), n, static_cast<uint8_t>(n));
    runs.push_back('|');
  }
  const std::vector<std::pair<std::string, Bytes>> cases = {
      {"one window", SampleText(8448, 2)},
      {"one window and a byte", SampleText(8449, 3)},
      {"1 MiB text, many blocks and slides", SampleText(1 << 20, 1)},
      {"matches at the longest distance", Concat({far, far, far})},
      {"random text around matches", Concat({too_far, SampleText(3000, 4), too_far})},
      {"runs", Concat({runs, runs, RandomBytes(100, 7)})},
      {"text then noise", Concat({SampleText(20000, 8), RandomBytes(20000, 9)})},
  };
  Lh5Encoder encoder;
  for (const auto& [name, data] : cases) {
    SCOPED_TRACE(name);
    Bytes packed;
    ASSERT_TRUE(encoder.Encode(data, &packed)) << "did not shrink";
    EXPECT_LT(packed.size(), data.size());
    EXPECT_TRUE(Decode(packed, data.size()) == data);
  }
}

TEST(Lh5EncoderTest, OneRepeatedByteTakesAFewDozenBytes) {
  Lh5Encoder encoder;
  const Bytes data(20000, 'a');
  Bytes packed;
  ASSERT_TRUE(encoder.Encode(data, &packed));
  EXPECT_LT(packed.size(), 64u);
  EXPECT_EQ(Decode(packed, data.size()), data);
}

TEST(Lh5EncoderTest, GivesUpOnDataThatDoesNotShrinkLeavingOutputAlone) {
  Lh5Encoder encoder;
  Bytes out = {1, 2, 3};
  EXPECT_FALSE(encoder.Encode(RandomBytes(1 << 20, 7), &out));
  EXPECT_FALSE(encoder.Encode(Bytes{'x'}, &out));
  EXPECT_FALSE(encoder.Encode(Bytes{}, &out));
  EXPECT_EQ(out, (Bytes{1, 2, 3}));
}

TEST(Lh5EncoderTest, ReusedEncoderGivesTheSameBytesAsAFreshOne) {
  const Bytes first = Concat({Bytes(5000, 0), SampleText(30000, 10)});
  const Bytes second = Concat({SampleText(30000, 10), Bytes(5000, 0)});
  Lh5Encoder reused;
  Bytes scratch;
  ASSERT_TRUE(reused.Encode(first, &scratch));
  ASSERT_FALSE(reused.Encode(RandomBytes(50000, 11), &scratch));
  Bytes again;
  ASSERT_TRUE(reused.Encode(second, &again));
  Lh5Encoder fresh;
  Bytes expected;
  ASSERT_TRUE(fresh.Encode(second, &expected));
  EXPECT_TRUE(again == expected);
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
