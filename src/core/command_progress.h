// The progress of one long command, counted in steps ("Replicate 3 of 100"): shown by the host
// from the first Advance until the command ends, with a way for the user to stop the command
// after the step it is in.
#pragma once

#include <cstddef>
#include <string>

#include "core/host.h"

namespace vorn {

class CommandProgress {
 public:
  // caption names the command; unit names one step ("Replicate").
  CommandProgress(Host& host, std::string caption, std::string unit, std::size_t total)
      : host_(host), caption_(std::move(caption)), unit_(std::move(unit)), total_(total) {}
  ~CommandProgress() {
    if (shown_) host_.EndProgress();
  }
  CommandProgress(const CommandProgress&) = delete;
  CommandProgress& operator=(const CommandProgress&) = delete;

  // done steps are complete; shows the step in work. False once the user asked to stop.
  bool Advance(std::size_t done);
  // The same with a text of the command's own ("Rotation 5120; ...").
  bool Show(std::size_t done, const std::string& text);
  bool Cancelled() const { return cancelled_; }
  // For commands whose steps come in rounds: the unit names the round too ("r= 316: tree").
  void SetUnit(std::string unit) { unit_ = std::move(unit); }

 private:
  Host& host_;
  std::string caption_;
  std::string unit_;
  std::size_t total_;
  bool shown_ = false;
  bool cancelled_ = false;
};

}  // namespace vorn
