// File > Load: choose a data file, confirm its layout, read it with its [LocusMetrics] block when
// it has one, and read its group blocks when "Include Groups" is ticked.
#include "commands/data/data_install.h"
#include "commands/shell/main_program.h"
#include "core/sha256.h"
#include "core/text_file.h"
#include "core/text_lines.h"
#include "groups/group_model.h"
#include "io/data_file_reader.h"
#include "io/group_blocks.h"
#include "io/locus_metrics_block.h"

namespace vorn {
namespace {

// Each block read replaces its list (a file without the block keeps the user's entries, under
// AllData and AllLoci already renewed for the loaded data); "Select Group Only" then offers the
// groups read. Members listed twice are kept once, with one warning for both blocks.
void ReadGroupBlocks(TMainPrg& app, const std::string& name) {
  GroupState& state = app.ws.groups;
  std::vector<RepeatedMember> repeated;
  app.Check(ReadBlock(name, GroupBlock::Groups, app.ws.data, state.groups, &repeated));
  app.Check(ReadBlock(name, GroupBlock::LocusSets, app.ws.data, state.locusSets, &repeated));
  if (!repeated.empty()) app.MessageQuery(RepeatedMembersNotice(repeated), "Warning", MessageButtons::Ok);
  app.RebuildGroupMenu(DisplayNames(state.groups, state.showFullPath));
}

void Load1Click(TMainPrg& app) {
  FileDialogOptions options;
  options.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
  const auto chosen = app.host.ChooseOpenFile(options);
  if (!chosen) return;
  const std::string& name = *chosen;
  if (!FileExists(name)) {
    app.MessageQuery("Input file does not exist", "Error", MessageButtons::Ok);
    return;
  }
  if (!app.dialogs.fileParam.Execute(app, app.ws.settings.layout, name)) {
    app.ErrorBox("No data loaded.");
    return;
  }
  // The file is read into a new matrix, so a failed read leaves the previous data in place.
  MergedNames merged;
  auto matrix = ReadDataFile(name, app.ws.settings.layout, &merged);
  if (!CheckFileRead(app, name, matrix)) return;
  // The locus metrics travel with the loci, so the original copy keeps them too; a block that
  // cannot be read leaves the data without metrics, told after the load.
  auto metrics = ReadMetricsBlock(name, *matrix);
  if (metrics) matrix->locusMetrics = std::move(*metrics);
  InstallReadMatrix(app, std::move(*matrix));
  NameDataSource(app, name);
  app.Report("Loading File: " + name);
  app.Check(metrics);
  if (const std::string notice = MergedNamesNotice(merged); !notice.empty()) {
    app.MessageQuery(notice, "Warning", MessageButtons::Ok);
  }
  app.recentFiles.Add(name, app.ws.settings.layout);
  if (app.ws.settings.layout.includeGroups) ReadGroupBlocks(app, name);
}

}  // namespace

void InstallReadMatrix(TMainPrg& app, DataMatrix matrix) {
  app.ws.InstallLoadedMatrix(std::move(matrix));
  app.reportRecord = SessionRecord();
  ++app.loads;
  app.Check(RenewImplicitEntries(app.ws.data, app.ws.groups));
}

void NameDataSource(TMainPrg& app, const std::string& name) {
  app.ws.filterLog.source = name;
  const auto digest = FileSha256(name);
  app.ws.filterLog.sourceSha256 = digest ? *digest : "";
}

std::string RefusedFileLine(const std::string& name, std::string_view message) {
  std::string line = "Not loaded: " + name + ": ";
  for (std::string_view part : TextLines(message)) line += std::string(part) + " ";
  line.pop_back();
  return line;
}

void RegisterLoadCommand(HandlerTable& table) { table["Load1Click"] = Plain(Load1Click); }

}  // namespace vorn
