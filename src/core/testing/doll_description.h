#ifndef LUMA_CORE_TESTING_DOLL_DESCRIPTION_H_
#define LUMA_CORE_TESTING_DOLL_DESCRIPTION_H_

#include <string>

namespace luma {
class DollModel;
class FkissScript;
}  // namespace luma

namespace luma::testing {

// Everything a CNF declares about a loaded doll, one fact per line, in a form
// that does not depend on how the CNF was laid out (no line numbers): the
// playfield, border, palettes, HINTs, set palette groups; per cel line its
// object, file, palette, sets, transparency, mapping, ghost flag, offsets,
// comment and groups; per object with cels its fix and its positions in the
// sets it shows in; groups with their per-set members; the cel sets of
// shared cel files; the script's events that have actions (in the order
// opened) with their actions and what every parameter resolved to. Two
// loads of equivalent CNFs describe alike. `script` may be null.
std::string DescribeDoll(const DollModel& doll, const FkissScript* script);

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_DOLL_DESCRIPTION_H_
