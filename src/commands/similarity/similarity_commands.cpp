// Analysis > Standard, Minimum, Maximum and Average Similarity: fill the matrix of the chosen
// coefficient, keep it as the active matrix and write it (and its distance form) to the
// analysis file, with a line on the loci comparable in each pair; Options > Similarity
// Coefficient Selection and Comparable Loci File.
#include <string>
#include <vector>

#include "commands/shell/data_guard.h"
#include "commands/shell/main_program.h"
#include "commands/report/report_steps.h"
#include "core/command_progress.h"
#include "report/methods_text.h"
#include "similarity/average_similarity.h"
#include "similarity/coefficient_names.h"
#include "similarity/coefficients.h"
#include "similarity/comparable_loci.h"
#include "similarity/distance_transformation.h"
#include "similarity/matrix_text.h"
#include "similarity/similarity_matrix.h"

namespace vorn {
namespace {

using Kept = ResultMatrices::Kept;

// The remark the report line carries when the command writes to the analysis file.
std::string SavingRemarks(const SimilaritySettings& settings) {
  if (!settings.writeSimilarityMatrix && !settings.writeDistanceMatrix) return "";
  std::string remarks = ". Saving matrix to analysis file: ";
  if (settings.writeSimilarityMatrix) remarks += " Original matrix.";
  if (settings.writeDistanceMatrix) remarks += " Distance matrix.";
  return remarks;
}

// One message for all the pairs of a command whose Nei-Li distance is undefined.
void TellUndefinedNeiLi(TMainPrg& app, std::size_t pairs) {
  if (pairs > 0) app.ErrorBox(UndefinedNeiLiMessage(pairs));
}

// A line of warning when some pairs of the matrix have no distance: its consumers will refuse it.
void WarnOfUndefinedPairs(TMainPrg& app, const DistanceMatrix& matrix, const UndefinedMarks& marks) {
  const UndefinedPairs undefined = FindUndefinedPairs(matrix, marks);
  if (!undefined.Any()) return;
  app.Report("Warning: " + UndefinedPairsClause(undefined, app.ws.data.individualLabels) +
             "; trees, PCoA and the Mantel test will refuse this matrix.");
}

// A line on the loci each pair can be compared at, and the whole count matrix in the file the
// Comparable Loci setting names.
void ReportComparableLoci(TMainPrg& app, const std::vector<std::uint32_t>& comparable) {
  const std::size_t n = app.ws.data.individualCount;
  if (n < 2) return;
  const LabelTable& labels = app.ws.data.individualLabels;
  app.Report(ComparableLociLine(SummariseComparable(comparable, n), labels));
  const std::string& file = app.ws.settings.comparableLociFile;
  if (!file.empty() && app.Check(WriteComparableLoci(file, comparable, n, labels))) {
    app.Report("Comparable loci saved: " + file);
  }
}

// The matrix becomes the active one, for the individuals of the working data.
void Activate(TMainPrg& app, Kept kept, SimilarityMode mode, UndefinedMarks marks) {
  ResultMatrices& results = app.ws.results;
  results.active = kept;
  results.marks = std::move(marks);
  results.activeName =
      MatrixName(mode, app.ws.settings.similarity.coefficient, app.ws.settings.replicates.JC);
  results.individuals = app.ws.data.individualLabels;
}

// The report's record of the matrices a command wrote: each as a table under its title (a large
// one named with the file), and the sentence saying how they were computed.
ReportStep MatrixStep(TMainPrg& app, SimilarityMode mode) {
  const Workspace& ws = app.ws;
  const SimilaritySettings& settings = ws.settings.similarity;
  ReportStep step;
  step.title = SimilarityModeName(mode, settings.coefficient, false) + " " + CoefficientName(settings.coefficient) +
               " matrix";
  step.method = "Pairwise similarities of the " + std::to_string(ws.data.individualCount) + " individuals at " +
                std::to_string(ws.data.locusCount) + " loci were computed with " +
                SimilarityPhrase(settings, mode, ws.settings.replicates.JC, step.references) +
                (mode == SimilarityMode::Average ? ", with the variance and standard deviation over the draws" : "") +
                (settings.writeDistanceMatrix ? ", and turned into distances " + TransformationName(settings.transformation)
                                              : std::string()) +
                ".";
  return step;
}

void AddWrittenMatrix(TMainPrg& app, ReportStep& step, const DistanceMatrix& matrix, const std::string& title) {
  AddMatrix(step, matrix, app.ws.data.individualLabels, title, app.ws.files.analysis);
}

// When distance output is on, appends the distance form of matrix under a distance title; the
// append creates the analysis file when it does not exist. False when it failed (told).
bool WriteDistanceText(TMainPrg& app, const DistanceMatrix& matrix, const std::string& title, ReportStep& step) {
  const SimilaritySettings& settings = app.ws.settings.similarity;
  if (!settings.writeDistanceMatrix) return true;
  if (!IsKnown(settings.transformation)) {
    app.ErrorBox("DistTransform: Unknown option.");
    return false;
  }
  auto file = app.OpenOutputFile(app.ws.files.analysis, false);
  if (!file) return false;
  const DistanceMatrix distances = TransformMatrix(matrix, settings.transformation);
  const std::string distanceTitle = DistanceTitle(settings.transformation, title);
  WriteMatrixText(*file, distances, distanceTitle, app.ws.data.individualLabels);
  if (!app.FinishOutputFile(*file)) return false;
  AddWrittenMatrix(app, step, distances, distanceTitle);
  return true;
}

// Records the step of a command that wrote at least one matrix.
void RecordMatrices(TMainPrg& app, ReportStep step) {
  if (!step.tables.empty() || !step.lines.empty()) app.reportRecord.Add(std::move(step));
}

// Standard, Minimum and Maximum Similarity.
void FillCommand(TMainPrg& app, SimilarityMode mode, Kept kept, std::optional<DistanceMatrix> ResultMatrices::*slot) {
  if (!RequireMatrix(app)) return;
  const SimilaritySettings& settings = app.ws.settings.similarity;
  const std::string name = CoefficientName(settings.coefficient);
  // Minimum and Maximum similarity of a distance are its largest and smallest value: named so.
  const std::string word = SimilarityModeName(mode, settings.coefficient, false);
  app.Report("Calculating " + (mode == SimilarityMode::Standard ? "" : word + " ") + name + " matrix" +
             SavingRemarks(settings));
  auto fill = BuildSimilarityMatrix(app.ws.data, mode, settings, true);
  if (!app.Check(fill)) return;
  TellUndefinedNeiLi(app, fill->undefinedNeiLiPairs);
  WarnOfUndefinedPairs(app, fill->matrix, fill->marks);
  ReportComparableLoci(app, fill->comparable);

  DistanceMatrix& matrix = (app.ws.results.*slot).emplace(std::move(fill->matrix));
  Activate(app, kept, mode, std::move(fill->marks));
  const std::string title = word + " " + name + " coefficients";
  ReportStep step = MatrixStep(app, mode);
  if (settings.writeSimilarityMatrix) {
    auto file = app.BeginOutputFile(app.ws.files.analysis);
    if (!file) return;
    WriteMatrixText(*file, matrix, title, app.ws.data.individualLabels);
    if (!app.FinishOutputFile(*file)) return;
    AddWrittenMatrix(app, step, matrix, title);
  }
  if (WriteDistanceText(app, matrix, title, step)) RecordMatrices(app, std::move(step));
}

void Jaccard1Click(TMainPrg& app) { FillCommand(app, SimilarityMode::Standard, Kept::Standard, &ResultMatrices::standard); }
void Jaccard2Click(TMainPrg& app) { FillCommand(app, SimilarityMode::Minimum, Kept::Minimum, &ResultMatrices::minimum); }
void MaximumJaccard1Click(TMainPrg& app) {
  FillCommand(app, SimilarityMode::Maximum, Kept::Maximum, &ResultMatrices::maximum);
}

// Average Similarity: JC random values between the Minimum and the Maximum matrix per entry,
// with their variance and standard deviation.
void AverageJaccard2Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  const SimilaritySettings& settings = app.ws.settings.similarity;
  const std::int32_t drawCount = app.ws.settings.replicates.JC;
  if (!app.Check(CheckDrawCount(drawCount))) return;
  auto minimum = BuildSimilarityMatrix(app.ws.data, SimilarityMode::Minimum, settings, true);
  if (!app.Check(minimum)) return;
  auto maximum = BuildSimilarityMatrix(app.ws.data, SimilarityMode::Maximum, settings);
  if (!app.Check(maximum)) return;
  // A pair undefined under the Maximum similarity is undefined under the Minimum too.
  TellUndefinedNeiLi(app, std::max(minimum->undefinedNeiLiPairs, maximum->undefinedNeiLiPairs));
  DistanceMatrix average, variance, standardDeviation;
  CommandProgress progress(app.host, "Average Similarity", "Row", app.ws.data.individualCount);
  // The variance is only written, never kept: no matrix of it unless the block is written.
  const auto averaged = AverageMatrix(minimum->matrix, maximum->matrix, settings.coefficient, drawCount, app.ws.random,
                                      average, settings.writeSimilarityMatrix ? &variance : nullptr, &standardDeviation,
                                      [&](std::size_t rows) { return progress.Advance(rows); });
  if (progress.Cancelled()) {
    app.Report("Cancelled: the matrices are as they were.");
    return;
  }
  if (!app.Check(averaged)) return;
  const std::string name = CoefficientName(settings.coefficient);
  app.Report("Calculating Average " + name + " matrix" + SavingRemarks(settings));
  // A pair drawn between bounds of which one has no value has none either.
  UndefinedMarks marks = UndefinedMarks::Union(minimum->marks, maximum->marks);
  WarnOfUndefinedPairs(app, average, marks);
  ReportComparableLoci(app, minimum->comparable);

