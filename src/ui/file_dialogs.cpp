#include "ui/file_dialogs.h"

#include <QDir>
#include <QFileInfo>

#include "ui/qt_text.h"

namespace vorn::ui {
namespace {

QString QtPatterns(const QString& patterns) {
  QStringList converted;
  for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QString trimmed = pattern.trimmed();
    converted << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
  }
  return converted.join(QLatin1Char(' '));
}

}  // namespace

QStringList NameFilters(std::string_view filter) {
  const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    // The description's own "(*.txt)" is replaced by the patterns Qt filters with.
    if (description.endsWith(QLatin1Char(')')) && description.contains(QLatin1Char('('))) {
      description = description.left(description.lastIndexOf(QLatin1Char('('))).trimmed();
    }
    filters << description + QStringLiteral(" (") + QtPatterns(parts[i + 1]) + QLatin1Char(')');
  }
  return filters;
}

void SetUpFileDialog(QFileDialog& dialog, const FileDialogOptions& options, bool save) {
  if (!options.title.empty()) dialog.setWindowTitle(ToQt(options.title));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
  const QStringList filters = NameFilters(options.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!options.defaultExtension.empty()) dialog.setDefaultSuffix(ToQt(options.defaultExtension));

  const QDir folder(options.initialFolder.empty() ? QDir::currentPath() : PathToQt(options.initialFolder));
  const QFileInfo initial(folder, PathToQt(options.initialName));
  dialog.setDirectory(options.initialName.empty() ? folder.absolutePath() : initial.absolutePath());
  if (!options.initialName.empty()) dialog.selectFile(initial.fileName());
}

}  // namespace vorn::ui
