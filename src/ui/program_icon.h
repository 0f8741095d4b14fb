// The program's icon (a dendrogram over a band pattern), compiled into the program from
// packaging/vorn.svg: the window, its boxes and the About box show it.
#pragma once

#include <QIcon>

namespace vorn::ui {

QIcon ProgramIcon();

}  // namespace vorn::ui
