#include "ui/desktop_settings.h"

#include <QStandardPaths>
#include <algorithm>

#include "ui/qt_text.h"

namespace vorn::ui {

DesktopSettings::DesktopSettings(const std::string& path) {
  if (!path.empty()) settings_ = std::make_unique<QSettings>(PathToQt(path), QSettings::IniFormat);
}

std::string DesktopSettings::UserPath() {
  return PathFromQt(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/vorn/vorn.ini");
}

QByteArray DesktopSettings::Geometry() const {
  return settings_ ? settings_->value("window/geometry").toByteArray() : QByteArray();
}

void DesktopSettings::SetGeometry(const QByteArray& geometry) {
  if (settings_) settings_->setValue("window/geometry", geometry);
}

RecentFiles DesktopSettings::Recent() const {
  RecentFiles recent;
  if (!settings_) return recent;
  const int count = settings_->beginReadArray("recentFiles");
  // Added oldest first, so that the newest ends up in front.
  for (int i = std::min(count, static_cast<int>(RecentFiles::kMaxFiles)) - 1; i >= 0; --i) {
    settings_->setArrayIndex(i);
    const QString path = settings_->value("path").toString();
    // An import keeps its command and its dialog's values instead of a layout.
    const std::string handler = FromQt(settings_->value("command").toString());
    if (!handler.empty() && handler != kLoadHandler && !path.isEmpty()) {
      recent.AddImport(PathFromQt(path), handler, FromQt(settings_->value("settings").toString()));
      continue;
    }
    const auto layout = ParseLayoutText(FromQt(settings_->value("layout").toString()));
    if (layout && !path.isEmpty()) recent.Add(PathFromQt(path), *layout);
  }
  settings_->endArray();
  return recent;
}

void DesktopSettings::SetRecent(const RecentFiles& recent) {
  if (!settings_) return;
  settings_->beginWriteArray("recentFiles", static_cast<int>(recent.Files().size()));
  for (std::size_t i = 0; i < recent.Files().size(); ++i) {
    settings_->setArrayIndex(static_cast<int>(i));
    const RecentFile& file = recent.Files()[i];
    settings_->setValue("path", PathToQt(file.path));
    settings_->setValue("command", ToQt(file.handler));
    if (file.IsImport()) {
      settings_->setValue("settings", ToQt(file.settings));
      settings_->remove("layout");
    } else {
      settings_->setValue("layout", ToQt(LayoutText(file.layout)));
      settings_->remove("settings");
    }
  }
  settings_->endArray();
  settings_->sync();
}

}  // namespace vorn::ui
