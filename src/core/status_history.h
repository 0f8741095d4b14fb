// The six status lines of the main window: the most recent report lines, oldest first.
// A line still holding its placeholder ("Label1" ... "Label6") counts as empty.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vorn {

class StatusHistory {
 public:
  static constexpr std::size_t kLineCount = 6;

  StatusHistory();

  // Fills the first empty line, or scrolls lines 2-6 up and puts text last.
  void Add(std::string_view text);

  const std::array<std::string, kLineCount>& Lines() const { return lines_; }
  // The line as a window shows it: placeholders are blank.
  std::string Shown(std::size_t index) const;
  bool IsEmpty(std::size_t index) const;

 private:
  std::array<std::string, kLineCount> lines_;
};

}  // namespace vorn
