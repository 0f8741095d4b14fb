#include "core/text_lines.h"

#include <algorithm>

namespace vorn {

std::vector<std::string_view> TextLines(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    lines.push_back(text.substr(0, end));
    const std::size_t next = end + (text.substr(end).starts_with("\r\n") ? 2 : 1);
    text.remove_prefix(std::min(next, text.size()));
  }
  return lines;
}

}  // namespace vorn
