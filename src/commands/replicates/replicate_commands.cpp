// Replicate Analyses > Bootstrap Std. Tree, Multiple Avg. Trees and Bootstrap Avg. Trees: many
// UPGMA trees appended to the tree file, and on request each replicate's matrices to the
// analysis file; Options > Replicate Analysis Settings. Both files stay open for the whole run,
// the window shows the replicate in work, and Cancel stops after it with every tree written so
// far kept.
#include <filesystem>
#include <optional>
#include <string>

#include "commands/shell/data_guard.h"
#include "commands/shell/main_program.h"
#include "core/command_progress.h"
#include "report/methods_text.h"
#include "replicates/replicate_trees.h"
#include "similarity/coefficient_names.h"
#include "similarity/coefficients.h"
#include "similarity/matrix_text.h"

namespace vorn {
namespace {

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return a == b || std::filesystem::equivalent(a, b, error);
}

// The files of one run, open from the common start to the end of the command.
class RunFiles {
 public:
  // The "Save?" question, then the analysis file (when saving) and the tree file are prepared,
  // each emptied now when the user chose rewrite. Nothing when a file could not be made (told).
  static std::optional<RunFiles> Open(TMainPrg& app) {
    const Workspace& ws = app.ws;
    const std::string name = CoefficientName(ws.settings.similarity.coefficient);
    RunFiles files;
    files.save = app.MessageQuery("Save " + name + " data from all runs to analysis file?", "Save?",
                                  MessageButtons::YesNo) == MessageAnswer::Yes;
    bool analysisRewrite = false;
    if (files.save) {
      const auto rewrite = app.PrepareOutputFile(ws.files.analysis);
      if (!rewrite) return std::nullopt;
      analysisRewrite = *rewrite;
      files.analysis = app.OpenOutputFile(ws.files.analysis, analysisRewrite);
      if (!files.analysis) return std::nullopt;
    }
    const auto treeRewrite = app.PrepareOutputFile(ws.files.tree);
    if (!treeRewrite) return std::nullopt;
    if (files.save && SameFile(ws.files.analysis, ws.files.tree)) {
      // One file takes both kinds of block in run order; it is emptied if either answer said so.
      if (*treeRewrite && !analysisRewrite) {
        files.analysis.reset();
        files.analysis = app.OpenOutputFile(ws.files.analysis, true);
        if (!files.analysis) return std::nullopt;
      }
      return files;
    }
    files.ownTree = app.OpenOutputFile(ws.files.tree, *treeRewrite);
    if (!files.ownTree) return std::nullopt;
    return files;
  }

  TextFileWriter& Tree() { return ownTree ? *ownTree : *analysis; }

  // Closes both files; false when a write failed (told).
  bool Finish(TMainPrg& app) {
    bool ok = true;
    if (analysis) ok = app.FinishOutputFile(*analysis) && ok;
    if (ownTree) ok = app.FinishOutputFile(*ownTree) && ok;
    return ok;
  }

  bool save = false;
  std::optional<TextFileWriter> analysis;

