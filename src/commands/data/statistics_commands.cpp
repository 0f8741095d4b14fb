// DataMatrix > Matrix Statistics, Frequency Statistics and Missing Data Statistics: read-only
// descriptions of the working matrix, written to the analysis file. Frequencies are built before
// the file is touched, so a data error leaves the file as it was.
#include <string>
#include <vector>

#include "commands/shell/data_guard.h"
#include "commands/shell/main_program.h"
#include "core/number_format.h"
#include "matrix/band_frequencies.h"

namespace vorn {
namespace {

// A row of a listing: its label, or "OTU"/"Locus" and its number, then one blank.
std::string RowName(const LabelTable& labels, const char* prefix, std::size_t row) {
  return (labels.Empty() ? prefix + std::to_string(row + 1) : labels[row]) + " ";
}

// Writes one line per row: its name and the row's text.
template <typename RowText>
void WriteRows(TextFileWriter& file, const LabelTable& labels, const char* prefix, std::size_t count, RowText text) {
  for (std::size_t row = 0; row < count; ++row) file.Line(RowName(labels, prefix, row) + text(row));
}

// Reports, then appends the title and one frequency per row to the analysis file. Frequencies
// that failed stop the command with their message before anything is reported or written.
void ListFrequencies(TMainPrg& app, const Result<std::vector<Real>>& frequencies, const std::string& report,
                     const char* title, const LabelTable& labels, const char* prefix) {
  if (!app.Check(frequencies)) return;
  app.Report(report);
  auto file = app.BeginOutputFile(app.ws.files.analysis);
  if (!file) return;
  file->Line(title);
  file->Line();
  WriteRows(*file, labels, prefix, frequencies->size(), [&](std::size_t row) { return FormatReal((*frequencies)[row]); });
  file->Line();
  app.FinishOutputFile(*file);
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
  auto file = app.OpenOutputFile(app.ws.files.analysis, false);
  if (!file) return;
  file->Line("Data Matrix Statistics");
  file->Line();
  file->Line("Individuals:  " + n);
  file->Line("Loci:         " + l);
  file->Line("Matrix size:  " + e);
  file->Line("Missing data: " + percent);
  file->Line();
  if (!app.FinishOutputFile(*file)) return;
  app.Report("Data Matrix Statistics written to analysis output file");
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

  ListFrequencies(app, LocusBandFrequencies(app.ws.data, app.ws.settings.shannon.frequencyBasis),
                  "Writing frequencies to analysis output file. Frq/Locus= " + BoolText(perIndividual),
                  "Frequencies (band presences) in loci:", app.ws.data.locusLabels, "Locus");
}

void FrequenciesperIndividuals1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  ListFrequencies(app, IndividualBandFrequencies(app.ws.data), "Writing frequencies (indiv) to analysis output file.",
                  "Frequencies (band presences) in individuals:", app.ws.data.individualLabels, "OTU");
}

void CheckMissingData1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  app.Report("Writing missing data statistics to analysis output file:");
  auto file = app.BeginOutputFile(app.ws.files.analysis);
  if (!file) return;
  const DataMatrix& data = app.ws.data;
  file->Line("Missing data in individuals");
  file->Line();
  WriteRows(*file, data.individualLabels, "OTU", data.individualCount,
            [&](std::size_t i) { return FormatPercent(data.IndividualMissingShare(i)); });
  file->Line();
  file->Line("Missing data in loci");
  file->Line();
  WriteRows(*file, data.locusLabels, "Locus", data.locusCount,
            [&](std::size_t l) { return FormatPercent(data.LocusMissingShare(l)); });
  file->Line();
  app.FinishOutputFile(*file);
}

}  // namespace

void RegisterStatisticsCommands(HandlerTable& table) {
  table["Statistics1Click"] = Plain(Statistics1Click);
  table["Frequencies1Click"] = Plain(Frequencies1Click);
  table["FrequenciesperIndividuals1Click"] = Plain(FrequenciesperIndividuals1Click);
  table["CheckMissingData1Click"] = Plain(CheckMissingData1Click);
}

}  // namespace vorn
