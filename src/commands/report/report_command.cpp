// File > Write Report...: the session report, from the analyses recorded since the last load,
// the filter log and the script that repeats the session, as one HTML file, or as an
// OpenDocument text when the name chosen ends in .odt (drawn by the Qt side). The file is
// replaced whole or left as it was.
#include <string>

#include "commands/shell/main_program.h"
#include "commands/report/report_document.h"
#include "core/text_file.h"

namespace vorn {
namespace {

bool EndsWithOdt(const std::string& path) {
  if (path.size() < 4) return false;
  std::string end = path.substr(path.size() - 4);
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == ".odt";
}

void WriteReport1Click(TMainPrg& app) {
  const FileDialogOptions options = SaveFileOptions(
      "Write Report", "HTML Files (*.html)|*.html|OpenDocument Text (*.odt)|*.odt|All Files (*.*)|*.*", "report.html", "html");
  const auto path = app.host.ChooseSaveFile(options);
  if (!path) return;
  if (EndsWithOdt(*path)) {
    if (!app.pictures) {
      app.ErrorBox("Cannot write " + *path + ": an OpenDocument text needs the build of Vorn with its window.");
      return;
    }
    if (!app.Check(app.pictures->SaveDocument(ReportHtmlOf(app, ReportForm::Document), ReportFigures(app), *path))) return;
  } else {
    if (!app.Check(ReplaceFileWithText(*path, ReportHtmlOf(app, ReportForm::Browser)))) return;
  }
  app.Report("Report written: " + *path);
}

}  // namespace

void RegisterReportCommand(HandlerTable& table) { table["WriteReport1Click"] = Plain(WriteReport1Click); }

}  // namespace vorn
