// The program's texts are 8-bit Windows-1252 strings, as its data files are; file names and
// texts typed on a modern desktop arrive as UTF-8. Hosts show both through DisplayText.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

bool IsValidUtf8(std::string_view text);

// UTF-8 for display: text that already is valid UTF-8 stays as it is, anything else is read
// as Windows-1252 ("Dice; S\xF8rensen" shows as "Dice; Sørensen").
std::string DisplayText(std::string_view text);

}  // namespace vorn