  ResultMatrices& results = app.ws.results;
  results.minimum = std::move(minimum->matrix);
  results.maximum = std::move(maximum->matrix);
  results.standardDeviation = std::move(standardDeviation);
  const DistanceMatrix& kept = results.average.emplace(std::move(average));
  Activate(app, Kept::Average, SimilarityMode::Average, std::move(marks));

  if (!settings.writeSimilarityMatrix && !settings.writeDistanceMatrix) return;
  // One question for the whole command; it governs the first block only.
  const auto rewrite = app.PrepareOutputFile(app.ws.files.analysis);
  if (!rewrite) return;
  const std::string draws = " (" + std::to_string(drawCount) + " random draws)";
  ReportStep step = MatrixStep(app, SimilarityMode::Average);
  if (settings.writeSimilarityMatrix) {
    auto file = app.OpenOutputFile(app.ws.files.analysis, *rewrite);
    if (!file) return;
    const LabelTable& labels = app.ws.data.individualLabels;
    const std::pair<std::string, const DistanceMatrix*> written[] = {
        {"Average " + name + " coefficients" + draws, &kept},
        {"Variance on " + name + draws, &variance},
        {"StdDev on " + name + draws, &*results.standardDeviation}};
    for (const auto& [title, matrix] : written) WriteMatrixText(*file, *matrix, title, labels);
    if (!app.FinishOutputFile(*file)) return;
    for (const auto& [title, matrix] : written) AddWrittenMatrix(app, step, *matrix, title);
  }
  if (WriteDistanceText(app, kept, "Average " + name + " coefficients", step)) RecordMatrices(app, std::move(step));
}

void SimilarityCoefficientSlection1Click(TMainPrg& app) {
  app.dialogs.coefficient.Execute(app, app.ws.settings.similarity);
}

void ComparableLociFile1Click(TMainPrg& app) {
  std::string& file = app.ws.settings.comparableLociFile;
  if (!app.dialogs.comparableLoci.Execute(app, file)) return;
  app.Report(file.empty() ? std::string("Comparable loci: no file is written.")
                          : "Comparable loci: every similarity command writes them to " + file);
}

}  // namespace

void RegisterSimilarityCommands(HandlerTable& table) {
  table["Jaccard1Click"] = Plain(Jaccard1Click);
  table["Jaccard2Click"] = Plain(Jaccard2Click);
  table["MaximumJaccard1Click"] = Plain(MaximumJaccard1Click);
  table["AverageJaccard2Click"] = Plain(AverageJaccard2Click);
  table["SimilarityCoefficientSlection1Click"] = Plain(SimilarityCoefficientSlection1Click);
  table["ComparableLociFile1Click"] = Plain(ComparableLociFile1Click);
}

}  // namespace vorn
