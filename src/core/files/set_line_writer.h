#ifndef LUMA_CORE_FILES_SET_LINE_WRITER_H_
#define LUMA_CORE_FILES_SET_LINE_WRITER_H_

#include <span>
#include <string>

#include "core/files/unloaded_cel_lines.h"
#include "core/model/doll_model.h"

namespace luma {

// Appends the set line of set `set` (0-9) to `out`: "$" and the set's palette
// group as read from the CNF, then for every object number from 0 to the
// highest one with a cel in that set " x,y", or " *" for a number without
// such an object. Every tenth object starts a continuation line (a line
// break, then the entry's leading blank). With `live_positions` the objects'
// current positions and the set's current palette group are written, else
// the positions and the group the CNF gave. Cel
// lines in `unloaded` count as the cels they name, so their objects keep
// their positions; an object without any cel line is written in every set
// line, so that it still exists when the CNF is read again.
void WriteSetLine(std::string& out, const DollModel& doll, int set, bool live_positions,
                  std::span<const UnloadedCelLine> unloaded = {});

// Makes the current positions and palette groups the ones the CNF gives, as
// after saving them.
void AdoptLivePositions(DollModel& doll);

}  // namespace luma

#endif  // LUMA_CORE_FILES_SET_LINE_WRITER_H_
