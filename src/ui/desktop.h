// The desktop program: `vorn` without a script. Desktop wires the host, the program and the main
// window together and lets long commands repaint the window; RunDesktop adds the application,
// the start-up sequence and the event loop (or the screenshot hook).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "commands/all_commands.h"
#include "ui/desktop_pictures.h"
#include "ui/main_window.h"
#include "ui/qt_host.h"

namespace vorn::ui {

// Needs a QApplication. While it exists, KeepResponsive() in a long command processes the
// window's paint and other non-input events; user input waits until the command ends.
class Desktop {
 public:
  // settingsPath: the file the window keeps its geometry and recent files in; empty keeps nothing.
  explicit Desktop(const std::string& settingsPath = {});
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  // The program's start-up sequence; the Log tab names the session's seed.
  void Start(std::optional<std::uint32_t> seed = std::nullopt);

  DesktopSettings settings;
  QtHost host;
  SessionRecorder recorder{host};
  TMainPrg program{recorder, AllCommands()};
  MainWindow window{program, host, settings};
  DesktopPictures pictures{&window};
};

struct DesktopOptions {
  std::optional<std::uint32_t> seed;  // otherwise the clock seeds the generator
  std::string screenshotPath;         // non-empty: save pictures and exit instead of running
  std::string dataFile;               // loaded at start, through File Parameter Selection
  std::string commit;                 // the commit the program was built from, for its reports
};

// Runs the desktop program; the process exit status.
int RunDesktop(const char* programName, const DesktopOptions& options);

}  // namespace vorn::ui
