// The program's licence and how to cite it: the About box and `vorn --version` give the same words.
#pragma once

#include <string>

#include "commands/shell/main_program.h"

namespace vorn {

inline constexpr const char* kLicenceNotice =
    "Vorn is free software: you may redistribute and change it under the GNU General Public License, "
    "version 3 or (at your option) any later version (GPL-3.0-or-later). It comes with no warranty.";

// With the commit `vorn --version` names, this is what a methods section needs to find the program again.
inline std::string CitationNotice() {
  return std::string("To cite it: the Vorn developers (2026). Vorn ") + kVersion +
         ": a workbench for binary fingerprint data of dominant markers. Give the commit that vorn --version "
         "names with it.";
}

}  // namespace vorn
