// Renaming an individual or a locus in place, by the rules names are read by: the new name is
// cleaned as an imported name is (blanks, "," ";" and "=" made "_"), cut to 20 characters, and
// refused when it is empty or already names another individual (or locus) of the working data
// or of the data parked behind a selection. The groups' members (or the locus sets'), the
// parked labels and the coordinates follow the new name; the loaded original keeps the old one.
#pragma once

#include <string>
#include <string_view>

#include "core/result.h"
#include "core/workspace.h"

namespace vorn {

enum class NameKind { Individual, Locus };

// "individual" or "locus".
std::string_view KindWord(NameKind kind);

// The name text becomes, or the refusal naming the clash.
Result<std::string> CheckNewName(const Workspace& ws, NameKind kind, std::string_view from, std::string_view text);

// Renames from to text as CheckNewName takes it; the name given.
Result<std::string> Rename(Workspace& ws, NameKind kind, std::string_view from, std::string_view text);

}  // namespace vorn
