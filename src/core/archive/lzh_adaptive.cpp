// -lh1- and -lh2-: adaptive Huffman. The literal/length code is a tree whose
// frequencies rise with every symbol decoded, keeping the sibling property:
// nodes are numbered so that frequencies never increase with the index, and
// runs of equal frequency form blocks led by their lowest-numbered node.
// -lh1- sends the upper 6 bits of a position with a fixed code; -lh2- with a
// second adaptive tree that gains one leaf per 64 bytes produced.
#include <array>
#include <memory>

#include "core/archive/fixed_position_code.h"
#include "core/archive/huffman_table.h"
#include "core/archive/lz_window.h"
#include "core/archive/lzh_bit_reader.h"
#include "core/archive/lzh_decoders.h"

namespace luma {
namespace {

constexpr int kMaxCharSymbols = 314;  // -lh1-: lengths 3 to 60
constexpr int kCharTreeSize = 2 * kMaxCharSymbols;
constexpr int kPositionTreeSize = 2 * 128;
constexpr int kTreeSize = kCharTreeSize + kPositionTreeSize;
constexpr int kCharRoot = 0;
constexpr int kPositionRoot = kCharTreeSize;
constexpr int kFixedPositionSymbols = 64;

class AdaptiveSource {
 public:
  AdaptiveSource(std::span<const uint8_t> packed, const LzhMethodInfo& method)
      : reader_(packed), adaptive_positions_(method.method == LzhMethod::kLh2) {
    child_.fill(0);
    parent_.fill(0);
    block_.fill(0);
    edge_.fill(0);
    leaf_.fill(0);
    freq_.fill(0);
    for (int i = 0; i < kTreeSize; ++i) stock_[i] = static_cast<int16_t>(i);
    if (adaptive_positions_) {
      symbols_ = 286;
      extended_symbol_ = 285;  // followed by 8 bits more
      StartCharTree();
      StartPositionTree(method.dictionary_bits);
    } else {
      symbols_ = kMaxCharSymbols;
      extended_symbol_ = -1;
      StartCharTree();
      std::array<uint8_t, kFixedPositionSymbols> lengths;
      FixedPositionLengths(3, {1, 4, 12, 24, 48}, lengths.data(), kFixedPositionSymbols);
      fixed_positions_.Build(lengths.data(), kFixedPositionSymbols);
    }
  }

  unsigned NextCode(uint32_t) {
    int c = child_[kCharRoot];
    do {
      c = child_[c - static_cast<int>(reader_.Get(1))];
    } while (c > 0);
    const int symbol = ~c;
    UpdateChar(symbol);
    if (symbol == extended_symbol_) return symbol + reader_.Get(8);
    return static_cast<unsigned>(symbol);
  }

  uint32_t NextPosition(uint32_t produced) {
    unsigned upper;
    if (adaptive_positions_) {
      while (produced > next_leaf_at_) {
        AddPositionLeaf(static_cast<int>(next_leaf_at_ / 64));
        next_leaf_at_ += 64;
        if (next_leaf_at_ >= dictionary_size_) next_leaf_at_ = UINT32_MAX;
      }
      int c = child_[kPositionRoot];
      while (c > 0) c = child_[c - static_cast<int>(reader_.Get(1))];
      const int symbol = ~c - kMaxCharSymbols;
      UpdatePosition(symbol);
      upper = static_cast<unsigned>(symbol);
    } else {
      reader_.Refill();
      upper = fixed_positions_.Decode(reader_);
    }
    return (upper << 6) + reader_.Get(6);
  }

  bool Exhausted() const { return reader_.Exhausted(); }

