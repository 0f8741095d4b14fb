// The folder the running program was started from, and the files installed with it: beside the
// program in a build tree, or in the installation's data folder (bin/../share/vorn).
#pragma once

#include <string>

namespace vorn {

// The folder holding the running executable, without a trailing "/"; "." when the system
// cannot tell (files are then looked up in the current folder).
std::string ProgramFolder();

// The file installed with the program under name: beside the program when it is there (a build
// tree), else in the installation's data folder when it is there; beside the program otherwise,
// so that a message about a missing file names the first place looked at.
std::string InstalledFile(const std::string& name);

}  // namespace vorn
