#include "commands/population/shannon_text.h"

#include <iterator>

#include "core/number_format.h"
#include "diversity/shannon.h"

namespace vorn {

std::string LogBaseLine(const ShannonScaling& scaling) {
  switch (scaling.logBase) {
    case LogBase::Two: return "LogBase = 2";
    case LogBase::E: return "LogBase = e";
    case LogBase::Ten: return "LogBase = 10";
    case LogBase::Other: break;
  }
  return "LogBase = " + FormatReal(scaling.baseValue);
}

std::string FrequencyBasisLine(const ShannonScaling& scaling) {
  return scaling.frequencyBasis == FrequencyBasis::PerIndividual
             ? "Frequencies per locus: p(i):=presences(i)/#individuals"
             : "Frequencies per datamatrix: p(i):=presences(i)/presences(datamatrix)";
}

ResultTable ShannonTable(Real index, Real variance, bool withDeviation) {
  ResultTable table{{{"Statistic", "Value"}, {"I", FormatReal(index)}, {"var(I)", FormatReal(variance)}}};
  if (withDeviation) table.rows.push_back({"std.dev.", FormatReal(StandardDeviation(variance))});
  return table;
}

std::vector<std::string> ShannonLines(const ResultTable& table) {
  static constexpr const char* kNames[] = {"I =       ", "var(I) =  ", "std.dev.= "};
  std::vector<std::string> lines;
  for (std::size_t row = 1; row < table.rows.size() && row <= std::size(kNames); ++row) {
    lines.push_back(kNames[row - 1] + table.rows[row][1]);
  }
  return lines;
}

void WriteShannonBlock(TMainPrg& app, const std::string& heading, const ResultTable& table, ReportStep step) {
  const ShannonScaling& scaling = app.ws.settings.shannon;
  auto file = app.BeginOutputFile(app.ws.files.analysis);
  if (!file) return;
  file->Line(heading);
  file->Line(LogBaseLine(scaling));
  file->Line(FrequencyBasisLine(scaling));
  file->Line();
  for (const auto& line : ShannonLines(table)) file->Line(line);
  file->Line();
  if (!app.FinishOutputFile(*file)) return;
  step.lines = {LogBaseLine(scaling), FrequencyBasisLine(scaling)};
  step.tables.push_back(ReportTable{table, {}});
  app.reportRecord.Add(std::move(step));
}

}  // namespace vorn
