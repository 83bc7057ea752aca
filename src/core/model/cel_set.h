#ifndef LUMA_CORE_MODEL_CEL_SET_H_
#define LUMA_CORE_MODEL_CEL_SET_H_

#include <array>
#include <string>
#include <vector>

#include "core/model/cel_instance.h"

namespace luma {

// A named list of cel instances: a cel group (!name on cel lines) or the
// ambiguous-cel entry of one cel file name. Membership per set comes from the
// set lists that follow a group name.
struct CelSet {
  std::string name;
  std::vector<CelInstance*> instances;
  std::array<std::vector<CelInstance*>, kSetCount> by_set;

  // Adds the instance once, and records this set in the instance's list.
  void AddInstance(CelInstance* instance);
  // Adds the instance to the membership of set `set` (0-9) once.
  void AddInstanceForSet(CelInstance* instance, int set);
};

}  // namespace luma

#endif  // LUMA_CORE_MODEL_CEL_SET_H_
