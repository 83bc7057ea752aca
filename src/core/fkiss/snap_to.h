#ifndef LUMA_CORE_FKISS_SNAP_TO_H_
#define LUMA_CORE_FKISS_SNAP_TO_H_

namespace luma {

class DollModel;
class FkissScript;
struct FkissEvent;
struct KissObject;
struct RegionPair;

// Whether `event` of `pair` is a snap-to effect: an in or stillin event of two
// objects (child, parent) whose actions are one movebyx and one movebyy, each
// naming the child and the parent.
bool IsSnapToEvent(const RegionPair& pair, const FkissEvent& event);

// Fills every target record's snap-to information: the events attached to it,
// whether it has any, and whether all of them are snap-to effects.
void AnalyseSnapTo(FkissScript& script);

// Whether the script holds a snap-to effect moving `child` onto `parent`.
bool FindSnapTo(const FkissScript& script, const KissObject* parent, const KissObject* child);

// Adds a snap-to effect keeping `child` where it now is relative to `parent`
// in set `set`, both in the running script and, unless the doll will be
// rewritten from its model, as FKiSS text for the CNF. Turns the script on.
void AddSnapTo(FkissScript& script, DollModel& doll, KissObject* parent, KissObject* child,
               bool use_stillin, int set);

// Removes the snap-to effects between the two objects (in either role) and
// marks the doll to be rewritten from its model when saved. Returns whether
// any was found.
bool RemoveSnapTo(FkissScript& script, const KissObject* parent, const KissObject* child);

}  // namespace luma

#endif  // LUMA_CORE_FKISS_SNAP_TO_H_
