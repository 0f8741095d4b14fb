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
    const auto layout = ParseLayoutText(FromQt(settings_->value("layout").toString()));
    const QString path = settings_->value("path").toString();
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
    settings_->setValue("path", PathToQt(recent.Files()[i].path));
    settings_->setValue("layout", ToQt(LayoutText(recent.Files()[i].layout)));
  }
  settings_->endArray();
  settings_->sync();
}

}  // namespace vorn::ui
