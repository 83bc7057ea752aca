#include "core/testing/sample_data.h"

#include <random>
#include <string>

namespace luma::testing {

std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> out(size);
  for (uint8_t& b : out) b = static_cast<uint8_t>(rng());
  return out;
}

std::vector<uint8_t> SampleText(size_t size, uint32_t seed) {
  static const char* const kSyllables[] = {"ka", "ri", "sho", "tu", "mel", "an",  "do", "li",
                                           "ne", "bo", "sa",  "ki", "ru",  "wen", "ta", "mi"};
  static const char* const kComments[] = {"shirt",  "skirt", "hat",      "shoes", "hair",
                                          "ribbon", "coat",  "the doll", "and",   "layer"};
  std::mt19937 rng(seed);
  const auto word = [&] {
    std::string w;
    for (int n = 1 + static_cast<int>(rng() % 3); n > 0; --n) w += kSyllables[rng() % 16];
    return w;
  };
  std::string text;
  while (text.size() < size) {
    switch (rng() % 4) {
      case 0:
        text += ";";
        for (int n = 1 + static_cast<int>(rng() % 6); n > 0; --n) {
          text += " " + (rng() % 3 ? word() : std::string(kComments[rng() % 10]));
        }
        break;
      case 1:
        text += "$" + std::to_string(rng() % 10);
        for (int n = static_cast<int>(rng() % 8); n > 0; --n) {
          text += " " + std::to_string(rng() % 640) + "," + std::to_string(rng() % 480);
        }
        break;
      default:
        text += "#" + std::to_string(rng() % 200);
        if (rng() % 3 == 0) text += "." + std::to_string(rng() % 100);
        text += " " + word() + ".cel";
        if (rng() % 2) text += " *" + std::to_string(rng() % 4);
        text += " :";
        for (int set = 0; set < 10; ++set) {
          if (rng() % 3) text += " " + std::to_string(set);
        }
        if (rng() % 3 == 0) text += " ;%t" + std::to_string(rng() % 256);
        if (rng() % 3 == 0) text += " ; " + word();
        break;
    }
    text += "\r\n";
  }
  text.resize(size);
  return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace luma::testing
