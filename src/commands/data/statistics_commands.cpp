// DataMatrix > Matrix Statistics, Frequency Statistics and Missing Data Statistics: read-only
// descriptions of the working matrix, written to the analysis file. Frequencies are built before
// the file is touched, so a data error leaves the file as it was.
#include <string>
#include <vector>

#include "commands/shell/data_guard.h"
#include "commands/shell/main_program.h"
#include "commands/report/report_steps.h"
#include "core/number_format.h"
#include "matrix/band_frequencies.h"

namespace vorn {
namespace {

// A listing of one value per row: its label, or "OTU"/"Locus" and its number, and the value;
// the file writes each row as the two cells and one blank between them, the report as a table.
template <typename RowText>
ResultTable Listing(const char* what, const char* value, const LabelTable& labels, const char* prefix,
                    std::size_t count, RowText text) {
  ResultTable table{{{what, value}}};
  for (std::size_t row = 0; row < count; ++row) {
    table.rows.push_back({labels.Empty() ? prefix + std::to_string(row + 1) : labels[row], text(row)});
  }
  return table;
}

void WriteListing(TextFileWriter& file, const ResultTable& listing) {
  for (std::size_t row = 1; row < listing.rows.size(); ++row) file.Line(listing.rows[row][0] + " " + listing.rows[row][1]);
}

// Reports, then appends the title and one frequency per row to the analysis file. Frequencies
// that failed stop the command with their message before anything is reported or written.
void ListFrequencies(TMainPrg& app, const Result<std::vector<Real>>& frequencies, const std::string& report,
                     const char* title, const char* what, const LabelTable& labels, const char* prefix,
                     const std::string& method) {
  if (!app.Check(frequencies)) return;
  app.Report(report);
  const ResultTable listing = Listing(what, "Frequency", labels, prefix, frequencies->size(),
                                      [&](std::size_t row) { return FormatReal((*frequencies)[row]); });
  auto file = app.BeginOutputFile(app.ws.files.analysis);
  if (!file) return;
  file->Line(title);
  file->Line();
  WriteListing(*file, listing);
  file->Line();
  if (!app.FinishOutputFile(*file)) return;
  ReportStep step;
  step.title = std::string(title).substr(0, std::string(title).find_last_not_of(':') + 1);
  step.method = method;
  AddListing(step, listing, {}, app.ws.files.analysis);
  app.reportRecord.Add(std::move(step));
}

// The figures of Data Matrix Statistics; the file writes each as its name, a colon and the value
// in the fifteenth column.
ResultTable MatrixStatisticsTable(const std::string& n, const std::string& l, const std::string& e,
                                  const std::string& percent) {
  return ResultTable{
      {{"Statistic", "Value"}, {"Individuals", n}, {"Loci", l}, {"Matrix size", e}, {"Missing data", percent}}};
}

void Statistics1Click(TMainPrg& app) {
  if (!RequireMatrix(app, "No data loaded")) return;
  const DataMatrix& data = app.ws.data;
  std::size_t missing = 0;
  for (Cell cell : data.cells) missing += cell == Missing;
  const std::string n = std::to_string(data.individualCount);
  const std::string l = std::to_string(data.locusCount);
  const std::string e = std::to_string(data.CellCount());
  const std::string percent = FormatFixed(static_cast<Real>(missing) / data.CellCount() * 100, 2, 5) + "%";

  const auto answer = app.MessageQuery("Individuals: " + n + "\r\nLoci: " + l + "\r\nData matrix dimensions: " + e +
                                           " entries\r\nMissing data: " + percent + "\r\n\r\nWrite to analysis file?",
                                       "Statistics", MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) {
    app.Report("Displaying Data Matrix Statistics");
    return;
  }
  const ResultTable table = MatrixStatisticsTable(n, l, e, percent);
  auto file = app.OpenOutputFile(app.ws.files.analysis, false);
  if (!file) return;
  file->Line("Data Matrix Statistics");
  file->Line();
  for (std::size_t row = 1; row < table.rows.size(); ++row) {
    std::string name = table.rows[row][0] + ":";
    name.resize(14, ' ');
    file->Line(name + table.rows[row][1]);
  }
  file->Line();
  if (!app.FinishOutputFile(*file)) return;
  app.Report("Data Matrix Statistics written to analysis output file");
  ReportStep step;
  step.title = "Data Matrix Statistics";
  step.method = "The working data held " + n + " individuals scored at " + l + " loci, " + percent +
                " of the " + e + " scores missing.";
  step.tables.push_back(ReportTable{table, {}});
  app.reportRecord.Add(std::move(step));
}

void Frequencies1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  const auto answer = app.MessageQuery(
      "Should frequencies be calulated per locus?\r\n"
      "Frq(locus) = presences(locus)/#individuals\r\n"
      "\r\n"
      "The alternative (Clicking No) is default for Shannon's index and its variance and is: \r\n"
      "Frq(locus) = presences(locus)/presences(datamatrix)",
      "Shannon Frequencies", MessageButtons::YesNo);
  const bool perIndividual = answer == MessageAnswer::Yes;
  app.ws.settings.shannon.frequencyBasis =
      perIndividual ? FrequencyBasis::PerIndividual : FrequencyBasis::RelativeToAllPresences;

