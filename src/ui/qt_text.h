// The one crossing between the program's texts and Qt's: program texts (Windows-1252 or UTF-8,
// see core/text_encoding.h) and file paths (the file system's bytes). No QString goes below
// src/ui/, and no program text reaches a widget without passing here.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vorn::ui {

// A program text for a widget; "\r\n" inside messages becomes a plain line break.
QString ToQt(std::string_view text);
// Typed text in the program's 8-bit form (Windows-1252 where every character fits).
std::string FromQt(const QString& text);

QString PathToQt(const std::string& path);
std::string PathFromQt(const QString& path);

}  // namespace vorn::ui
