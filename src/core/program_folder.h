// The folder the running program was started from, where the files installed beside it live.
#pragma once

#include <string>

namespace vorn {

// The folder holding the running executable, without a trailing "/"; "." when the system
// cannot tell (files are then looked up in the current folder).
std::string ProgramFolder();

}  // namespace vorn
