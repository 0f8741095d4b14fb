// Analysis > F_ST from Band Frequencies: Lynch & Milligan's F_ST of the populations of one level
// with the chosen null-allele estimator, its jackknife standard error and permutation test, and
// the pairwise F_ST with their tests and corrected p-values. Runs on the whole data set (the
// active group is selected again afterwards) with the working loci; on Yes the tables go to the
// analysis file with a tab-separated copy.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "commands/population/corrected_p_columns.h"
#include "commands/population/population_support.h"
#include "commands/data/whole_data_set.h"
#include "core/command_progress.h"
#include "core/number_format.h"
#include "differentiation/band_fst.h"

namespace vorn {
namespace {

std::string EstimatorLine(const NullAlleleSettings& settings) {
  std::string line = "Null allele: " + NullAlleleMethodName(settings.method);
  if (settings.method == NullAlleleMethod::Bayesian) {
    line += settings.uniformPrior ? ", uniform prior" : ", non-uniform prior estimated per population";
  }
  if (settings.method == NullAlleleMethod::LynchMilligan) {
    line += ", loci with more than " + FormatShortest(double(settings.absences)) + " band absences in every population";
  }
  return line + "; F_IS = " + FormatShortest(double(settings.inbreeding)) + ".";
}

// What the methods say of the analysis: the estimator, the standard error and the permutations.
ReportMethod FstMethod(std::size_t populations, std::size_t level, const NullAlleleSettings& settings,
                       std::int32_t permutations) {
  ReportMethod method{"", {"lynch1994"}};
  std::string estimator;
  switch (settings.method) {
    case NullAlleleMethod::SquareRoot: estimator = "as the square root of the share of band absences"; break;
    case NullAlleleMethod::LynchMilligan:
      estimator = "after Lynch & Milligan (1994), over the loci with more than " +
                  FormatShortest(double(settings.absences)) + " band absences in every population";
      break;
    case NullAlleleMethod::Bayesian:
      estimator = std::string("by Zhivotovsky's (1999) Bayesian method with ") +
                  (settings.uniformPrior ? "a uniform prior" : "a non-uniform prior estimated per population");
      method.references.push_back("zhivotovsky1999");
      break;
  }
  method.sentence = "F_ST among the " + Count(populations, "population", "populations") + " of level " +
                    std::to_string(level) + " and between every two of them was estimated from band frequencies "
                    "(Lynch & Milligan 1994), the frequencies of the null allele " + estimator + " with F_IS = " +
                    FormatShortest(double(settings.inbreeding)) + "; its standard error by the jackknife over loci" +
                    (permutations > 0 ? ", and each F_ST was tested with " + std::to_string(permutations) +
                                            " permutations of the individuals among the populations"
                                      : std::string()) +
                    ".";
  return method;
}

TableBlock PopulationBlock(const BandFstResult& result, const NullAlleleSettings& settings) {
  const bool bayesian = settings.method == NullAlleleMethod::Bayesian;
  ResultTable table;
  table.rows.push_back({"Population", "N", "Hj", "SE(Hj)"});
  if (bayesian) table.rows[0].insert(table.rows[0].end(), {"Prior a", "Prior b"});
  std::vector<std::string> notes = {"Hj = 2q(1 - q) + 2Var(q), its mean over the loci of F_ST with its standard error."};
  for (const PopulationHj& row : result.populations) {
    std::vector<std::string> cells = {row.name, std::to_string(row.individuals), ValueText(row.hj.mean),
                                      ValueText(row.hj.standardError)};
    if (bayesian) {
      cells.push_back(row.used ? ValueText(row.prior.a) : "undefined");
      cells.push_back(row.used ? ValueText(row.prior.b) : "undefined");
    }
    table.rows.push_back(cells);
    if (!row.used) {
      notes.push_back(row.name + ": Hj and SE(Hj) undefined: a population of one individual has no sampling variance; "
                      "it is left out of every estimate.");
    } else if (bayesian && !settings.uniformPrior && !row.prior.estimated) {
      notes.push_back(row.name + ": the uniform prior: its loci's absence shares vary no more than sampling makes them.");
    }
  }
  return TableBlock{table, table, notes};
}

TableBlock OverallBlock(const BandFstResult& result, std::int32_t permutations) {
  ResultTable table;
  const FstComponents& c = result.overall;
  table.rows = {{"Statistic", "Value"},
                {"Loci", std::to_string(c.loci)},
                {"Hw", ValueText(c.hw)},
                {"Hb", ValueText(c.hb)},
                {"Ht", ValueText(c.ht)},
                {"F_ST", ValueText(c.fst)},
                {"SE(F_ST)", ValueText(result.jackknifeSE)},
                {"p", permutations == 0 ? std::string("-") : ValueText(result.p)}};
  std::vector<std::string> notes = {"Ht = Hw + Hb, F_ST = Hb / Ht; SE(F_ST) by the jackknife over loci."};
  if (permutations > 0) {
    notes.push_back("p: individuals permuted among the populations, " + std::to_string(permutations) + " permutations.");
  }
  if (!c.defined) {
    notes.push_back(c.loci == 0 ? "F_ST undefined: no locus is estimated in every population."
                                : "F_ST undefined: Ht is not above 0.");
  }
  if (c.defined && c.loci < 2) notes.push_back("SE(F_ST) undefined: the jackknife needs two loci.");
  return TableBlock{table, table, notes};
}

std::vector<TableBlock> PairBlocks(const std::vector<PopulationMembers>& populations, const BandFstResult& result,
                                   std::int32_t permutations) {
  std::vector<std::string> header{"F_ST \\ p"};
  for (std::size_t u : result.used) header.push_back(populations[u].name);
  ResultTable matrix;
  matrix.rows.push_back(header);
  const std::size_t P = result.used.size();
  const auto pair = [&](std::size_t a, std::size_t b) -> const PairFst& {
    return a > b ? result.pairs[a * (a - 1) / 2 + b] : result.pairs[b * (b - 1) / 2 + a];
  };
  for (std::size_t a = 0; a < P; ++a) {
    std::vector<std::string> row{populations[result.used[a]].name};
    for (std::size_t b = 0; b < P; ++b) {
      if (a == b) row.push_back("-");
      else if (a > b) row.push_back(ValueText(pair(a, b).values.fst));
      else row.push_back(permutations == 0 ? std::string("-") : ValueText(pair(a, b).p));
    }
    matrix.rows.push_back(row);
  }
  std::vector<std::string> notes = {"Pairwise F_ST below the diagonal, its permutation p above."};
  std::vector<std::string> names;
  std::vector<Real> p;
  for (std::size_t a = 1; a < P; ++a) {
    for (std::size_t b = 0; b < a; ++b) {
      const std::string name = populations[result.used[b]].name + " - " + populations[result.used[a]].name;
      if (!pair(a, b).values.defined) notes.push_back(name + ": F_ST undefined: no locus estimated in both, or Ht = 0.");
      names.push_back(name);
      p.push_back(pair(a, b).p);
    }
  }
  std::vector<TableBlock> blocks = {TableBlock{matrix, matrix, notes}};
  if (permutations > 0) {
    ResultTable list = CorrectedPTable("Pair", names, p);
    const std::string family = AppendCorrectedPColumns(list, p);
    blocks.push_back(TableBlock{list, list, {"Pairwise F_ST's permutation p. " + family}});
  }
  return blocks;
}

void BandFst1Click(TMainPrg& app) {
  const PopulationRun run(app, app.dialogs.bandFst, 2);
  if (!run.Ready()) return;
  const auto& choices = run.Chosen();
  const std::vector<PopulationMembers>& populations = run.Members();
  Workspace& ws = app.ws;
  const std::size_t pairCount = populations.size() * (populations.size() - 1) / 2;
  app.Report("F_ST from Band Frequencies: " + Count(populations.size(), "population", "populations") + " at level " +
             std::to_string(choices.level) + " with " + std::to_string(choices.permutations) + " permutations");
  CommandProgress progress(app.host, "F_ST from Band Frequencies", "Permutation",
                           std::size_t(choices.permutations) * (1 + pairCount));
  const auto result = ComputeBandFst(ws.data, populations, choices.estimator, choices.permutations, ws.random,
                                     [&](std::size_t done) { return progress.Advance(done); });
  if (!app.Check(result)) return;
  if (result->cancelled) {
    app.Report("Cancelled: nothing was written.");
    return;
  }
  const FstComponents& c = result->overall;
  std::string summary = Count(populations.size(), "population", "populations") + ", " +
                        Count(c.loci, "locus", "loci") + " estimated in every population\r\n";
  summary += "F_ST = " + ValueText(c.fst) + " +/- " + ValueText(result->jackknifeSE);
  if (choices.permutations > 0) summary += ", p = " + ValueText(result->p);
  const auto answer = app.MessageQuery(summary + "\r\n\r\nWrite results to analysis file?", "F_ST from Band Frequencies",
                                       MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  const std::vector<std::string> heading = {
      "F_ST from band frequencies: " + Count(populations.size(), "population", "populations") + " of level " +
          std::to_string(choices.level) + ", " + Count(ws.data.locusCount, "locus", "loci") + ", " +
          std::to_string(choices.permutations) + " permutations",
      EstimatorLine(choices.estimator)};
  std::vector<TableBlock> blocks = {PopulationBlock(*result, choices.estimator),
                                    OverallBlock(*result, choices.permutations)};
  for (TableBlock& block : PairBlocks(populations, *result, choices.permutations)) blocks.push_back(std::move(block));
  WriteTables(app, choices.tableFile, heading, blocks,
              FstMethod(populations.size(), choices.level, choices.estimator, choices.permutations));
}

}  // namespace

void RegisterBandFstCommand(HandlerTable& table) { table["BandFst1Click"] = Plain(BandFst1Click); }

}  // namespace vorn
