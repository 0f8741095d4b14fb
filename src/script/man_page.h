// The manual page vorn.1, made from the text of `vorn --help`, so that the two never differ.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

// helpText as a roff manual page: its first line gives NAME, a line "Heading:" at the margin
// opens a section, and every other line is kept as it stands (alignment included), with roff's
// special characters escaped.
std::string ManPage(std::string_view helpText);

}  // namespace vorn
