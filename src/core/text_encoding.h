// The program's texts are 8-bit Windows-1252 strings, as its data files are; file names and
// texts typed on a modern desktop arrive as UTF-8. Hosts show both through DisplayText and
// hand typed text back through ProgramText.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

bool IsValidUtf8(std::string_view text);

// UTF-8 for display: text that already is valid UTF-8 stays as it is, anything else is read
// as Windows-1252 ("Dice; S\xF8rensen" shows as "Dice; Sørensen"). Every name that enters the
// program (labels, group and locus-set names, from files, tables or typing) is kept in this
// form, so that a script, a saved file and the menu all spell it alike.
std::string DisplayText(std::string_view text);

// The program's 8-bit form of typed UTF-8 text: Windows-1252 when every character has a byte
// there ("S\xC3\xB8rensen" becomes "S\xF8rensen"). Text with a character outside that code page,
// or whose 8-bit form DisplayText would misread as UTF-8, stays UTF-8, so that it still shows
// as typed. Invalid UTF-8 is returned unchanged.
std::string ProgramText(std::string_view utf8);

// True when bytes start with a UTF-16 byte-order mark: FF FE (little-endian, a spreadsheet's
// "Unicode text") or FE FF (big-endian).
bool StartsWithUtf16ByteOrderMark(std::string_view bytes);

// The text of a file's bytes: UTF-16 with its byte-order mark becomes UTF-8 without it (a lone
// surrogate or a last odd byte becoming U+FFFD); anything else is returned as it is.
std::string FileText(std::string bytes);

// The number of characters of UTF-8 text (bytes that do not continue a character).
std::size_t CharacterCount(std::string_view utf8);

// The first count characters of UTF-8 text, never ending inside a character.
std::string_view FirstCharacters(std::string_view utf8, std::size_t count);

}  // namespace vorn
