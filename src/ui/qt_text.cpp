#include "ui/qt_text.h"

#include <QFile>

#include "core/text_encoding.h"

namespace vorn::ui {

QString ToQt(std::string_view text) {
  QString shown = QString::fromStdString(DisplayText(text));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

std::string FromQt(const QString& text) { return ProgramText(text.toStdString()); }

QString PathToQt(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string PathFromQt(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace vorn::ui
