// File > Import: CSV / TSV tables, GenAlEx workbooks and presence/absence reports read into the
// workspace as Load reads a data file (matrix, labels, original copy, AllData and AllLoci), with
// the table's groups and coordinates or the report's locus metrics; sample sheets that add groups
// and coordinates to the data loaded; and File > Export > Coordinates (CSV) and Locus Metrics
// (CSV), which write the coordinates and the metrics back out; File > New Matrix from Clipboard,
// a table copied in a spreadsheet read as the CSV / TSV import reads a file. A refused table
// loads nothing: the data loaded before stay. An imported file joins the recent files with the
// values of its import's dialog.
#include "commands/shell/data_guard.h"
#include "commands/data/data_install.h"
#include "commands/dialogs/file_filters.h"
#include "commands/shell/main_program.h"
#include "commands/shell/session_recorder.h"
#include "core/text_lines.h"
#include "groups/group_model.h"
#include "commands/data/whole_data_set.h"
#include "io/coordinates_file.h"
#include "io/dart_report_import.h"
#include "io/locus_metrics_file.h"

namespace vorn {
namespace {

constexpr const char* kTableFilter =
    "CSV Files (*.csv)|*.csv|Tables (*.txt;*.tsv)|*.txt;*.tsv|All Files (*.*)|*.*";

// The table's groups replace the user's (as a [Groups] block would), its coordinates the ones
// kept before; a table without them keeps those, as a data file without a block keeps the groups.
void ReplaceGroups(TMainPrg& app, const GroupList& entries) {
  GroupState& state = app.ws.groups;
  state.groups.resize(1);
  state.groups.insert(state.groups.end(), entries.begin(), entries.end());
  app.RebuildGroupMenu(DisplayNames(state.groups, state.showFullPath));
}

// The table becomes the data, read from the file source ("" for none); report is the line that
// tells it, before the counts.
void InstallTable(TMainPrg& app, ImportedTable table, const std::string& source, const std::string& report) {
  const std::string counts = ImportCounts(table);
  InstallReadMatrix(app, std::move(table.matrix));
  NameDataSource(app, source);
  if (!table.groups.empty()) ReplaceGroups(app, table.groups);
  if (!table.coordinates.Empty()) app.ws.coordinates = std::move(table.coordinates);
  app.Report(report + " (" + counts + ")");
}

void InstallTableFile(TMainPrg& app, ImportedTable table, const std::string& name, const std::string& handler,
                      const DialogForm& settings) {
  InstallTable(app, std::move(table), name, "Importing File: " + name);
  app.recentFiles.AddImport(name, handler, DialogAnswerText(settings));
}

// The table file to import, chosen in the open-file dialog; nothing on Cancel or for a file that
// does not exist (told).
std::optional<std::string> ChooseTableFile(TMainPrg& app) {
  FileDialogOptions options;
  options.filter = kTableFilter;
  const auto chosen = app.host.ChooseOpenFile(options);
  if (!chosen) return std::nullopt;
  if (!FileExists(*chosen)) {
    app.MessageQuery("Input file does not exist", "Error", MessageButtons::Ok);
    return std::nullopt;
  }
  return chosen;
}

// The CSV file an export writes, chosen in the save-file dialog; nothing on Cancel.
std::optional<std::string> ChooseCsvExportFile(TMainPrg& app, std::string title, std::string initialName) {
  const FileDialogOptions options = SaveFileOptions(std::move(title), kCsvFilter, std::move(initialName));
  return app.host.ChooseSaveFile(options);
}

void ImportWith(TMainPrg& app, ImportDialog& dialog, const std::string& handler) {
  const auto chosen = ChooseTableFile(app);
  if (!chosen) return;
  auto text = ReadFileText(*chosen);
  if (!CheckFileRead(app, *chosen, text)) return;
  auto table = dialog.Execute(app, *text);
  if (!table) {
    app.ErrorBox("No data loaded.");
    return;
  }
  if (!CheckFileRead(app, *chosen, *table)) return;
  InstallTableFile(app, std::move(**table), *chosen, handler, dialog.form);
}

void ImportCsvTable1Click(TMainPrg& app) { ImportWith(app, app.dialogs.importTable, "ImportCsvTable1Click"); }

// The clipboard's text as the CSV / TSV import reads a file: its dialog with the preview, then the
// whole table. No file: nothing joins the recent files, and the filter log names no source.
void NewMatrixFromClipboard1Click(TMainPrg& app) {
  const auto text = app.host.ClipboardText();
  if (!text || text->find_first_not_of(" \t\r\n") == std::string::npos) {
    app.ErrorBox("The clipboard holds no text. Copy a table in a spreadsheet (individuals in rows or in columns, "
                 "names in the first column and row), then try again.");
    return;
  }
  auto table = app.dialogs.importTable.Execute(app, *text);
  if (!table) {
    app.ErrorBox("No data loaded.");
    return;
  }
  if (!CheckFileRead(app, "the clipboard", *table)) return;
  InstallTable(app, std::move(**table), "", "New matrix from the clipboard");
}

// The report is read as a stream, never whole: no preview, the settings first, then the file.
void ImportDartReport1Click(TMainPrg& app) {
  const auto chosen = ChooseTableFile(app);
  if (!chosen) return;
  const auto settings = app.dialogs.importReport.Execute(app);
  if (!settings) {
    app.ErrorBox("No data loaded.");
    return;
  }
  auto table = ReadDartReportFile(*chosen, *settings);
  if (!CheckFileRead(app, *chosen, table)) return;
  InstallTableFile(app, std::move(*table), *chosen, "ImportDartReport1Click", app.dialogs.importReport.form);
}

void ImportGenalex1Click(TMainPrg& app) { ImportWith(app, app.dialogs.importGenalex, "ImportGenalex1Click"); }

void ExportCoordinates1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  const auto name = ChooseCsvExportFile(app, "Select File To Export Coordinates To...", "coordinates.csv");
  if (!name) return;
  if (!app.Check(WriteCoordinatesFile(*name, app.ws.coordinates, app.ws.data.individualLabels))) return;
  app.Report("Exported coordinates to file " + *name);
}

// The sheet is matched with the whole data set (AllData), and a group selected before gives way
// to AllData: the groups change. The sheet's groups replace the groups, its coordinates
// the coordinates; what it lacks stays.
void ImportSampleSheet1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  const auto chosen = ChooseTableFile(app);
  if (!chosen) return;
  auto text = ReadFileText(*chosen);
  if (!CheckFileRead(app, *chosen, text)) return;
  const auto settings = app.dialogs.importSampleSheet.Execute(app);
  if (!settings) return;
  auto sheet = ReadSampleSheet(*text, *settings);
  if (!CheckFileRead(app, *chosen, sheet)) return;
  const GroupState& state = app.ws.groups;
  const LabelTable all = state.groups.empty() ? app.ws.data.individualLabels : LabelTable(state.groups[0].members);
  auto match = MatchSampleSheet(*sheet, all);
  if (!CheckFileRead(app, *chosen, match)) return;
  ReturnToWholeDataSet(app);
  if (app.ws.groups.activeGroup != 0) return;
  const std::string counts = std::to_string(match->matched) + " individuals" +
                             GroupAndCoordinateCounts(match->groups.size(), sheet->levels, match->coordinates);
  if (!match->groups.empty()) ReplaceGroups(app, match->groups);
  if (!match->coordinates.Empty()) app.ws.coordinates = std::move(match->coordinates);
  app.Report("Sample sheet: " + *chosen + " (" + counts + ")");
  const std::string mismatch = SheetMismatchText(*match);
  if (mismatch.empty()) return;
  for (std::string_view line : TextLines(mismatch)) app.Report(std::string(line));
  app.MessageQuery(mismatch, "Warning", MessageButtons::Ok);
}

void ExportLocusMetrics1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  const auto name = ChooseCsvExportFile(app, "Select File To Export Locus Metrics To...", "locus_metrics.csv");
  if (!name) return;
  if (!app.Check(WriteLocusMetricsFile(*name, app.ws.data))) return;
  app.Report("Exported locus metrics to file " + *name);
}

}  // namespace

void RegisterImportCommands(HandlerTable& table) {
  table["ImportDartReport1Click"] = Plain(ImportDartReport1Click);
  table["ExportLocusMetrics1Click"] = Plain(ExportLocusMetrics1Click);
  table["ImportSampleSheet1Click"] = Plain(ImportSampleSheet1Click);
  table["ImportCsvTable1Click"] = Plain(ImportCsvTable1Click);
  table["ImportGenalex1Click"] = Plain(ImportGenalex1Click);
  table["NewMatrixFromClipboard1Click"] = Plain(NewMatrixFromClipboard1Click);
  table["ExportCoordinates1Click"] = Plain(ExportCoordinates1Click);
}

}  // namespace vorn
