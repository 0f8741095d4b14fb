// Reading tree texts back: the list of tree lines of a file, the normal form every reader works
// on (no blanks, no NULs, no branch lengths) and the OTU names of a tree in order of appearance.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace vorn {

inline constexpr std::size_t kMaxTreeNames = 60000;

// The tree lines of a file: each line loses one space or NUL at its end and one at its start;
// empty lines are skipped, and a line "*" ends the list.
Result<std::vector<std::string>> ReadTreeList(const std::string& fileName);

// text without spaces, NULs and branch lengths (each ":" with what follows it up to the next
// ")", "," or ";").
std::string NormaliseTreeText(std::string_view text);

// The OTU names of a tree in the order they first appear, each cut to 20 characters, at most
// 60000. The root label (between the last ")" and the ";") is not a name; a text without ";"
// ends its tree at its end.
std::vector<std::string> ExtractOTUNames(std::string_view treeText);

}  // namespace vorn
