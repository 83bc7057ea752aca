#include "core/archive/huffman_code_builder.h"

#include <algorithm>
#include <array>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

namespace luma {

int BuildHuffmanLengths(std::span<const uint32_t> freq, std::span<uint8_t> lengths) {
  const int n = static_cast<int>(freq.size());
  std::fill(lengths.begin(), lengths.end(), uint8_t{0});

  // Leaves are nodes 0..n-1, merged nodes are numbered from n upwards, so a
  // node's parent always has a higher number than the node.
  using Entry = std::pair<uint64_t, int>;  // weight, node
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
  for (int s = 0; s < n; ++s) {
    if (freq[s] != 0) queue.emplace(freq[s], s);
  }
  const int used = static_cast<int>(queue.size());
  if (used < 2) return used;

  std::vector<int> parent(2 * static_cast<size_t>(n), -1);
  int next = n;
  while (queue.size() > 1) {
    const Entry a = queue.top();
    queue.pop();
    const Entry b = queue.top();
    queue.pop();
    parent[a.second] = next;
    parent[b.second] = next;
    queue.emplace(a.first + b.first, next);
    ++next;
  }
  const int root = next - 1;
  std::vector<int> depth(2 * static_cast<size_t>(n), 0);
  for (int node = root - 1; node >= n; --node) depth[node] = depth[parent[node]] + 1;

  std::vector<int> leaves;
  leaves.reserve(used);
  for (int s = 0; s < n; ++s) {
    if (freq[s] != 0) {
      depth[s] = depth[parent[s]] + 1;
      leaves.push_back(s);
    }
  }

  // Clamp deep leaves to the limit, then restore a complete code: each round
  // takes one leaf off the deepest level and splits the deepest shorter leaf
  // into two one level down, which lowers the Kraft sum by one unit.
  std::array<int, kMaxHuffmanCodeLength + 1> count{};
  for (int s : leaves) ++count[std::min(depth[s], kMaxHuffmanCodeLength)];
  uint32_t kraft = 0;
  for (int len = 1; len <= kMaxHuffmanCodeLength; ++len) {
    kraft += static_cast<uint32_t>(count[len]) << (kMaxHuffmanCodeLength - len);
  }
  while (kraft != (1u << kMaxHuffmanCodeLength)) {
    --count[kMaxHuffmanCodeLength];
    for (int len = kMaxHuffmanCodeLength - 1; len > 0; --len) {
      if (count[len] != 0) {
        --count[len];
        count[len + 1] += 2;
        break;
      }
    }
    --kraft;
  }

  // The rarest symbols take the longest codes.
  std::sort(leaves.begin(), leaves.end(), [&](int a, int b) {
    if (depth[a] != depth[b]) return depth[a] > depth[b];
    if (freq[a] != freq[b]) return freq[a] < freq[b];
    return a < b;
  });
  size_t k = 0;
  for (int len = kMaxHuffmanCodeLength; len > 0; --len) {
    for (int i = 0; i < count[len]; ++i) lengths[leaves[k++]] = static_cast<uint8_t>(len);
  }
  return used;
}

void AssignCanonicalCodes(std::span<const uint8_t> lengths, std::span<uint16_t> codes) {
  std::array<uint32_t, kMaxHuffmanCodeLength + 2> start{};
  std::array<uint32_t, kMaxHuffmanCodeLength + 1> count{};
  for (uint8_t len : lengths) {
    if (len != 0) ++count[len];
  }
  for (int len = 1; len <= kMaxHuffmanCodeLength; ++len) {
    start[len + 1] = (start[len] + count[len]) << 1;
  }
  for (size_t s = 0; s < lengths.size(); ++s) {
    codes[s] = lengths[s] == 0 ? 0 : static_cast<uint16_t>(start[lengths[s]]++);
  }
}

}  // namespace luma
