#include "core/command_progress.h"

#include <algorithm>

namespace vorn {

bool CommandProgress::Advance(std::size_t done) {
  const std::size_t inWork = std::min(done + 1, total_);
  return Show(done, unit_ + " " + std::to_string(inWork) + " of " + std::to_string(total_));
}

bool CommandProgress::Show(std::size_t done, const std::string& text) {
  if (cancelled_) return false;
  shown_ = true;
  cancelled_ = !host_.ShowProgress(caption_, text, done, total_);
  return !cancelled_;
}

}  // namespace vorn
