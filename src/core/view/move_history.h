#ifndef LUMA_CORE_VIEW_MOVE_HISTORY_H_
#define LUMA_CORE_VIEW_MOVE_HISTORY_H_

#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

#include "core/model/kiss_object.h"

namespace luma {

// One drag the user made, in the set where it happened: where the dragged
// object (first) and everything that moved along with it stood before the
// press and after the release.
struct MoveStep {
  struct Placement {
    int object = 0;  // object number
    Position before;
    Position after;
  };
  int set = 0;
  std::vector<Placement> placements;
};

// The user's drags of one doll, to take back and make again. A new drag
// forgets what was taken back; the oldest steps go beyond kLimit.
class MoveHistory {
 public:
  static constexpr size_t kLimit = 1000;

  void Record(MoveStep step);
  // The step to take back (it becomes the next to redo), or nothing.
  std::optional<MoveStep> TakeUndo();
  // The step to make again (it becomes the next to undo), or nothing.
  std::optional<MoveStep> TakeRedo();
  void Clear();

  bool can_undo() const { return !undo_.empty(); }
  bool can_redo() const { return !redo_.empty(); }
  size_t undo_count() const { return undo_.size(); }
  size_t redo_count() const { return redo_.size(); }

 private:
  std::deque<MoveStep> undo_;
  std::deque<MoveStep> redo_;
};

}  // namespace luma

#endif  // LUMA_CORE_VIEW_MOVE_HISTORY_H_
