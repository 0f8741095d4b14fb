// The desktop program: `vorn` without a script. Desktop wires the host, the program and the main
// window together and lets long commands repaint the window; RunDesktop adds the application,
// the start-up sequence and the event loop (or the screenshot hook).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "commands/main_program.h"
#include "ui/desktop_pictures.h"
#include "ui/main_window.h"
#include "ui/qt_host.h"

namespace vorn::ui {

// Needs a QApplication. While it exists, KeepResponsive() in a long command processes the
// window's paint and other non-input events; user input waits until the command ends.
class Desktop {
 public:
  Desktop();
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  QtHost host;
  TMainPrg program{host};
  MainWindow window{program};
  DesktopPictures pictures{&window};
};

struct DesktopOptions {
  std::optional<std::uint32_t> seed;  // otherwise the clock seeds the generator
  std::string screenshotPath;         // non-empty: save pictures and exit instead of running
};

// Runs the desktop program; the process exit status.
int RunDesktop(const char* programName, const DesktopOptions& options);

}  // namespace vorn::ui
