// DataMatrix > Remove Individuals and Remove Loci: the ten removal filters. One table holds what
// differs between the commands (the filter, its threshold and dialog, the texts); one routine
// runs them all.
#include <string>

#include "commands/shell/data_guard.h"
#include "commands/data/filter_swap.h"
#include "commands/shell/main_program.h"
#include "core/number_format.h"
#include "matrix/monomorphic.h"
#include "matrix/removal_filters.h"

namespace vorn {
namespace {

enum class Ask { Nothing, MissingDataThreshold, FrequencyThreshold };

struct RemovalCommand {
  const char* handler;
  Ask ask;
  const char* dialogText;                 // TDRemFDlg's line
  double RemovalThresholds::*threshold;   // nullptr for filters without one
  Result<Removal> (*remove)(const DataMatrix& matrix, double threshold);
  // The report is "Removing " n middle, then for filters with a threshold x = 100 t and tail.
  const char* reportMiddle;
  const char* reportTail;
  const char* boxText;  // after n
  const char* boxCaption;
};

Result<Removal> RemoveAllMonomorphic(const DataMatrix& matrix, double) {
  return RemoveMonomorphicLoci(matrix, MonomorphicKinds::Both);
}
Result<Removal> RemoveMonomorphicAbsences(const DataMatrix& matrix, double) {
  return RemoveMonomorphicLoci(matrix, MonomorphicKinds::Absences);
}
Result<Removal> RemoveMonomorphicPresences(const DataMatrix& matrix, double) {
  return RemoveMonomorphicLoci(matrix, MonomorphicKinds::Presences);
}
Result<Removal> RemoveMoreMissingThanPresences(const DataMatrix& matrix, double) {
  return RemoveLociWithMoreMissingThanPresences(matrix);
}

const RemovalCommand kRemovalCommands[] = {
    {"WithMissingData2Click", Ask::MissingDataThreshold, "", &RemovalThresholds::individualMissing,
     RemoveIndividualsWithMissingData, " individuals with >", "% missing data", " individuals removed.", "Data removal..."},
    {"WithBandFrequencyBelow1Click", Ask::FrequencyThreshold, "Remove individuals with band frequency below",
     &RemovalThresholds::individualFrequencyBelow, RemoveIndividualsWithFrequencyBelow, " individuals with <",
     "% band frequency", " individuals removed.", "Data removal..."},
    {"WithBandFrequencyAbove2Click", Ask::FrequencyThreshold, "Remove individuals with band frequency above",
     &RemovalThresholds::individualFrequencyAbove, RemoveIndividualsWithFrequencyAbove, " individuals with >",
     "% band frequency", " individuals removed.", "Data removal..."},
    {"WithMissingData1Click", Ask::MissingDataThreshold, "", &RemovalThresholds::locusMissing,
     RemoveLociWithMissingData, " loci with >", "% missing data", " loci removed.", "Data removal..."},
    {"Monomorphic01Click", Ask::Nothing, "", nullptr, RemoveAllMonomorphic, " monomorphic loci", "",
     " monomorphic loci removed from data matrix.", "Data removal"},
    {"MonomorphicAbsences1Click", Ask::Nothing, "", nullptr, RemoveMonomorphicAbsences,
     " monomorphic loci composed of band absences.", "",
     " monomorphic loci (band absences) removed from data matrix.", "Data removal"},
    {"MonomorphicPresences1Click", Ask::Nothing, "", nullptr, RemoveMonomorphicPresences,
     " monomorphic loci composed of band presences.", "",
     " monomorphic loci (band presences) removed from data matrix.", "Data removal"},
    {"Withbandfrequency1Click", Ask::FrequencyThreshold, "Remove loci with a band frequency less than",
     &RemovalThresholds::locusFrequencyBelow, RemoveLociWithFrequencyBelow, " loci with <", "% band presences",
     " loci removed.", "Data removal..."},
    {"WithBandFrequencyAbove1Click", Ask::FrequencyThreshold, "Remove loci with a band frequency greater than",
     &RemovalThresholds::locusFrequencyAbove, RemoveLociWithFrequencyAbove, " loci with >", "% band presences",
     " loci removed.", "Data removal..."},
    {"WithmoreMissingDatathanPresences1Click", Ask::Nothing, "", nullptr, RemoveMoreMissingThanPresences,
     " loci with more missing data than presences", "", " loci removed.", "Data removal..."},
};

void RunRemoval(TMainPrg& app, const RemovalCommand& command) {
  if (!RequireMatrix(app)) return;
  double threshold = 0;
  if (command.threshold) {
    double& stored = app.ws.settings.removal.*command.threshold;
    if (command.ask == Ask::FrequencyThreshold) app.dialogs.frequencyRemoval.SetText(command.dialogText);
    PercentThresholdDialog& dialog = command.ask == Ask::FrequencyThreshold
                                         ? static_cast<PercentThresholdDialog&>(app.dialogs.frequencyRemoval)
                                         : app.dialogs.dataRemoval;
    if (!dialog.Execute(app, stored)) return;
    threshold = stored;
  }

  auto removal = command.remove(app.ws.data, threshold);
  if (!app.Check(removal)) return;
  ApplyRemoval(app, std::move(*removal),
               RemovalTexts{command.reportMiddle, command.reportTail, command.boxText, command.boxCaption},
               command.threshold ? std::optional<double>(threshold) : std::nullopt);
}

// Remove Loci > By Locus Metric: the metrics came with a presence/absence report.
void ByLocusMetric1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  const LocusMetrics& metrics = app.ws.data.locusMetrics;
  if (metrics.Empty()) {
    app.ErrorBox("The loci of the current data matrix have no locus metrics; they come with a presence/absence "
                 "report (File > Import > DArT Presence/Absence Report).");
    return;
  }
  const auto choices = app.dialogs.metricRemoval.Execute(app, metrics);
  if (!choices) return;
  const bool above = choices->side == MetricSide::Above;
  auto removal = RemoveLociByMetric(app.ws.data, static_cast<std::size_t>(metrics.Find(choices->metric)), above,
                                    choices->threshold);
  if (!app.Check(removal)) return;
  const std::string criterion = " loci with " + choices->metric + (above ? " above " : " below ") +
                                FormatShortestReal(choices->threshold);
  ApplyRemoval(app, std::move(*removal), RemovalTexts{criterion, "", " loci removed.", "Data removal..."},
               std::nullopt);
}

}  // namespace

void RegisterRemovalCommands(HandlerTable& table) {
  for (const RemovalCommand& command : kRemovalCommands) {
    table[command.handler] = [&command](TMainPrg& app, const MenuItem&) { RunRemoval(app, command); };
  }
  table["ByLocusMetric1Click"] = Plain(ByLocusMetric1Click);
}

}  // namespace vorn