 private:
  std::optional<TextFileWriter> ownTree;  // none when the tree file is the analysis file
};

ReplicateSummary RunAnalysis(TMainPrg& app, ReplicateAnalysis analysis, const AverageBounds* bounds, bool save,
                             const ReplicateWriter& writer) {
  switch (analysis) {
    case ReplicateAnalysis::BootstrapStd: return RunBootstrapStdTrees(app.ws, save, writer);
    case ReplicateAnalysis::BootstrapAverage: return RunBootstrapAvgTrees(app.ws, save, writer);
    case ReplicateAnalysis::MultipleAverage: break;
  }
  return RunMultipleAvgTrees(app.ws, *bounds, save, writer);
}

// What a run met, told once at its end: undefined Nei-Li pairs, replicates without a tree, the
// ties and negative lengths of neighbor-joining, Cancel.
void TellOutcome(TMainPrg& app, const ReplicateSummary& summary, std::size_t undefinedNeiLiPairs,
                 std::int32_t count, std::int32_t written, bool cancelled) {
  if (undefinedNeiLiPairs > 0) app.ErrorBox(UndefinedNeiLiMessage(undefinedNeiLiPairs));
  const std::string ofCount = " of " + std::to_string(count);
  if (summary.withoutTree > 0) {
    app.MessageQuery("No tree could be built for " + std::to_string(summary.withoutTree) + ofCount +
                         " replicates (" + summary.firstFailure + "); they were left out.\r\n" +
                         std::to_string(written) + ofCount + " trees were written.",
                     "Warning", MessageButtons::Ok);
  }
  for (const std::string& line : JoinNoteLines(summary.joinNotes, static_cast<std::size_t>(written))) app.Report(line);
  if (cancelled) app.Report("Cancelled: " + std::to_string(written) + ofCount + " trees written.");
}

// The run as a methods section tells it: how many replicates, resampled how, and which trees.
void RecordReplicates(TMainPrg& app, const std::string& caption, ReplicateAnalysis analysis, std::int32_t count,
                      std::int32_t written) {
  const Workspace& ws = app.ws;
  const bool nj = ws.settings.treeMethod == TreeMethod::NeighborJoining;
  ReportStep step;
  step.title = caption;
  step.references = {nj ? "saitou1987" : "sokal1958"};
  const SimilarityMode mode =
      analysis == ReplicateAnalysis::BootstrapStd ? SimilarityMode::Standard : SimilarityMode::Average;
  const std::string distances = DistancePhrase(ws.settings.similarity, mode, ws.settings.replicates.JC, step.references);
  const std::string trees = std::string(nj ? " neighbor-joining (Saitou & Nei 1987)" : " UPGMA (Sokal & Michener 1958)") +
                            " trees were built from " + distances;
  if (analysis == ReplicateAnalysis::MultipleAverage) {
    step.method = std::to_string(count) + trees + ", each with new random values for the missing scores.";
  } else {
    step.references.push_back("felsenstein1985");
    step.method = "From " + std::to_string(count) +
                  " bootstrap replicates of the loci, drawn with replacement (Felsenstein 1985)," + trees + ".";
  }
  step.lines = {std::to_string(written) + " of " + std::to_string(count) + " trees written to " + ws.files.tree + "."};
  app.reportRecord.Add(std::move(step));
}

void RunTreeCommand(TMainPrg& app, const MenuItem& item, ReplicateAnalysis analysis) {
  if (!RequireMatrix(app)) return;
  Workspace& ws = app.ws;
  if (!app.Check(CheckReplicateRun(ws, analysis))) return;
  const SimilarityCoefficient coefficient = ws.settings.similarity.coefficient;
  const std::int32_t drawCount = ws.settings.replicates.JC;
  app.Report(ReplicateStartLine(analysis, coefficient));
  std::optional<AverageBounds> bounds;
  if (analysis == ReplicateAnalysis::MultipleAverage) {
    auto built = BuildAverageBounds(ws);
    if (!app.Check(built)) return;
    bounds = std::move(*built);
  }
  auto files = RunFiles::Open(app);
  if (!files) return;

  const std::int32_t count =
      analysis == ReplicateAnalysis::MultipleAverage ? ws.settings.replicates.TR : ws.settings.replicates.BS;
  CommandProgress progress(app.host, PlainCaption(item.caption), "Replicate", static_cast<std::size_t>(count));
  if (count > 0) progress.Advance(0);
  std::int32_t written = 0;
  const LabelTable& labels = ws.data.individualLabels;
  const auto writeMatrix = [&](const DistanceMatrix* matrix, const std::string& title) {
    if (files->save) WriteMatrixText(*files->analysis, *matrix, title, labels);
  };
  const auto writer = [&](const ReplicateTree& replicate) {
    const std::int32_t e = replicate.number;
    writeMatrix(replicate.similarity, ReplicateMatrixTitle(analysis, coefficient, drawCount, e));
    if (analysis == ReplicateAnalysis::BootstrapAverage) {
      writeMatrix(replicate.variance, ReplicateVarianceTitle(analysis, coefficient, drawCount, e));
    }
    if (!replicate.newick.empty()) {
      files->Tree().Line(replicate.newick);
      ++written;
    }
    if (analysis == ReplicateAnalysis::MultipleAverage) {
      writeMatrix(replicate.variance, ReplicateVarianceTitle(analysis, coefficient, drawCount, e));
    }
    return progress.Advance(static_cast<std::size_t>(e));
  };
  const ReplicateSummary summary = RunAnalysis(app, analysis, bounds ? &*bounds : nullptr, files->save, writer);
  if (!files->Finish(app)) return;
  const std::size_t undefined = summary.undefinedNeiLiPairs + (bounds ? bounds->undefinedNeiLiPairs : 0);
  TellOutcome(app, summary, undefined, count, written, progress.Cancelled());
  RecordReplicates(app, PlainCaption(item.caption), analysis, count, written);
}

CommandHandler TreeCommand(ReplicateAnalysis analysis) {
  return [analysis](TMainPrg& app, const MenuItem& item) { RunTreeCommand(app, item, analysis); };
}

void ReplicateAnalysisSettings1Click(TMainPrg& app) {
  app.dialogs.replicateSettings.Execute(app, app.ws.settings.replicates);
}

}  // namespace

void RegisterReplicateCommands(HandlerTable& table) {
  table["BootstrapJaccardTree1Click"] = TreeCommand(ReplicateAnalysis::BootstrapStd);
  table["Mul1Click"] = TreeCommand(ReplicateAnalysis::MultipleAverage);
  table["BootstrapAvgJaccTrees1Click"] = TreeCommand(ReplicateAnalysis::BootstrapAverage);
  table["ReplicateAnalysisSettings1Click"] = Plain(ReplicateAnalysisSettings1Click);
}

}  // namespace vorn
