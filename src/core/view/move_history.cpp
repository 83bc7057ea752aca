#include "core/view/move_history.h"

#include <utility>

namespace luma {

void MoveHistory::Record(MoveStep step) {
  redo_.clear();
  undo_.push_back(std::move(step));
  if (undo_.size() > kLimit) undo_.pop_front();
}

std::optional<MoveStep> MoveHistory::TakeUndo() {
  if (undo_.empty()) return std::nullopt;
  MoveStep step = std::move(undo_.back());
  undo_.pop_back();
  redo_.push_back(step);
  return step;
}

std::optional<MoveStep> MoveHistory::TakeRedo() {
  if (redo_.empty()) return std::nullopt;
  MoveStep step = std::move(redo_.back());
  redo_.pop_back();
  undo_.push_back(step);
  return step;
}

void MoveHistory::Clear() {
  undo_.clear();
  redo_.clear();
}

}  // namespace luma
