#ifndef LUMA_CORE_MODEL_KISS_OBJECT_H_
#define LUMA_CORE_MODEL_KISS_OBJECT_H_

#include <array>
#include <cstdint>
#include <vector>

#include "core/model/cel_instance.h"

namespace luma {

struct Position {
  int x = 0;
  int y = 0;
  friend bool operator==(const Position&, const Position&) = default;
};

using SetPositions = std::array<Position, kSetCount>;

// One object number: the cel lines that move together.
struct KissObject {
  int number = 0;
  uint32_t fix = 0;  // the largest fix of its cel lines
  uint32_t cnf_fix = 0;
  std::vector<CelInstance*> cels;   // in CNF order
  SetPositions position{};          // live, per set
  SetPositions saved_position{};    // taken when the object is pressed
  SetPositions initial_position{};  // from the set lines; Reset restores it
};

}  // namespace luma

#endif  // LUMA_CORE_MODEL_KISS_OBJECT_H_
