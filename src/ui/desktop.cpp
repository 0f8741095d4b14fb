#include "ui/desktop.h"

#include <QApplication>
#include <QDialog>
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

// Opens path (a data file loaded, a CSV or TSV table imported) with the layout its dialog shows at
// start, answering its windows with OK as a user pressing Enter would.
void LoadAsShown(Desktop& desktop, const std::string& path) {
  desktop.host.SetResponder([](QDialog& dialog) {
    dialog.accept();
    return static_cast<int>(QDialog::Accepted);
  });
  desktop.window.OpenFile(path);
  desktop.host.SetResponder({});
}

}  // namespace

Desktop::Desktop(const std::string& settingsPath) : settings(settingsPath) {
  host.Attach(&window);
  program.pictures = &pictures;
  window.OnCommandEnded([this] { pictures.Refresh(); });
  program.recorder = &recorder;
  SetResponsivenessHandler([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
}

Desktop::~Desktop() {
  SetResponsivenessHandler({});
  host.Attach(nullptr);
}

void Desktop::Start(std::optional<std::uint32_t> seed) {
  program.Start(seed);
  window.AddToLog(host.TimeText(), "Random seed of this session: " + std::to_string(program.StartSeed()) +
                                       " (vorn --script FILE --seed " + std::to_string(program.StartSeed()) +
                                       " draws the same numbers)");
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

  // The screenshot hook shows the window as it opens the first time, and keeps nothing.
  const bool screenshots = !options.screenshotPath.empty();
  Desktop desktop(screenshots ? std::string() : DesktopSettings::UserPath());
  desktop.program.buildCommit = options.commit;
  desktop.Start(options.seed);
  desktop.window.show();
  if (screenshots) {
    if (!options.dataFile.empty()) LoadAsShown(desktop, options.dataFile);
    return SaveScreenshots(desktop, options.screenshotPath, std::cout) ? 0 : 1;
  }
  if (!options.dataFile.empty()) {
    QMetaObject::invokeMethod(&desktop.window, [&desktop, &options] { desktop.window.OpenFile(options.dataFile); },
                              Qt::QueuedConnection);
  }
  return QApplication::exec();
}

}  // namespace vorn::ui
