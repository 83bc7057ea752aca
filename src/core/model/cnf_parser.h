#ifndef LUMA_CORE_MODEL_CNF_PARSER_H_
#define LUMA_CORE_MODEL_CNF_PARSER_H_

#include <string_view>

#include "core/host/host.h"
#include "core/host/status.h"
#include "core/model/doll_model.h"

namespace luma {

struct CnfParseOptions {
  // The renderer keeps indexed cels in paletted textures: every cel line
  // then registers its cel with palette 0, so one cel serves all palettes.
  bool paletted_textures = false;
};

// Reads `doll.cnf_lines` once, in order, into the doll: palette file names,
// cel lines (cels, instances, objects, groups), set lines, playfield, border
// and HINT lines. FKiSS lines are collected in `doll.fkiss_lines` unparsed.
// Every problem becomes an entry of `doll.report`; only running out of memory
// stops the parse, and it fails with kOutOfMemoryText. Progress goes to `host`.
Status ParseCnf(DollModel& doll, Host& host, const CnfParseOptions& options);

// The palette file a palette line's data ("%name", "%%name") declares;
// empty when the line declares none.
std::string_view PaletteLineFileName(std::string_view data);

}  // namespace luma

#endif  // LUMA_CORE_MODEL_CNF_PARSER_H_
