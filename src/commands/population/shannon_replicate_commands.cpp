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
  const ResultTable table = ShannonTable(mean, variance, true);
  const std::string title = "Shannon's index and variance/std.dev. bootstrapped " + count + " times";
  ReportStep step;
  step.title = title;
  step.references = {"shannon1948", "efron1979"};
  step.method = "The mean and variance of Shannon's information index I (Shannon 1948) over the " +
                std::to_string(app.ws.data.individualCount) + " individuals were estimated from " + count +
                " bootstrap replicates of the " + std::to_string(app.ws.data.locusCount) +
                " loci drawn with replacement (Efron 1979)" +
                (app.ws.settings.replicates.useMDR ? ", the missing scores of each replicate replaced" : "") + ".";
  WriteShannonBlock(app, title, table, std::move(step));
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

// The groups' values as the block's first table: "Group", "I", "var(I)", "N", the groups left
// out not among them.
ResultTable GroupTable(const std::vector<TestedGroup>& groups, const std::vector<GroupShannon>& results) {
  ResultTable table{{{"Group", "I", "var(I)", "N"}}};
  for (std::size_t k = 0; k < groups.size(); ++k) {
    if (results[k].gap != GroupGap::None) continue;
    table.rows.push_back({groups[k].name, FormatReal(results[k].index), FormatReal(results[k].variance),
                          std::to_string(results[k].size)});
  }
  return table;
}

// The tests as the block's second table: "Pair", "t", "df", "p" and, when the settings ask for
// significance rather than p, "Result"; a pair without a test has "undefined" in them. Every
// pair of groups with values, also one refused for a negative variance, is among names with its p
// (not a number without a test), for the corrected p-values.
struct PairTable {
  ResultTable table;
  std::vector<bool> tested;  // per row below the header
  std::vector<std::string> names;
  std::vector<Real> p;
};

// The analysis file's line of a test: "t(12)= 2.5, p= 0.03" or "... significantly different (at
// 0.05 level)", from the table's cells.
std::string VerdictLine(const std::vector<std::string>& cells, bool tested, const TTestSettings& settings) {
  if (!tested) return "no t-test possible: the sum of the two variances is 0 or not a finite number";
  const std::string text = settings.outputTdf ? "t(" + cells[2] + ")= " + cells[1] + ", " : "";
  return text + (settings.confidenceOutput == ConfidenceOutput::PValue ? "p= " + cells[3] : cells[4]);
}

PairTable TestPairs(TMainPrg& app, const TestBlock& block, const std::vector<TestedGroup>& groups,
                    const std::vector<GroupShannon>& results) {
  const TTestSettings& settings = app.ws.settings.ttest;
  const bool significance = settings.confidenceOutput != ConfidenceOutput::PValue;
  PairTable pairs;
  pairs.table.rows.push_back({"Pair", "t", "df", "p"});
  if (significance) pairs.table.rows[0].push_back("Result");
  for (std::size_t k = 1; k < groups.size(); ++k) {
    for (std::size_t j = 0; j < k; ++j) {
      if (results[k].gap != GroupGap::None || results[j].gap != GroupGap::None) continue;
      const std::string name = groups[k].name + " vs. " + groups[j].name;
      pairs.names.push_back(name);
      pairs.p.push_back(std::numeric_limits<Real>::quiet_NaN());
      if (block.checksNegativeVariance && (results[k].variance2 < 0 || results[j].variance2 < 0)) {
        app.ErrorBox(
            "Cannot compare Shannon(Bowman) values due to negative variance!\r\n"
            "[This can happen if band frequency is calculated per locus]");
        continue;
      }
      const auto test = ShannonPairTest(results[k], results[j]);
      pairs.tested.push_back(test.has_value());
      if (!test) {
        pairs.table.rows.push_back({name, "undefined", "undefined", "undefined"});
        if (significance) pairs.table.rows.back().push_back("undefined");
        continue;
      }
      if (test->p.error != 0) app.ErrorBox(MathsErrorText(test->p.error));
      else pairs.p.back() = test->p.value;
      pairs.table.rows.push_back({name, FormatReal(test->t), std::to_string(test->degrees), FormatReal(test->p.value)});
      if (significance) {
        pairs.table.rows.back().push_back(
            std::string(test->p.value < settings.alpha ? "significantly different" : "not significantly different") +
            " (at " + FormatReal(settings.alpha) + " level)");
      }
    }
  }
  return pairs;
}

