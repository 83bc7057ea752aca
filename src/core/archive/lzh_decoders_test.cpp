// Decoders fed with streams written bit by bit here, for the cases that the
// real-world archives do not pin down.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/archive/huffman_code_builder.h"
#include "core/archive/lzh_bit_writer.h"
#include "core/archive/lzh_method.h"

namespace luma {
namespace {

using Bytes = std::vector<uint8_t>;

std::optional<std::string> Decode(const char* method_id, const Bytes& packed, uint32_t size) {
  const LzhMethodInfo* method = FindLzhMethod(method_id);
  if (!method) return std::nullopt;
  Bytes out;
  if (!DecodeLzhToMemory(*method, packed, size, out)) return std::nullopt;
  EXPECT_EQ(out.size(), size);
  return std::string(out.begin(), out.end());
}

// Writes static-Huffman block streams. The code-length code is always the
// same complete code over all 19 symbols; the literal/length and position
// codes are given as lengths, or as a single symbol sent in the short form
// whose codes take no bits at all.
class BlockStreamWriter {
 public:
  BlockStreamWriter(int position_symbols, int position_count_bits)
      : position_symbols_(position_symbols), count_bits_(position_count_bits) {
    bits_.Start(&out_, SIZE_MAX);
  }

  // `literal_lengths` covers symbols 0-509 (length 0 = unused) unless
  // `single_literal` is set; likewise for positions.
  void StartBlock(uint16_t codes, std::vector<uint8_t> literal_lengths, int single_literal,
                  std::vector<uint8_t> position_lengths, int single_position) {
    bits_.Put(16, codes);
    literal_lengths.resize(510);
    position_lengths.resize(position_symbols_);
    literal_len_ = literal_lengths;
    position_len_ = position_lengths;
    if (single_literal >= 0) {
      bits_.Put(5, 0);  // code-length code: none needed
      bits_.Put(5, 0);
      bits_.Put(9, 0);
      bits_.Put(9, single_literal);
      literal_len_.assign(510, 0);
    } else {
      WriteCodeLengthCode();
      WriteLiteralLengths();
    }
    if (single_position >= 0) {
      bits_.Put(count_bits_, 0);
      bits_.Put(count_bits_, single_position);
      position_len_.assign(position_symbols_, 0);
    } else {
      WriteShortLengths(position_len_, count_bits_, -1);
    }
    literal_code_.assign(510, 0);
    position_code_.assign(position_symbols_, 0);
    AssignCanonicalCodes(literal_len_, literal_code_);
    AssignCanonicalCodes(position_len_, position_code_);
  }

  void Literal(uint8_t byte) { bits_.Put(literal_len_[byte], literal_code_[byte]); }

  // `position` is the distance minus one.
  void Match(int length, uint32_t position) {
    bits_.Put(literal_len_[length + 253], literal_code_[length + 253]);
    int j = 0;
    while ((position >> j) != 0) ++j;
    bits_.Put(position_len_[j], position_code_[j]);
    if (j > 1) bits_.Put(j - 1, position - (1u << (j - 1)));
  }

  Bytes Finish() {
    bits_.Flush();
    return out_;
  }

 private:
  // Symbols 0-12 in 4 bits, 13-18 in 5: a complete code.
  static std::vector<uint8_t> CodeLengthLengths() {
    std::vector<uint8_t> lengths(19, 4);
    for (int i = 13; i < 19; ++i) lengths[i] = 5;
    return lengths;
  }

  void WriteShortLengths(const std::vector<uint8_t>& lengths, int count_bits, int special) {
    int n = static_cast<int>(lengths.size());
    while (n > 0 && lengths[n - 1] == 0) --n;
    bits_.Put(count_bits, n);
    for (int i = 0; i < n; ++i) {
      const int len = lengths[i];
      if (len < 7) {
        bits_.Put(3, len);
      } else {
        bits_.Put(len - 3, ((1u << (len - 4)) - 1) << 1);  // ones, then a zero
      }
      if (i + 1 == special) bits_.Put(2, 0);
    }
  }

  void WriteCodeLengthCode() {
    cl_len_ = CodeLengthLengths();
    cl_code_.assign(19, 0);
    AssignCanonicalCodes(cl_len_, cl_code_);
    WriteShortLengths(cl_len_, 5, 3);
  }

  void PutCodeLengthSymbol(int symbol) { bits_.Put(cl_len_[symbol], cl_code_[symbol]); }

