// Lines of a text held in memory (a command script), split as LineReader splits a file's: each
// ended by CR LF, LF or CR, and a leading UTF-8 byte-order mark skipped, which is no text.
#pragma once

#include <string_view>
#include <vector>

namespace vorn {

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The lines of text without their line ends; a final line end opens no further line.
std::vector<std::string_view> TextLines(std::string_view text);

}  // namespace vorn