 private:
  // Leaves of symbols 0, 1, ... from the highest node down, all of frequency
  // 1 in one block; then each internal node pairs the next two from the end.
  void StartCharTree() {
    int j = symbols_ * 2 - 2;
    for (int i = 0; i < symbols_; ++i, --j) {
      freq_[j] = 1;
      child_[j] = static_cast<int16_t>(~i);
      leaf_[i] = static_cast<int16_t>(j);
      block_[j] = 1;
    }
    avail_ = 2;
    edge_[1] = static_cast<int16_t>(symbols_ - 1);
    for (int i = symbols_ * 2 - 2; j >= 0; i -= 2, --j) {
      freq_[j] = static_cast<uint16_t>(freq_[i] + freq_[i - 1]);
      child_[j] = static_cast<int16_t>(i);
      parent_[i] = parent_[i - 1] = static_cast<int16_t>(j);
      if (freq_[j] == freq_[j + 1]) {
        block_[j] = block_[j + 1];
      } else {
        block_[j] = stock_[avail_++];
      }
      edge_[block_[j]] = static_cast<int16_t>(j);
    }
  }

  // The position tree starts as a lone leaf for position 0 at its root.
  void StartPositionTree(int dictionary_bits) {
    freq_[kPositionRoot] = 1;
    child_[kPositionRoot] = static_cast<int16_t>(~kMaxCharSymbols);
    leaf_[kMaxCharSymbols] = kPositionRoot;
    block_[kPositionRoot] = stock_[avail_++];
    edge_[block_[kPositionRoot]] = kPositionRoot;
    last_position_node_ = kPositionRoot;
    position_total_ = 0;
    dictionary_size_ = 1u << dictionary_bits;
    next_leaf_at_ = 64;
  }

  // Halves the frequencies of the leaves in [start, end) and rebuilds the
  // subtree from them.
  void Rebuild(int start, int end) {
    int j = start;
    int b = 0;
    for (int i = start; i < end; ++i) {
      const int k = child_[i];
      if (k < 0) {
        freq_[j] = static_cast<uint16_t>((freq_[i] + 1) / 2);
        child_[j] = static_cast<int16_t>(k);
        ++j;
      }
      b = block_[i];
      if (edge_[b] == i) stock_[--avail_] = static_cast<int16_t>(b);
    }
    --j;
    int i = end - 1;
    int l = end - 2;
    while (i >= start) {
      while (i >= l) {
        freq_[i] = freq_[j];
        child_[i] = child_[j];
        --i;
        --j;
      }
      const unsigned f = freq_[l] + freq_[l + 1];
      int k = start;
      while (k <= j && f < freq_[k]) ++k;
      while (j >= k) {
        freq_[i] = freq_[j];
        child_[i] = child_[j];
        --i;
        --j;
      }
      freq_[i] = static_cast<uint16_t>(f);
      child_[i] = static_cast<int16_t>(l + 1);
      --i;
      l -= 2;
    }
    unsigned f = 0;
    for (int n = start; n < end; ++n) {
      const int c = child_[n];
      if (c < 0) {
        leaf_[~c] = static_cast<int16_t>(n);
      } else {
        parent_[c] = parent_[c - 1] = static_cast<int16_t>(n);
      }
      const unsigned g = freq_[n];
      if (g == f && n != start) {
        block_[n] = static_cast<int16_t>(b);
      } else {
        b = block_[n] = stock_[avail_++];
        edge_[b] = static_cast<int16_t>(n);
        f = g;
      }
    }
  }

  // Raises the frequency of node p by one, first trading places with the
  // leader of its block so that the order is kept. Returns the parent.
  int Increment(int p) {
    const int b = block_[p];
    const int q = edge_[b];
    if (q != p) {
      const int r = child_[p];
      const int s = child_[q];
      child_[p] = static_cast<int16_t>(s);
      child_[q] = static_cast<int16_t>(r);
      if (r >= 0) {
        parent_[r] = parent_[r - 1] = static_cast<int16_t>(q);
      } else {
        leaf_[~r] = static_cast<int16_t>(q);
      }
      if (s >= 0) {
        parent_[s] = parent_[s - 1] = static_cast<int16_t>(p);
      } else {
        leaf_[~s] = static_cast<int16_t>(p);
      }
      p = q;
      LeaveBlock(p, b);
    } else if (b == block_[p + 1]) {
      LeaveBlock(p, b);
    } else if (++freq_[p] == freq_[p - 1]) {
      // p was alone in its block and now joins the one to its left.
      stock_[--avail_] = static_cast<int16_t>(b);
      block_[p] = block_[p - 1];
    }
    return parent_[p];
  }