  void WriteLiteralLengths() {
    int n = 510;
    while (n > 0 && literal_len_[n - 1] == 0) --n;
    bits_.Put(9, n);
    for (int i = 0; i < n;) {
      if (literal_len_[i] != 0) {
        PutCodeLengthSymbol(literal_len_[i] + 2);
        ++i;
        continue;
      }
      int run = 0;
      while (i + run < n && literal_len_[i + run] == 0) ++run;
      i += run;
      if (run <= 2) {
        while (run--) PutCodeLengthSymbol(0);
      } else if (run <= 18) {
        PutCodeLengthSymbol(1);
        bits_.Put(4, run - 3);
      } else if (run == 19) {
        PutCodeLengthSymbol(0);
        PutCodeLengthSymbol(1);
        bits_.Put(4, 15);
      } else {
        PutCodeLengthSymbol(2);
        bits_.Put(9, run - 20);
      }
    }
  }

  const int position_symbols_;
  const int count_bits_;
  Bytes out_;
  LzhBitWriter bits_;
  std::vector<uint8_t> cl_len_;
  std::vector<uint16_t> cl_code_;
  std::vector<uint8_t> literal_len_, position_len_;
  std::vector<uint16_t> literal_code_, position_code_;
};

// Literals 'a' to 'd' and match lengths 3 to 10 (codes 256-263), with
// positions 0 to 3: small complete codes.
std::vector<uint8_t> SmallLiteralLengths() {
  std::vector<uint8_t> lengths(510, 0);
  for (int c = 'a'; c <= 'd'; ++c) lengths[c] = 3;
  for (int code = 256; code <= 263; ++code) lengths[code] = 4;
  return lengths;
}
std::vector<uint8_t> SmallPositionLengths() { return {2, 2, 2, 2}; }

TEST(HuffmanBlockDecoderTest, OverlappingMatchesRepeatTheirPattern) {
  BlockStreamWriter w(14, 4);
  w.StartBlock(7, SmallLiteralLengths(), -1, SmallPositionLengths(), -1);
  w.Literal('a');
  w.Match(4, 0);  // distance 1: the last byte again and again
  w.Literal('b');
  w.Literal('c');
  w.Match(7, 1);  // distance 2: "bc" repeated, reading bytes it wrote itself
  w.Literal('d');
  w.Match(9, 3);  // distance 4 reaching back across both earlier matches
  EXPECT_EQ(Decode("-lh5-", w.Finish(), 24), "aaaaabcbcbcbcbdbcbdbcbdb");
}

TEST(HuffmanBlockDecoderTest, SingleSymbolCodesTakeNoBits) {
  // One literal/length symbol and one position: every code is implied.
  BlockStreamWriter w(14, 4);
  w.StartBlock(3, {}, 'x', {}, 0);
  for (int i = 0; i < 3; ++i) w.Literal('x');
  EXPECT_EQ(Decode("-lh5-", w.Finish(), 3), "xxx");

  BlockStreamWriter runs(14, 4);
  runs.StartBlock(2, {}, 256 + 7, {}, 0);  // matches of length 10 at distance 1
  runs.Match(10, 0);
  runs.Match(10, 0);
  // The history before the first byte is spaces.
  EXPECT_EQ(Decode("-lh5-", runs.Finish(), 20), std::string(20, ' '));
}

TEST(HuffmanBlockDecoderTest, BlocksChangeCodesAndCountsRunOut) {
  BlockStreamWriter w(14, 4);
  w.StartBlock(2, SmallLiteralLengths(), -1, SmallPositionLengths(), -1);
  w.Literal('a');
  w.Literal('b');
  w.StartBlock(1, {}, 'z', {}, 0);
  w.Literal('z');
  w.StartBlock(2, SmallLiteralLengths(), -1, SmallPositionLengths(), -1);
  w.Literal('c');
  w.Match(3, 2);
  EXPECT_EQ(Decode("-lh5-", w.Finish(), 7), "abzcbzc");
}

TEST(HuffmanBlockDecoderTest, LastMatchIsCutAtTheUnpackedSize) {
  BlockStreamWriter w(14, 4);
  w.StartBlock(2, SmallLiteralLengths(), -1, SmallPositionLengths(), -1);
  w.Literal('a');
  w.Match(10, 0);
  const Bytes packed = w.Finish();
  EXPECT_EQ(Decode("-lh5-", packed, 4), "aaaa");
  EXPECT_EQ(Decode("-lh5-", packed, 11), std::string(11, 'a'));
}

TEST(HuffmanBlockDecoderTest, SeventhMethodReachesBack64KiB) {
  // 40000 random bytes of 0-127 (8-bit codes) and one far match: the
  // position alphabet of 17 symbols and its 5-bit count field.
  std::vector<uint8_t> literal_lengths(510, 0);
  for (int c = 0; c < 128; ++c) literal_lengths[c] = 8;
  literal_lengths[256 + 97] = 1;  // match length 100
  std::mt19937 rng(7);
  std::string expected;
  for (int i = 0; i < 40000; ++i) expected += static_cast<char>(rng() % 128);
  expected += expected.substr(1, 100);

  BlockStreamWriter w(17, 5);
  w.StartBlock(40001, literal_lengths, -1, {}, 16);
  for (int i = 0; i < 40000; ++i) w.Literal(static_cast<uint8_t>(expected[i]));
  w.Match(100, 39998);
  const Bytes packed = w.Finish();
  EXPECT_EQ(Decode("-lh7-", packed, 40100), expected);
}

TEST(HuffmanBlockDecoderTest, UnlhaMethodReachesBackHalfAMegabyte) {
  // -lhx-: 20 position symbols for a 512 KiB dictionary; a match 300,000
  // bytes back, past the ring every other method makes do with.
  std::vector<uint8_t> literal_lengths(510, 0);
  for (int c = 0; c < 128; ++c) literal_lengths[c] = 8;
  literal_lengths[256 + 97] = 1;  // match length 100
  std::mt19937 rng(11);
  std::string expected;
  for (int i = 0; i < 300000; ++i) expected += static_cast<char>(rng() % 128);
  expected += expected.substr(2, 100);

  BlockStreamWriter w(20, 5);
  int codes_left = 300001;
  for (int i = 0; i < 300000;) {
    const int block = std::min(codes_left, 65535);
    w.StartBlock(static_cast<uint16_t>(block), literal_lengths, -1, {}, 19);
    for (int k = 0; k < block && i < 300000; ++k) w.Literal(static_cast<uint8_t>(expected[i++]));
    codes_left -= block;
  }
  w.Match(100, 299997);
  EXPECT_EQ(Decode("-lhx-", w.Finish(), 300100), expected);
}

TEST(HuffmanBlockDecoderTest, DamagedStreamsEndWithoutOverrunningAnything) {
  BlockStreamWriter w(14, 4);
  w.StartBlock(2, SmallLiteralLengths(), -1, SmallPositionLengths(), -1);
  w.Literal('a');
  w.Match(10, 0);
  Bytes packed = w.Finish();
  // Cut short, the stream reads zero bits and produces something of the
  // right size or gives up; a claim far beyond the data gives up early.
  packed.resize(packed.size() / 2);
  const auto cut = Decode("-lh5-", packed, 11);
  if (cut) {
    EXPECT_EQ(cut->size(), 11u);
  }
  EXPECT_FALSE(Decode("-lh6-", Bytes{0xFF, 0x13, 0x77}, 200u << 20));
  // Garbage of every kind: whatever comes out has the requested size.
  std::mt19937 rng(1);
  for (const char* id : {"-lh1-", "-lh2-", "-lh3-", "-lh4-", "-lh5-", "-lh7-", "-lzs-", "-lz5-"}) {
    for (int round = 0; round < 20; ++round) {
      Bytes noise(1 + rng() % 300);
      for (auto& b : noise) b = static_cast<uint8_t>(rng());
      (void)Decode(id, noise, 1 + rng() % 5000);
    }
  }
}

TEST(LarcDecoderTest, MatchesAtTheStartReadThePresetHistory) {
  // -lz5-: flag byte (bit 0 clear: a match), then position 0xD41 and length
  // 3. Ring position 0xD41 + 18 holds the ascending byte values at 'A'.
  EXPECT_EQ(Decode("-lz5-", Bytes{0xFE, 0x41, 0xD0}, 3), "ABC");
  // The same position later in the stream points into what was written.
  EXPECT_EQ(Decode("-lz5-", Bytes{0xF9, 'x', 0x41, 0xD0, 0xEE, 0xF0}, 7), "xABCxAB");
  // -lzs-: a literal (flag 1, 8 bits), then a match (flag 0, 11 bits of ring
  // position, 4 bits of length - 2) into the spaces before the start.
  LzhBitWriter bits;
  Bytes lzs;
  bits.Start(&lzs, SIZE_MAX);
  bits.Put(1, 1);
  bits.Put(8, 'q');
  bits.Put(1, 0);
  bits.Put(11, 0x700);
  bits.Put(4, 2);
  bits.Flush();
  EXPECT_EQ(Decode("-lzs-", lzs, 5), "q    ");
}

TEST(StoredDecoderTest, CopiesExactlyAndRefusesMissingBytes) {
  EXPECT_EQ(Decode("-lh0-", Bytes{'a', 'b', 'c', 'd'}, 3), "abc");
  EXPECT_EQ(Decode("-LZ4-", Bytes{'a', 'b'}, 2), "ab");
  EXPECT_FALSE(Decode("-lh0-", Bytes{'a', 'b'}, 3));
  EXPECT_FALSE(Decode("-lhd-", Bytes{'a'}, 1));
  EXPECT_EQ(FindLzhMethod("-pm1-"), nullptr);
}

}  // namespace
}  // namespace luma