void WriteTestBlock(TMainPrg& app, TextFileWriter& file, const TestBlock& block,
                    const std::vector<TestedGroup>& groups, const std::vector<GroupShannon>& results,
                    ReportStep& step) {
  const TTestSettings& settings = app.ws.settings.ttest;
  const std::string variance = block.variance;
  const ResultTable values = GroupTable(groups, results);
  const std::string valuesTitle = "Shannon's index and variance (" + variance + ")";
  if (settings.outputShannon) {
    file.Line(valuesTitle);
    for (std::size_t row = 1; row < values.rows.size(); ++row) {
      const std::vector<std::string>& cells = values.rows[row];
      file.Line();
      file.Line("Shannon's index of group " + cells[0] + "= " + cells[1]);
      file.Line("Shannon's variance of group " + cells[0] + "= " + cells[2]);
      file.Line("Size of group " + cells[0] + "= " + cells[3]);
    }
    file.Line();
    step.tables.push_back(ReportTable{values, {valuesTitle}});
  }
  bool gaps = false;
  for (std::size_t k = 0; k < groups.size(); ++k) {
    if (results[k].gap == GroupGap::None) continue;
    file.Line(GapLine(groups[k].name, results[k].gap));
    step.lines.push_back(GapLine(groups[k].name, results[k].gap));
    gaps = true;
  }
  if (gaps) file.Line();
  const std::string testTitle = "T-test based on Shannon values and variances (" + variance + ")";
  file.Line(testTitle);
  file.Line();
  const PairTable pairs = TestPairs(app, block, groups, results);
  for (std::size_t row = 1; row < pairs.table.rows.size(); ++row) {
    file.Line(pairs.table.rows[row][0] + ":");
    file.Line(VerdictLine(pairs.table.rows[row], pairs.tested[row - 1], settings));
  }
  file.Line();
  step.tables.push_back(ReportTable{pairs.table, {testTitle}});
  if (app.ws.settings.correctedPValues) {
    ResultTable table = CorrectedPTable("Pair", pairs.names, pairs.p);
    const std::string family = AppendCorrectedPColumns(table, pairs.p);
    for (const auto& line : table.Aligned()) file.Line(line);
    file.Line(family);
    file.Line();
    step.tables.push_back(ReportTable{table, {family}});
  }
}

// What the methods say of the t-tests: the groups, the variances used and the replicates drawn.
std::string TestMethod(const Workspace& ws, std::size_t groups, std::vector<std::string>& references) {
  const TTestSettings& settings = ws.settings.ttest;
  references.insert(references.end(), {"shannon1948", "hutcheson1970"});
  std::vector<std::string> variances;
  if (settings.bowmanVariance) {
    variances.push_back("Bowman et al.'s (1971) variance");
    references.push_back("bowman1971");
  }
  if (settings.bootstrappedVariance) {
    variances.push_back("the variance over " + std::to_string(ws.settings.replicates.SH) +
                        " bootstrap replicates of the loci (Efron 1979)");
    references.push_back("efron1979");
  }
  std::string text = "Shannon's information index I (Shannon 1948) of the " + std::to_string(groups) +
                     " groups was compared between every two groups by Hutcheson's (1970) t-test with " + variances[0];
  if (variances.size() > 1) text += ", and again with " + variances[1];
  text += settings.confidenceOutput == ConfidenceOutput::PValue
              ? std::string(", two-sided p from Student's t")
              : ", a difference counted significant at p < " + FormatReal(settings.alpha);
  return text + (ws.settings.correctedPValues ? "; the p-values were corrected for multiple tests." : ".");
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
  ReportStep step;
  step.title = "Shannon t-tests";
  step.method = TestMethod(app.ws, selected->size(), step.references);
  if (bowman) WriteTestBlock(app, *file, {"Bowman", true}, *selected, *bowman, step);
  if (bootstrap) WriteTestBlock(app, *file, {"bootstrapped", false}, *selected, *bootstrap, step);
  if (app.FinishOutputFile(*file)) app.reportRecord.Add(std::move(step));
}

}  // namespace

void RegisterShannonReplicateCommands(HandlerTable& table) {
  table["XXX1Click"] = XXX1Click;
  table["tests1Click"] = Plain(tests1Click);
}

}  // namespace vorn
