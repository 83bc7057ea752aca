#ifndef LUMA_CORE_FKISS_FKISS_TARGET_H_
#define LUMA_CORE_FKISS_FKISS_TARGET_H_

#include <string>

namespace luma {

struct KissObject;
struct CelInstance;
struct CelSet;

// Something a script event or action names: an object (#n), one cel line
// ("file.cel" used once), or a cel set (a !group, or all lines of a cel file
// that several lines use). Exactly one pointer is set, or none.
struct FkissTarget {
  KissObject* object = nullptr;
  CelInstance* cel = nullptr;
  CelSet* cel_set = nullptr;

  static FkissTarget Of(KissObject* o) { return {o, nullptr, nullptr}; }
  static FkissTarget Of(CelInstance* c) { return {nullptr, c, nullptr}; }
  static FkissTarget Of(CelSet* s) { return {nullptr, nullptr, s}; }

  bool empty() const { return !object && !cel && !cel_set; }
  // The identity used to key per-target records.
  const void* key() const {
    if (object) return object;
    if (cel) return cel;
    return cel_set;
  }
  friend bool operator==(const FkissTarget& a, const FkissTarget& b) { return a.key() == b.key(); }
};

// "#3" for an object, the file or group name in double quotes otherwise,
// "NULL" for none: the form event display names use.
std::string TargetDisplayText(const FkissTarget& target);

}  // namespace luma

#endif  // LUMA_CORE_FKISS_FKISS_TARGET_H_
