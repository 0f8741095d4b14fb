#include "ui/program_icon.h"

// The resource lives in a static library: it must be registered by name, or the linker drops it.
static void RegisterProgramIconResource() { Q_INIT_RESOURCE(program_icon); }

namespace vorn::ui {

QIcon ProgramIcon() {
  static const bool registered = (RegisterProgramIconResource(), true);
  (void)registered;
  return QIcon(QStringLiteral(":/vorn/vorn.svg"));
}

}  // namespace vorn::ui
