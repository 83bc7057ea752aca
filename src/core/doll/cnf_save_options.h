#ifndef LUMA_CORE_DOLL_CNF_SAVE_OPTIONS_H_
#define LUMA_CORE_DOLL_CNF_SAVE_OPTIONS_H_

namespace luma {

// The choices offered when a doll's CNF is saved. The document remembers the
// last ones that were saved successfully and offers them again.
struct CnfSaveOptions {
  bool transparencies = false;  // write the live transparencies
  bool mapping = false;         // write the live mapped flags
  bool positions = false;       // write the live positions and make them the reset positions
  bool bounds_hint = false;     // write ";HINT bounds" with the live bounds mode
  bool stack_hint = false;      // write ";HINT stack" with the current setting
  bool maxfix_hint = false;     // write ";HINT maxfix" with the current setting
  bool reformat = false;        // rewrite the whole CNF from the model
};

}  // namespace luma

#endif  // LUMA_CORE_DOLL_CNF_SAVE_OPTIONS_H_
