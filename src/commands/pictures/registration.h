// The handlers of the pictures, added to the program's table.
#pragma once

#include "commands/shell/main_program.h"

namespace vorn {

void RegisterPictureCommands(HandlerTable& table);

}  // namespace vorn
