#include "core/status_history.h"

namespace vorn {
namespace {

std::string Placeholder(std::size_t index) { return "Label" + std::to_string(index + 1); }

}  // namespace

StatusHistory::StatusHistory() {
  for (std::size_t i = 0; i < kLineCount; ++i) lines_[i] = Placeholder(i);
}

bool StatusHistory::IsEmpty(std::size_t index) const {
  return lines_[index].empty() || lines_[index] == Placeholder(index);
}

std::string StatusHistory::Shown(std::size_t index) const { return IsEmpty(index) ? std::string() : lines_[index]; }

void StatusHistory::Add(std::string_view text) {
  std::size_t filled = 0;
  for (std::size_t i = 0; i < kLineCount; ++i) filled += IsEmpty(i) ? 0 : 1;
  if (filled < kLineCount) {
    lines_[filled] = std::string(text);
    return;
  }
  for (std::size_t i = 1; i < kLineCount; ++i) lines_[i - 1] = std::move(lines_[i]);
  lines_[kLineCount - 1] = std::string(text);
}

}  // namespace vorn
