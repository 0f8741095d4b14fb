// The handlers of the session report, added to the program's table.
#pragma once

#include "commands/shell/main_program.h"

namespace vorn {

void RegisterReportCommand(HandlerTable& table);

}  // namespace vorn
