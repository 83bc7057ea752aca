#include "core/archive/lh5_encoder.h"

namespace luma {

Lh5Encoder::Lh5Encoder() : coder_(Lh5MatchFinder::kDictionaryBits) {}

bool Lh5Encoder::Encode(std::span<const uint8_t> source, std::vector<uint8_t>* out) {
  constexpr uint32_t kMinMatch = Lh5MatchFinder::kMinMatch;
  const size_t start = out->size();
  coder_.Start(out, source.size());
  finder_.Start(source);

  // Lazy matching: a match found at one position is only taken if the next
  // position does not offer a longer one; otherwise its first byte goes out
  // as a literal and the longer match becomes the candidate.
  while (finder_.remainder() > 0 && !coder_.unpackable()) {
    const uint32_t last_length = finder_.match_length();
    const uint32_t last_distance = finder_.match_distance();
    finder_.Advance();
    finder_.Search(last_length - 1);
    finder_.Insert();
    if (finder_.match_length() > last_length || last_length < kMinMatch) {
      coder_.Literal(finder_.PreviousByte());
      continue;
    }
    coder_.Match(static_cast<int>(last_length),
                 (last_distance - 1) & (Lh5MatchFinder::kDictionarySize - 1));
    for (uint32_t i = 2; i < last_length; ++i) {
      finder_.Advance();
      finder_.Insert();
    }
    finder_.Advance();
    finder_.Search(kMinMatch - 1);
    finder_.Insert();
  }
  coder_.Finish();

  if (coder_.unpackable() || out->size() - start >= source.size()) {
    out->resize(start);
    return false;
  }
  return true;
}

}  // namespace luma
