#ifndef LUMA_CORE_DOLL_LOAD_PROGRESS_H_
#define LUMA_CORE_DOLL_LOAD_PROGRESS_H_

#include <string_view>

#include "core/host/host.h"

namespace luma {

// The progress window of loading and closing a doll. Each stage sets its
// status text and item count; the bar moves every (count / 100 + 1) items.
class LoadProgress {
 public:
  explicit LoadProgress(Host& host) : host_(host) {}
  ~LoadProgress() { Hide(); }
  LoadProgress(const LoadProgress&) = delete;
  LoadProgress& operator=(const LoadProgress&) = delete;

  void Show(std::string_view caption) {
    host_.ProgressShow(caption);
    visible_ = true;
  }
  void Stage(std::string_view status, int count) {
    host_.ProgressStatus(status);
    host_.ProgressRange(count);
    host_.ProgressPosition(0);
    step_ = count / 100 + 1;
  }
  void Step(int item) {
    if (item % step_ == 0) host_.ProgressPosition(item);
  }
  void Hide() {
    if (visible_) host_.ProgressHide();
    visible_ = false;
  }
  Host& host() { return host_; }

 private:
  Host& host_;
  int step_ = 1;
  bool visible_ = false;
};

}  // namespace luma

#endif  // LUMA_CORE_DOLL_LOAD_PROGRESS_H_
