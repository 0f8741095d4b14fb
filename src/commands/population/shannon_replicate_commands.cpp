// Replicate Analyses > Bootstrap Shannon's Variance (SH+RMD) and Shannon t-tests. The bootstrap
// estimates the variance of I for the working matrix; the t-tests compare the groups ticked in
// "T-testing" pairwise, each group's matrix taken from the whole data set's individuals (also
// while a group is the working data), so the workspace matrix is never changed. The bootstrap
// shows the replicate in work, and Cancel ends it with nothing written.
#include <limits>
#include <string>
#include <vector>

#include "commands/population/corrected_p_columns.h"
#include "commands/shell/data_guard.h"
#include "commands/shell/main_program.h"
#include "commands/population/shannon_text.h"
#include "core/command_progress.h"
#include "core/number_format.h"
#include "groups/group_model.h"
#include "groups/selection.h"
#include "diversity/shannon.h"
#include "diversity/shannon_ttest.h"

namespace vorn {
namespace {

ShannonBootstrapOptions BootstrapOptions(const Workspace& ws) {
  return {ws.settings.replicates.SH, ws.settings.replicates.useMDR, ws.settings.missingDataReplacement,
          ws.settings.shannon.frequencyBasis};
}

void XXX1Click(TMainPrg& app, const MenuItem& item) {
  if (!RequireMatrix(app, "No data loaded")) return;
  app.Report("Estimating Shannon Variance by Bootstrapping... ");
  const std::int32_t replicates = app.ws.settings.replicates.SH;
  if (replicates <= 1) {
    app.ErrorBox("Need to select multiple runs");
    return;
  }
  const ShannonScaling& scaling = app.ws.settings.shannon;
  const auto total = static_cast<std::size_t>(replicates);
  std::optional<BootstrapEstimate> estimate;
  {
    CommandProgress progress(app.host, PlainCaption(item.caption), "Replicate", total);
    std::size_t done = 0;
    progress.Advance(0);
    auto computed = BootstrapShannon(app.ws.data, BootstrapOptions(app.ws), scaling, app.ws.random,
                                     [&](std::size_t drawn) { return progress.Advance(done = drawn); });
    if (progress.Cancelled()) {
      app.Report("Cancelled: the bootstrap stopped after " + std::to_string(done) + " of " + std::to_string(total) +
                 " replicates; nothing was written.");
      return;
    }
    if (!app.Check(computed)) return;
    estimate = *computed;
  }
  const Real mean = estimate->scaled.mean;
  const Real variance = estimate->scaled.variance;
  const Real deviation = StandardDeviation(variance);
  const std::string count = std::to_string(replicates);
  const auto answer = app.MessageQuery("I= " + FormatReal(mean) + "\r\nvar(I)= " + FormatReal(variance) +
                                           "\r\nstd.dev.= " + FormatReal(deviation) + "\r\n\r\nWrite to analysis file?",
                                       "Shannon's Diversity Index Bootstrapped " + count + " Times", MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  auto file = app.BeginOutputFile(app.ws.files.analysis);
  if (!file) return;
  file->Line("Shannon's index and variance/std.dev. bootstrapped " + count + " times");
  file->Line(LogBaseLine(scaling));
  file->Line(FrequencyBasisLine(scaling));
  file->Line();
  file->Line("I =       " + FormatReal(mean));
  file->Line("var(I) =  " + FormatReal(variance));
  file->Line("std.dev.= " + FormatReal(deviation));
  file->Line();
  app.FinishOutputFile(*file);
}

// A selected group: its shown name and its matrix from the whole data set.
struct TestedGroup {
  std::string name;
  DataMatrix matrix;
};

// The whole data set: the parked full individuals while a group is the working data.
DataMatrix WholeDataSet(const Workspace& ws) {
  const auto& parked = ws.groups.parkedIndividuals;
  if (!parked) return ws.data;
  return DataMatrix{parked->individualCount, parked->locusCount, parked->cells, parked->labels, parked->locusLabels, parked->locusMetrics};
}

// The matrices of the selected groups, in group-list order; nothing when a group's members are
// not (or no longer) individuals of the data (already told).
std::optional<std::vector<TestedGroup>> SelectedGroups(TMainPrg& app) {
  const DataMatrix whole = WholeDataSet(app.ws);
  const GroupList& groups = app.ws.groups.groups;
  std::vector<TestedGroup> selected;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    if (!groups[i].testSelected) continue;
    auto matrix = SelGrpOnly(whole, groups, i);
    if (!app.Check(matrix)) return std::nullopt;
    selected.push_back({DisplayName(groups[i].name, app.ws.groups.showFullPath), std::move(*matrix)});
  }
  return selected;
}

using GroupAnalysis = Result<GroupShannon> (*)(const DataMatrix&, const ShannonBootstrapOptions&, const ShannonScaling&,
                                               RandomGenerator&);

// One test's values for every selected group, in order; nothing on a failure (already told).
std::optional<std::vector<GroupShannon>> Analyse(TMainPrg& app, const std::vector<TestedGroup>& groups,
                                                 GroupAnalysis analysis) {
  std::vector<GroupShannon> results;
  for (const TestedGroup& group : groups) {
    auto result = analysis(group.matrix, BootstrapOptions(app.ws), app.ws.settings.shannon, app.ws.random);
    if (!app.Check(result)) return std::nullopt;
    results.push_back(*result);
  }
  return results;
}

struct TestBlock {
  const char* variance;  // "Bowman" or "bootstrapped"
  bool checksNegativeVariance;
};

std::string GapLine(const std::string& name, GroupGap gap) {
  return "Group " + name + " left out: " +
         (gap == GroupGap::NoIndividuals ? "it has no individuals."
                                         : "no polymorphic locus is left after removing monomorphic loci.");
}

std::string VerdictText(const PairTest& test, const TTestSettings& settings) {
  std::string text;
  if (settings.outputTdf) text = "t(" + std::to_string(test.degrees) + ")= " + FormatReal(test.t) + ", ";
  if (settings.confidenceOutput == ConfidenceOutput::PValue) return text + "p= " + FormatReal(test.p.value);
  const std::string level = " (at " + FormatReal(settings.alpha) + " level)";
  return text + (test.p.value < settings.alpha ? "significantly different" : "not significantly different") + level;
}

void WriteTestBlock(TMainPrg& app, TextFileWriter& file, const TestBlock& block,
                    const std::vector<TestedGroup>& groups, const std::vector<GroupShannon>& results) {
  const TTestSettings& settings = app.ws.settings.ttest;
  const std::string variance = block.variance;
  if (settings.outputShannon) {
    file.Line("Shannon's index and variance (" + variance + ")");
    for (std::size_t k = 0; k < groups.size(); ++k) {
      if (results[k].gap != GroupGap::None) continue;
      const std::string& name = groups[k].name;
      file.Line();
      file.Line("Shannon's index of group " + name + "= " + FormatReal(results[k].index));
      file.Line("Shannon's variance of group " + name + "= " + FormatReal(results[k].variance));
      file.Line("Size of group " + name + "= " + std::to_string(results[k].size));
    }
    file.Line();
  }
  bool gaps = false;
  for (std::size_t k = 0; k < groups.size(); ++k) {
    if (results[k].gap == GroupGap::None) continue;
    file.Line(GapLine(groups[k].name, results[k].gap));
    gaps = true;
  }
  if (gaps) file.Line();
  file.Line("T-test based on Shannon values and variances (" + variance + ")");
  file.Line();
  // The pairs tested, with their p (not a number where no test could be made), for the
  // corrected p-values.
  std::vector<std::string> pairNames;
  std::vector<Real> pairP;
  for (std::size_t k = 1; k < groups.size(); ++k) {
    for (std::size_t j = 0; j < k; ++j) {
      if (results[k].gap != GroupGap::None || results[j].gap != GroupGap::None) continue;
      pairNames.push_back(groups[k].name + " vs. " + groups[j].name);
      pairP.push_back(std::numeric_limits<Real>::quiet_NaN());
      if (block.checksNegativeVariance && (results[k].variance2 < 0 || results[j].variance2 < 0)) {
        app.ErrorBox(
            "Cannot compare Shannon(Bowman) values due to negative variance!\r\n"
            "[This can happen if band frequency is calculated per locus]");
        continue;
      }
      file.Line(groups[k].name + " vs. " + groups[j].name + ":");
      const auto test = ShannonPairTest(results[k], results[j]);
      if (!test) {
        file.Line("no t-test possible: the sum of the two variances is 0 or not a finite number");
        continue;
      }
      if (test->p.error != 0) app.ErrorBox(MathsErrorText(test->p.error));
      else pairP.back() = test->p.value;
      file.Line(VerdictText(*test, settings));
    }
  }
  file.Line();
  if (app.ws.settings.correctedPValues) {
    ResultTable table = CorrectedPTable("Pair", pairNames, pairP);
    const std::string family = AppendCorrectedPColumns(table, pairP);
    for (const auto& line : table.Aligned()) file.Line(line);
    file.Line(family);
    file.Line();
  }
}

std::size_t SelectedCount(const GroupList& groups) {
  std::size_t count = 0;
  for (const GroupEntry& group : groups) count += group.testSelected;
  return count;
}

void tests1Click(TMainPrg& app) {
  if (!app.RequireData()) return;
  GroupList& groups = app.ws.groups.groups;
  if (groups.size() < 2) {
    app.ErrorBox("You need to have a total of at least 2 groups to t-test. ");
    return;
  }
  TTestSettings& settings = app.ws.settings.ttest;
  if (!app.dialogs.tTest.Execute(app, groups, app.ws.groups.showFullPath, settings)) return;
  if (SelectedCount(groups) < 2) {
    app.ErrorBox("You need to have at least 2 groups selected to perform a t-test");
    return;
  }
  if (settings.bootstrappedVariance && app.ws.settings.replicates.SH <= 1) {
    app.ErrorBox(std::string(kSingleRunRefused) +
                 "\r\nSet more than one Shannon replicate (SH) under Options > Replicate Analysis Settings.");
    return;
  }
  if (!app.Check(ToLogBase(0, app.ws.settings.shannon))) return;
  const auto selected = SelectedGroups(app);
  if (!selected) return;

  app.Report("Calculating Shannon values and performing t-tests.");
  if (!settings.bowmanVariance && !settings.bootstrappedVariance) return;
  std::optional<std::vector<GroupShannon>> bowman, bootstrap;
  if (settings.bowmanVariance && !(bowman = Analyse(app, *selected, GroupShannonBowman))) return;
  if (settings.bootstrappedVariance && !(bootstrap = Analyse(app, *selected, GroupShannonBootstrap))) return;

  auto file = app.BeginOutputFile(app.ws.files.analysis);
  if (!file) return;
  if (bowman) WriteTestBlock(app, *file, {"Bowman", true}, *selected, *bowman);
  if (bootstrap) WriteTestBlock(app, *file, {"bootstrapped", false}, *selected, *bootstrap);
  app.FinishOutputFile(*file);
}

}  // namespace

void RegisterShannonReplicateCommands(HandlerTable& table) {
  table["XXX1Click"] = XXX1Click;
  table["tests1Click"] = Plain(tests1Click);
}

}  // namespace vorn
