#include "commands/population/population_support.h"

#include <cmath>
#include <optional>
#include <utility>

#include "commands/shell/data_guard.h"
#include "commands/report/report_steps.h"
#include "core/number_format.h"
#include "core/text_file.h"
#include "diversity/band_tally.h"
#include "groups/group_model.h"

namespace vorn {

std::string Count(std::size_t n, const std::string& one, const std::string& many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string ValueText(Real value) { return std::isfinite(value) ? FormatReal(value) : std::string("undefined"); }

bool GroupsDefined(TMainPrg& app) {
  if (!RequireMatrix(app)) return false;
  if (LevelCount(app.ws.groups.groups) < 2) {
    app.ErrorBox("Groups must be defined for the population statistics.");
    return false;
  }
  return true;
}

std::optional<std::vector<PopulationMembers>> Populations(TMainPrg& app, std::size_t level, std::size_t least) {
  auto populations = PopulationsOfLevel(app.ws.data.individualLabels, app.ws.groups.groups, level);
  if (!app.Check(populations)) return std::nullopt;
  if (populations->size() < least) {
    app.ErrorBox("The populations of level " + std::to_string(level) + " (groups " + std::to_string(level + 1) +
                 " deep in the hierarchy) number " + std::to_string(populations->size()) + "; this command needs at least " +
                 std::to_string(least) + ".");
    return std::nullopt;
  }
  return std::move(*populations);
}

std::vector<NeiValues> NeiBetween(const DataMatrix& data, const std::vector<PopulationMembers>& populations) {
  std::vector<BandTally> tallies;
  for (const auto& population : populations) tallies.push_back(TallyBands(data, population.individuals));
  std::vector<NeiValues> nei;
  for (std::size_t a = 1; a < tallies.size(); ++a) {
    for (std::size_t b = 0; b < a; ++b) nei.push_back(NeiUnbiased(tallies[a], tallies[b]));
  }
  return nei;
}

namespace {

// The report shows the rows as copied for a spreadsheet (an aligned table's markers, such as the
// "*" of a negative estimate, are the analysis file's), or the aligned rows of a block without
// copy; a table longer than a report shows is named with the file instead.
void RecordTables(TMainPrg& app, const std::vector<std::string>& heading, const std::vector<TableBlock>& blocks,
                  const ReportMethod& method) {
  ReportStep step;
  step.title = heading.empty() ? std::string("Results") : heading.front();
  if (!heading.empty()) step.lines.assign(heading.begin() + 1, heading.end());
  step.method = method.sentence;
  step.references = method.references;
  step.figures = method.figures;
  for (const TableBlock& block : blocks) {
    AddListing(step, block.tabbed.rows.empty() ? block.aligned : block.tabbed, block.notes, app.ws.files.analysis);
  }
  app.reportRecord.Add(std::move(step));
}

}  // namespace

void WriteTables(TMainPrg& app, const std::string& tableFile, const std::vector<std::string>& heading,
                 const std::vector<TableBlock>& blocks, const ReportMethod& method) {
  WriteTables(app, tableFile, [&](TextFileWriter& file) {
    for (std::size_t t = 0; t < blocks.size(); ++t) {
      if (t > 0) file.Line();
      for (const auto& line : blocks[t].tabbed.TabSeparated()) file.Line(line);
    }
  }, heading, blocks, method);
}

void WriteTables(TMainPrg& app, const std::string& copyFile, const std::function<void(TextFileWriter&)>& writeCopy,
                 const std::vector<std::string>& heading, const std::vector<TableBlock>& blocks,
                 const ReportMethod& method) {
  // The copy is opened first, so that a copy that cannot be made leaves even a missing analysis
  // file uncreated. Both are written and on the disk before either is put in place.
  std::optional<TextFileWriter> copy;
  if (!copyFile.empty()) {
    auto opened = TextFileWriter::Open(copyFile, WriteMode::Replace);
    if (!app.Check(opened)) return;
    copy = std::move(*opened);
    writeCopy(*copy);
  }
  auto file = app.BeginOutputFile(app.ws.files.analysis);
  if (!file) return;
  for (const auto& line : heading) file->Line(line);
  for (const auto& block : blocks) {
    file->Line();
    for (const auto& line : block.aligned.Aligned()) file->Line(line);
    for (const auto& line : block.notes) file->Line(line);
  }
  file->Line();
  Status written = copy ? copy->Settle() : Success();
  if (written) written = file->Settle();
  if (written && copy) written = copy->Close();
  if (!written) {
    file->Discard();
    app.ErrorBox(written.error());
    return;
  }
  // Only closing is left, which hardly fails once the block is on the disk; if it does, the box
  // says that the copy stays.
  if (const Status closed = file->Close(); !closed) {
    app.ErrorBox(closed.error() + (copy ? "\r\n\r\nThe copy " + copyFile + " was written." : ""));
    return;
  }
  RecordTables(app, heading, blocks, method);
}

}  // namespace vorn
