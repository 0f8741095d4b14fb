// Open- and save-file dialogs set up from the program's FileDialogOptions: the filter list
// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*" becomes Qt's name filters, with "*.*" meaning
// every file as it does on the desktop the filters were written for.
#pragma once

#include <QFileDialog>
#include <QStringList>
#include <string_view>

#include "core/host.h"

namespace vorn::ui {

// "Description|patterns|Description|patterns" -> {"Description (patterns)", ...}; patterns are
// separated by ";" in the program's filters and by spaces in Qt's.
QStringList NameFilters(std::string_view filter);

// Title, folder, initial name, filters, default extension and overwrite confirmation.
void SetUpFileDialog(QFileDialog& dialog, const FileDialogOptions& options, bool save);

}  // namespace vorn::ui
