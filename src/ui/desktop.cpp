#include "ui/desktop.h"

#include <QApplication>
#include <cstdlib>
#include <iostream>

#include "core/progress.h"
#include "ui/program_icon.h"
#include "ui/qt_text.h"
#include "ui/screenshots.h"

namespace vorn::ui {
namespace {

// Qt cannot start without a display unless a platform is named; say so plainly instead.
bool DisplayAvailable() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return true;
  }
  return false;
}

}  // namespace

Desktop::Desktop() {
  host.Attach(&window);
  program.pictures = &pictures;
  SetResponsivenessHandler([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
}

Desktop::~Desktop() {
  SetResponsivenessHandler({});
  host.Attach(nullptr);
}

int RunDesktop(const char* programName, const DesktopOptions& options) {
  if (!DisplayAvailable()) {
    std::cerr << "vorn: no display found for the window; run a script with --script FILE, or set "
                 "QT_QPA_PLATFORM=offscreen for pictures with --screenshot FILE\n";
    return 2;
  }
  int argc = 1;
  char* argv[] = {const_cast<char*>(programName), nullptr};
  QApplication application(argc, argv);
  QApplication::setApplicationName(ToQt(kApplicationTitle));
  QApplication::setWindowIcon(ProgramIcon());

  Desktop desktop;
  desktop.program.Start(options.seed);
  desktop.window.show();
  if (!options.screenshotPath.empty()) return SaveScreenshots(desktop, options.screenshotPath, std::cout) ? 0 : 1;
  return QApplication::exec();
}

}  // namespace vorn::ui
