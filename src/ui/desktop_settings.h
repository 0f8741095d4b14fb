// What the desktop window keeps between runs: its geometry and the recent data files with their
// layouts, or with the command and dialog values of the import that read them. Kept with QSettings in an INI file (the user's configuration folder for the program,
// or a file a test names); without a file nothing is kept, as in the screenshot hook.
#pragma once

#include <QByteArray>
#include <QSettings>
#include <memory>
#include <string>

#include "commands/shell/recent_files.h"

namespace vorn::ui {

class DesktopSettings {
 public:
  // path empty: nothing is read or written.
  explicit DesktopSettings(const std::string& path = {});

  // The settings file of the user's desktop: .../vorn/vorn.ini in the configuration folder.
  static std::string UserPath();

  QByteArray Geometry() const;
  void SetGeometry(const QByteArray& geometry);
  RecentFiles Recent() const;
  void SetRecent(const RecentFiles& recent);

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace vorn::ui
