#ifndef LUMA_CORE_MODEL_DOLL_SET_H_
#define LUMA_CORE_MODEL_DOLL_SET_H_

namespace luma {

// One of the ten sets (pages) of a doll.
struct DollSet {
  int palette_group = 0;  // 0-9, from the set line
  int cnf_palette_group = 0;
  bool used = false;  // some cel instance is in this set
};

}  // namespace luma

#endif  // LUMA_CORE_MODEL_DOLL_SET_H_
