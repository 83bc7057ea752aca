#ifndef LUMA_CORE_MODEL_CEL_INSTANCE_H_
#define LUMA_CORE_MODEL_CEL_INSTANCE_H_

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "core/model/cel_geometry.h"

namespace luma {

struct KissCel;
struct KissObject;
struct CelSet;

inline constexpr int kSetCount = 10;

// One cel line of the CNF: a cel placed in an object. Values FKiSS and the
// user may change are held twice; the cnf_ copy is what Reset restores.
struct CelInstance {
  uint16_t object_number = 0;
  KissCel* cel = nullptr;
  KissObject* object = nullptr;
  uint16_t transparency = 0;  // 0 opaque .. 255 invisible
  uint16_t cnf_transparency = 0;
  uint16_t palette = 0;  // palette line index
  uint16_t cnf_palette = 0;
  std::bitset<kSetCount> in_set = std::bitset<kSetCount>().set();
  bool ghost = false;  // passed over by mouse clicks
  bool cnf_ghost = false;
  bool mapped = true;
  bool cnf_mapped = true;
  // Where the image sits inside the object. Set by %x and %y on the line;
  // otherwise taken from the cel file when the instance is prepared.
  int x_offset = 0;
  int y_offset = 0;
  bool x_offset_given = false;
  bool y_offset_given = false;
  int line = 0;                   // 0-based index of the cel line in the CNF
  int extra_lines = 0;            // following ;! lines that continue it
  std::string comment;            // the free comment after the extension
  std::vector<CelSet*> cel_sets;  // groups and the ambiguous-cel entry it belongs to
  InstanceGeometry geometry;      // tiles and vertices, made by the renderer
};

}  // namespace luma

#endif  // LUMA_CORE_MODEL_CEL_INSTANCE_H_
