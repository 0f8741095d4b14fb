// The rules every name written into a data file keeps so that the reader gives it back as it was:
// the table's individual and locus names, and the entry and member names of the group blocks.
// A name is one field of a line, so it is not empty and holds none of the characters that
// separate fields or end lines (space, tab, NUL, CR, LF); labels and member names, which the
// reader cuts to 20 characters, are no longer than that.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

// What keeps name from being read back as itself ("is empty", "contains a space, ..."), or ""
// when nothing does. cutToLabel: the reader cuts the name to 20 characters.
std::string_view NameFault(std::string_view name, bool cutToLabel);

// The name in double quotes for a message, with tabs, line ends and NULs shown as <tab>, <CR>,
// <LF> and <NUL>.
std::string QuotedName(std::string_view name);

// The closing words of every refusal of the writer.
inline constexpr std::string_view kCouldNotBeReadAgain = ", or the saved file could not be read again.";

}  // namespace vorn
