#include "core/command_progress.h"

#include <algorithm>

namespace vorn {

bool CommandProgress::Advance(std::size_t done) {
  if (cancelled_) return false;
  shown_ = true;
  const std::size_t inWork = std::min(done + 1, total_);
  const std::string text = unit_ + " " + std::to_string(inWork) + " of " + std::to_string(total_);
  cancelled_ = !host_.ShowProgress(caption_, text, done, total_);
  return !cancelled_;
}

}  // namespace vorn