  // p leads block b, which goes on without it; p joins the block to its left
  // or starts one of its own.
  void LeaveBlock(int p, int b) {
    ++edge_[b];
    if (++freq_[p] == freq_[p - 1]) {
      block_[p] = block_[p - 1];
    } else {
      block_[p] = stock_[avail_++];
      edge_[block_[p]] = static_cast<int16_t>(p);
    }
  }

  void UpdateChar(int symbol) {
    if (freq_[kCharRoot] == 0x8000) Rebuild(0, symbols_ * 2 - 1);
    ++freq_[kCharRoot];
    int q = leaf_[symbol];
    do {
      q = Increment(q);
    } while (q != kCharRoot);
  }

  void UpdatePosition(int symbol) {
    if (position_total_ == 0x8000) {
      Rebuild(kPositionRoot, last_position_node_ + 1);
      position_total_ = freq_[kPositionRoot];
      freq_[kPositionRoot] = 0xFFFF;
    }
    int q = leaf_[symbol + kMaxCharSymbols];
    while (q != kPositionRoot) q = Increment(q);
    ++position_total_;
  }

  // Splits the last node of the position tree into its old leaf and a new
  // leaf of frequency 0 for `symbol`, then counts that symbol once.
  void AddPositionLeaf(int symbol) {
    const int last = last_position_node_;
    const int r = last + 1;
    const int q = r + 1;
    child_[r] = child_[last];
    leaf_[~child_[r]] = static_cast<int16_t>(r);
    child_[q] = static_cast<int16_t>(~(symbol + kMaxCharSymbols));
    child_[last] = static_cast<int16_t>(q);
    freq_[r] = freq_[last];
    freq_[q] = 0;
    block_[r] = block_[last];
    if (last == kPositionRoot) {
      // The root stops counting; its total is kept apart.
      freq_[kPositionRoot] = 0xFFFF;
      ++edge_[block_[kPositionRoot]];
    }
    parent_[r] = parent_[q] = static_cast<int16_t>(last);
    block_[q] = stock_[avail_++];
    edge_[block_[q]] = static_cast<int16_t>(q);
    leaf_[symbol + kMaxCharSymbols] = static_cast<int16_t>(q);
    last_position_node_ = q;
    UpdatePosition(symbol);
  }

  LzhBitReader reader_;
  const bool adaptive_positions_;
  int symbols_ = 0;
  int extended_symbol_ = -1;
  // Nodes: a child value >= 0 names the pair (value, value - 1) taken for bit
  // 0 and bit 1; a negative one is ~symbol of a leaf.
  std::array<int16_t, kTreeSize> child_;
  std::array<int16_t, kTreeSize> parent_;
  std::array<int16_t, kTreeSize + 1> block_;
  std::array<int16_t, kTreeSize> edge_;
  std::array<int16_t, kTreeSize> stock_;
  std::array<int16_t, kTreeSize / 2> leaf_;  // node of each symbol
  std::array<uint16_t, kTreeSize> freq_;
  int avail_ = 0;
  // -lh2- positions.
  int last_position_node_ = 0;
  unsigned position_total_ = 0;
  uint32_t dictionary_size_ = 0;
  uint32_t next_leaf_at_ = 0;
  HuffmanTable<8, kFixedPositionSymbols> fixed_positions_;
};

}  // namespace

bool DecodeAdaptiveHuffman(const LzhMethodInfo& method, std::span<const uint8_t> packed,
                           uint32_t unpacked_size, LzhOutput& out) {
  // The trees take a few kilobytes; keep them off the stack.
  auto source = std::make_unique<AdaptiveSource>(packed, method);
  return DecodeSlidingDictionary(*source, method.dictionary_bits, 253, {}, unpacked_size, out);
}

}  // namespace luma