  const std::string method =
      "The band frequency of each of the " + std::to_string(app.ws.data.locusCount) + " loci was computed as its " +
      (perIndividual ? "presences over the " + std::to_string(app.ws.data.individualCount) + " individuals."
                     : std::string("share of all presences in the data matrix."));
  ListFrequencies(app, LocusBandFrequencies(app.ws.data, app.ws.settings.shannon.frequencyBasis),
                  "Writing frequencies to analysis output file. Frq/Locus= " + BoolText(perIndividual),
                  "Frequencies (band presences) in loci:", "Locus", app.ws.data.locusLabels, "Locus", method);
}

void FrequenciesperIndividuals1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  ListFrequencies(app, IndividualBandFrequencies(app.ws.data), "Writing frequencies (indiv) to analysis output file.",
                  "Frequencies (band presences) in individuals:", "Individual", app.ws.data.individualLabels, "OTU",
                  "The band frequency of each of the " + std::to_string(app.ws.data.individualCount) +
                      " individuals was computed as its presences over the " + std::to_string(app.ws.data.locusCount) +
                      " loci.");
}

void CheckMissingData1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  app.Report("Writing missing data statistics to analysis output file:");
  const DataMatrix& data = app.ws.data;
  const ResultTable individuals =
      Listing("Individual", "Missing", data.individualLabels, "OTU", data.individualCount,
              [&](std::size_t i) { return FormatPercent(data.IndividualMissingShare(i)); });
  const ResultTable loci = Listing("Locus", "Missing", data.locusLabels, "Locus", data.locusCount,
                                   [&](std::size_t l) { return FormatPercent(data.LocusMissingShare(l)); });
  auto file = app.BeginOutputFile(app.ws.files.analysis);
  if (!file) return;
  file->Line("Missing data in individuals");
  file->Line();
  WriteListing(*file, individuals);
  file->Line();
  file->Line("Missing data in loci");
  file->Line();
  WriteListing(*file, loci);
  file->Line();
  if (!app.FinishOutputFile(*file)) return;
  ReportStep step;
  step.title = "Missing data statistics";
  step.method = "The share of missing scores was computed for each of the " + std::to_string(data.individualCount) +
                " individuals and each of the " + std::to_string(data.locusCount) + " loci.";
  AddListing(step, individuals, {"Missing data in individuals"}, app.ws.files.analysis);
  AddListing(step, loci, {"Missing data in loci"}, app.ws.files.analysis);
  app.reportRecord.Add(std::move(step));
}

}  // namespace

void RegisterStatisticsCommands(HandlerTable& table) {
  table["Statistics1Click"] = Plain(Statistics1Click);
  table["Frequencies1Click"] = Plain(Frequencies1Click);
  table["FrequenciesperIndividuals1Click"] = Plain(FrequenciesperIndividuals1Click);
  table["CheckMissingData1Click"] = Plain(CheckMissingData1Click);
}

}  // namespace vorn
