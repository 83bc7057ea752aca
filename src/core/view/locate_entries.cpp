#include "core/view/locate_entries.h"

#include <map>

#include "core/host/text.h"

namespace luma {

LocateEntries ListLocateEntries(const DollModel& doll) {
  LocateEntries entries;
  for (const auto& object : doll.objects()) {
    entries.objects.push_back({StringPrintf("#%d", object->number), object->number});
  }
  // Names compare as the loader compares file names: without regard to case.
  std::map<std::string, int> uses;
  for (const auto& cel : doll.instances()) {
    if (cel->cel) ++uses[FoldNameCase(cel->cel->file_name, doll.text_encoding)];
  }
  for (const auto& cel : doll.instances()) {
    if (!cel->cel) continue;
    std::string label = cel->cel->file_name;
    if (uses[FoldNameCase(label, doll.text_encoding)] > 1)
      label += StringPrintf(" #%d", cel->object_number);
    entries.cels.push_back({std::move(label), cel.get()});
  }
  return entries;
}

}  // namespace luma
