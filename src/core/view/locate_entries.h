#ifndef LUMA_CORE_VIEW_LOCATE_ENTRIES_H_
#define LUMA_CORE_VIEW_LOCATE_ENTRIES_H_

#include <string>
#include <vector>

#include "core/model/doll_model.h"

namespace luma {

// What the "Find Object or Cel" window offers: every object as "#n" by
// number, and every cel line by its file name in CNF order. A file name
// that several lines use carries the object number ("shirt.cel #3"), so
// that each entry names one placement.
struct LocateEntries {
  struct Object {
    std::string label;
    int number = 0;
  };
  struct Cel {
    std::string label;
    CelInstance* cel = nullptr;
  };
  std::vector<Object> objects;
  std::vector<Cel> cels;
};

LocateEntries ListLocateEntries(const DollModel& doll);

}  // namespace luma

#endif  // LUMA_CORE_VIEW_LOCATE_ENTRIES_H_
