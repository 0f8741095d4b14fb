// Program texts (Windows-1252 or UTF-8), fonts and colours as the pictures draw them.
#pragma once

#include <QColor>
#include <QFont>
#include <algorithm>
#include <QString>
#include <string_view>

#include "core/text_encoding.h"
#include "pictures/group_colours.h"

namespace vorn {

inline QString PictureText(std::string_view text) { return QString::fromStdString(DisplayText(text)); }

// A font that every Debian desktop and the offscreen platform have, sized in pixels so that
// SVG and PNG files show the same picture.
inline QFont PictureFont(int pixels, bool bold = false) {
  QFont font("DejaVu Sans");
  font.setPixelSize(std::max(1, pixels));
  font.setBold(bold);
  return font;
}

inline QColor ToQColor(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

}  // namespace vorn
