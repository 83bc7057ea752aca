#include "core/model/cel_set.h"

#include <algorithm>

namespace luma {
namespace {

bool Contains(const std::vector<CelInstance*>& list, const CelInstance* instance) {
  return std::find(list.begin(), list.end(), instance) != list.end();
}

}  // namespace

void CelSet::AddInstance(CelInstance* instance) {
  if (!Contains(instances, instance)) instances.push_back(instance);
  auto& sets = instance->cel_sets;
  if (std::find(sets.begin(), sets.end(), this) == sets.end()) sets.push_back(this);
}

void CelSet::AddInstanceForSet(CelInstance* instance, int set) {
  if (set < 0 || set >= kSetCount) return;
  if (!Contains(by_set[set], instance)) by_set[set].push_back(instance);
}

}  // namespace luma
