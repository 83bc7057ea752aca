#include "core/fkiss/fkiss_event.h"

#include "core/host/text.h"

namespace luma {

std::string AlarmDisplayName(const FkissEvent& alarm) {
  if (!alarm.id_name.empty()) return StringPrintf("alarm(%s)", alarm.id_name.c_str());
  return StringPrintf("alarm(%ld)", static_cast<long>(static_cast<int32_t>(alarm.id_number)));
}

std::string LabelDisplayName(const FkissEvent& label) {
  if (!label.id_name.empty()) return StringPrintf("label(%s)", label.id_name.c_str());
  return StringPrintf("label(%ld)", static_cast<long>(static_cast<int32_t>(label.id_number)));
}

std::string TargetEventDisplayName(int code, const std::string& target) {
  return StringPrintf("%s(%s)", FkissCommandTable::Name(code), target.c_str());
}

std::string PairEventDisplayName(int code, const std::string& first, const std::string& second) {
  return StringPrintf("%s(%s, %s)", FkissCommandTable::Name(code), first.c_str(), second.c_str());
}

std::string NumberEventDisplayName(int code, int number) {
  return StringPrintf("%s(%d)", FkissCommandTable::Name(code), number);
}

std::string KeyEventDisplayName(int code, const std::string& key) {
  return StringPrintf("%s(\"%s\")", FkissCommandTable::Name(code), key.c_str());
}

std::string DetachedDisplayName(int object_number) {
  return StringPrintf("detached(#%d)", object_number);
}

std::string FixedEventDisplayName(int code) {
  return StringPrintf("%s()", FkissCommandTable::Name(code));
}

}  // namespace luma
