// Analysis > AMOVA and Analysis > AMOVA Permutation Test. Both ask whether the groups partition
// the data and how many levels to use, run the AMOVA on the whole data set (the active group is
// selected again afterwards), show its summary and on request append the results block to the
// analysis file; the permutation test adds the p-values of the Phi statistics, showing the
// permutation in work, and Cancel ends it with nothing written.
#include <cmath>
#include <optional>
#include <string>

#include "commands/shell/data_guard.h"
#include "commands/shell/main_program.h"
#include "commands/data/whole_data_set.h"
#include "core/command_progress.h"
#include "core/number_format.h"
#include "core/number_input.h"
#include "groups/group_model.h"
#include "groups/selection.h"
#include "report/methods_text.h"
#include "similarity/coefficient_names.h"
#include "amova/amova.h"
#include "amova/amova_permutation.h"

namespace vorn {
namespace {

constexpr const char* kPermutationTitle = "AMOVA Permutation Test";
constexpr std::int32_t kMaxPermutations = 1000000;

// The caution and level questions; the levels to use, or nothing when the command ends.
std::optional<int> AskLevels(TMainPrg& app) {
  if (!RequireMatrix(app)) return std::nullopt;
  const std::size_t levelCount = LevelCount(app.ws.groups.groups);
  if (levelCount < 2) {
    app.ErrorBox("Groups must be defined for AMOVA");
    return std::nullopt;
  }
  const auto proceed = app.MessageQuery(
      "Please make sure that all individuals in your data matrix are actually\r\n"
      "partitioned into appropriate groups at all levels and that no individuals\r\n"
      "are left out. Otherwise, the AMOVA calculations will be meaningless.\r\n\r\n\r\n"
      "Do you wish to proceed?",
      "Caution", MessageButtons::YesNo);
  if (proceed != MessageAnswer::Yes) return std::nullopt;
  if (levelCount < 3) return 1;
  const auto firstOnly = app.MessageQuery(
      "Do you wish to the the first level of hierarchical structure only?\r\n"
      "Alternatively, [clicking no], the first two levels will be used.",
      "AMOVA", MessageButtons::YesNo);
  return firstOnly == MessageAnswer::Yes ? 1 : 2;
}

// The permutation count from the dialog (kept for the next run); nothing when cancelled.
std::optional<std::int32_t> AskPermutations(TMainPrg& app) {
  std::int32_t& kept = app.ws.settings.amovaPermutations;
  std::string value = std::to_string(kept);
  for (;;) {
    if (!app.dialogs.questionBox.Query(app.host, "Permutations", "Number of random permutations for each test",
                                       "(1 to " + std::to_string(kMaxPermutations) + ")", value, "")) {
      return std::nullopt;
    }
    const auto number = ParseReal(value);
    if (number && *number >= 1 && *number <= kMaxPermutations && *number == std::floor(*number)) {
      kept = static_cast<std::int32_t>(*number);
      return kept;
    }
    app.ErrorBox(kInvalidInput);
  }
}

std::string SummaryText(const TAMOVA& amova) {
  std::string text = "Va= " + FormatReal(amova.PercentA) + "%" + "\r\n" + "Vb= " + FormatReal(amova.PercentB) + "%" + "\r\n";
  if (amova.Levels() == 2) text += "Vc= " + FormatReal(amova.PercentC) + "%" + "\r\n";
  text += "\r\nPhiST= " + FormatReal(amova.PhiST) + "\r\n";
  if (amova.Levels() == 2) text += "PhiSR= " + FormatReal(amova.PhiSR) + "\r\n" + "PhiRT= " + FormatReal(amova.PhiRT) + "\r\n";
  return text;
}

// The test of PhiST rests on Va with one level and on Vc with two.
std::string WithinTestName(const TAMOVA& amova) { return amova.Levels() == 2 ? "Vc, PhiST" : "Va, PhiST"; }

std::string SignificanceText(const TAMOVA& amova, const AmovaSignificance& significance) {
  std::string text = "Permutations: " + std::to_string(significance.permutations) + "\r\n" + "p(" +
                     WithinTestName(amova) + ")= " + FormatReal(significance.pPhiST) + "\r\n";
  if (amova.Levels() == 2) {
    text += "p(Vb, PhiSR)= " + FormatReal(significance.pPhiSR) + "\r\n" + "p(Va, PhiRT)= " +
            FormatReal(significance.pPhiRT) + "\r\n";
  }
  return text;
}

void WriteResults(TextFileWriter& file, const TAMOVA& amova, const SimilaritySettings& settings) {
  const bool two = amova.Levels() == 2;
  file.Line("AMOVA results");
  file.Line("Coefficient: " + SimilarityModeName(settings.amovaSimilarity, settings.coefficient, false) + " " +
            CoefficientName(settings.coefficient) + ". Distance Transformation: " +
            TransformationName(settings.transformation) + ".");
  file.Line();
  file.Line(std::string(two ? "SSD(AG)= " : "SSD(AP)= ") + FormatReal(amova.SSDAG) + (two ? ", df(AG)= " : ", df(AP)= ") +
            std::to_string(amova.DfAG));
  if (two) file.Line("SSD(APWG)= " + FormatReal(amova.SSDAPWG) + ", df(APWG)= " + std::to_string(amova.DfAPWG));
  file.Line("SSD(WP)= " + FormatReal(amova.SSDWP) + ", df(WP)= " + std::to_string(amova.DfWP));
  file.Line("SSD(T)= " + FormatReal(amova.SSDT) + ", df(T)= " + std::to_string(amova.DfT));
  file.Line();
  file.Line("Va= " + FormatReal(amova.Va) + ", %Var= " + FormatReal(amova.PercentA));
  file.Line("Vb= " + FormatReal(amova.Vb) + ", %Var= " + FormatReal(amova.PercentB));
  if (two) file.Line("Vc= " + FormatReal(amova.Vc) + ", %Var= " + FormatReal(amova.PercentC));
  file.Line("Vt= " + FormatReal(amova.Vt));
  file.Line();
  file.Line("PhiST= " + FormatReal(amova.PhiST));
  if (two) {
    file.Line("PhiRT= " + FormatReal(amova.PhiRT));
    file.Line("PhiSR= " + FormatReal(amova.PhiSR));
  }
  file.Line();
}

void WriteSignificance(TextFileWriter& file, const TAMOVA& amova, const AmovaSignificance& significance) {
  file.Line("Significance by " + std::to_string(significance.permutations) + " random permutations");
  file.Line(WithinTestName(amova) + ": individuals permuted among all populations, p= " +
            FormatReal(significance.pPhiST));
  if (amova.Levels() == 2) {
    file.Line("Va, PhiRT: whole populations permuted among regions, p= " + FormatReal(significance.pPhiRT));
    file.Line("Vb, PhiSR: individuals permuted among the populations of their region, p= " +
              FormatReal(significance.pPhiSR));
  }
  file.Line();
}

// The AMOVA table of the report, from the values and with the formats of the analysis file.
ResultTable AmovaTable(const TAMOVA& amova) {
  const bool two = amova.Levels() == 2;
  ResultTable table;
  table.rows.push_back({"Source", "df", "SSD", "Variance component", "% variation"});
  if (two) {
    table.rows.push_back({"Among regions", std::to_string(amova.DfAG), FormatReal(amova.SSDAG), FormatReal(amova.Va),
                          FormatReal(amova.PercentA)});
    table.rows.push_back({"Among populations within regions", std::to_string(amova.DfAPWG), FormatReal(amova.SSDAPWG),
                          FormatReal(amova.Vb), FormatReal(amova.PercentB)});
    table.rows.push_back({"Within populations", std::to_string(amova.DfWP), FormatReal(amova.SSDWP),
                          FormatReal(amova.Vc), FormatReal(amova.PercentC)});
  } else {
    table.rows.push_back({"Among populations", std::to_string(amova.DfAG), FormatReal(amova.SSDAG),
                          FormatReal(amova.Va), FormatReal(amova.PercentA)});
    table.rows.push_back({"Within populations", std::to_string(amova.DfWP), FormatReal(amova.SSDWP),
                          FormatReal(amova.Vb), FormatReal(amova.PercentB)});
  }
  table.rows.push_back({"Total", std::to_string(amova.DfT), FormatReal(amova.SSDT), FormatReal(amova.Vt), ""});
  return table;
}

ResultTable PhiTable(const TAMOVA& amova, const std::optional<AmovaSignificance>& significance) {
  const auto p = [&](Real value) { return significance ? FormatReal(value) : std::string("-"); };
  ResultTable table;
  table.rows.push_back({"Statistic", "Value", "p"});
  table.rows.push_back({"PhiST", FormatReal(amova.PhiST), p(significance ? significance->pPhiST : 0)});
  if (amova.Levels() == 2) {
    table.rows.push_back({"PhiRT", FormatReal(amova.PhiRT), p(significance ? significance->pPhiRT : 0)});
    table.rows.push_back({"PhiSR", FormatReal(amova.PhiSR), p(significance ? significance->pPhiSR : 0)});
  }
  return table;
}

void RecordAmova(TMainPrg& app, const TAMOVA& amova, const std::optional<AmovaSignificance>& significance) {
  const SimilaritySettings& settings = app.ws.settings.similarity;
  const bool two = amova.Levels() == 2;
  const std::int32_t populations = two ? amova.DfAG + amova.DfAPWG + 1 : amova.DfAG + 1;
  ReportStep step;
  step.title = two ? "AMOVA (populations within regions)" : "AMOVA";
  step.references = {"excoffier1992"};
  step.method = "The molecular variance of the " + std::to_string(amova.DfT + 1) + " individuals was partitioned " +
                (two ? "among " + std::to_string(amova.DfAG + 1) + " regions and " : std::string("among ")) +
                std::to_string(populations) + " populations by AMOVA (Excoffier et al. 1992) on " +
                DistancePhrase(settings, settings.amovaSimilarity, app.ws.settings.replicates.JC, step.references) +
                (significance ? "; the Phi statistics were tested with " + std::to_string(significance->permutations) +
                                    " random permutations"
                              : std::string()) +
                ".";
  step.lines = {"Coefficient: " + SimilarityModeName(settings.amovaSimilarity, settings.coefficient, false) + " " +
                CoefficientName(settings.coefficient) + ". Distance Transformation: " +
                TransformationName(settings.transformation) + "."};
  step.tables.push_back(ReportTable{AmovaTable(amova), {}});
  step.tables.push_back(ReportTable{
      PhiTable(amova, significance),
      {significance ? "p from " + std::to_string(significance->permutations) + " random permutations."
                    : std::string("Not tested: Analysis > AMOVA Permutation Test gives the p-values.")}});
  app.reportRecord.Add(std::move(step));
}

// Runs the AMOVA over the whole data set with levels 1 or 2, and the permutation test when
// permutations are given; shows the summary and writes the results on Yes.
void RunAmova(TMainPrg& app, int levels, std::optional<std::int32_t> permutations) {
  Workspace& ws = app.ws;
  if (static_cast<std::size_t>(levels) >= LevelCount(ws.groups.groups)) {
    app.Report("Necessary group hierarchy for AMOVA is not defined");
    return;
  }
  if (levels != 1 && levels != 2) {
    app.Report("Invalid AMOVA level");
    return;
  }
  if (ws.groups.locusSets.empty() && !app.Check(BuildAllLoci(ws.data, ws.groups.locusSets))) return;
  WholeDataSet whole(app);
  if (!whole.Selected()) return;

  TAMOVA amova(ws.data.individualCount);
  if (!app.Check(amova.SetHierarchy(ws.data, ws.groups.groups, levels))) return;
  const auto distances = AmovaDistances(ws.data, ws.settings.similarity, ws.settings.replicates.JC, ws.random);
  if (!app.Check(distances)) return;
  amova.Calculate(*distances);
  if (!app.Check(amova.CheckDefined())) return;

  std::optional<AmovaSignificance> significance;
  if (permutations) {
    const std::size_t steps = AmovaPermutationSteps(levels, *permutations);
    CommandProgress progress(app.host, kPermutationTitle, "Permutation", steps);
    std::size_t done = 0;
    progress.Advance(0);
    auto test = AmovaPermutationTest(amova, *distances, ws.data.individualLabels, ws.groups.groups, *permutations,
                                     ws.random, [&](std::size_t permuted) { return progress.Advance(done = permuted); });
    if (progress.Cancelled()) {
      app.Report("Cancelled: the permutation test stopped after " + std::to_string(done) + " of " +
                 std::to_string(steps) + " permutations; nothing was written.");
      return;
    }
    if (!app.Check(test)) return;
    significance = *test;
  }
  const std::string summary = SummaryText(amova) + (significance ? "\r\n" + SignificanceText(amova, *significance) : "");
  const auto answer = app.MessageQuery(summary + "\r\nWrite results to analysis file?",
                                       significance ? kPermutationTitle : "AMOVA", MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  auto file = app.BeginOutputFile(ws.files.analysis);
  if (!file) return;
  WriteResults(*file, amova, ws.settings.similarity);
  if (significance) WriteSignificance(*file, amova, *significance);
  if (app.FinishOutputFile(*file)) RecordAmova(app, amova, significance);
}

std::string LevelsText(int levels) { return "Performing AMOVA (" + std::to_string(levels + 1) + " levels)"; }

void AMOVA1Click(TMainPrg& app) {
  const auto levels = AskLevels(app);
  if (!levels) return;
  app.Report(LevelsText(*levels));
  RunAmova(app, *levels, std::nullopt);
}

void AMOVAPermutationTest1Click(TMainPrg& app) {
  const auto levels = AskLevels(app);
  if (!levels) return;
  const auto permutations = AskPermutations(app);
  if (!permutations) return;
  app.Report(LevelsText(*levels) + " with " + std::to_string(*permutations) + " permutations");
  RunAmova(app, *levels, permutations);
}

}  // namespace

void RegisterAmovaCommands(HandlerTable& table) {
  table["AMOVA1Click"] = Plain(AMOVA1Click);
  table["AMOVAPermutationTest1Click"] = Plain(AMOVAPermutationTest1Click);
}

}  // namespace vorn
