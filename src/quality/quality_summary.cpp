#include "quality/quality_summary.h"

#include <algorithm>

#include "core/number_format.h"

namespace vorn {
namespace {

ShareSpread SpreadOf(std::vector<Real> shares) {
  std::sort(shares.begin(), shares.end());
  const std::size_t n = shares.size();
  const Real median = n % 2 == 1 ? shares[n / 2] : (shares[n / 2 - 1] + shares[n / 2]) / 2;
  return {shares.front(), median, shares.back()};
}

std::string CountText(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& parts) {
  std::string text;
  for (std::size_t k = 0; k < parts.size(); ++k) {
    if (k > 0) text += k + 1 == parts.size() ? " and " : ", ";
    text += parts[k];
  }
  return text;
}

// "Of 40 loci, 2 with >5% error rate and 1 monomorphic loci were removed, leaving 37."
std::string RemovalSentence(const std::vector<const FilterStep*>& removals, std::size_t MatrixCounts::*count,
                            const char* one, const char* many) {
  std::vector<std::string> parts;
  std::size_t removed = 0;
  for (const FilterStep* step : removals) {
    const std::size_t gone = step->before.*count - step->after.*count;
    parts.push_back(std::to_string(gone) + " " + step->phrase);
    removed += gone;
  }
  const std::size_t from = removals.front()->before.*count;
  return "Of " + CountText(from, one, many) + ", " + Listed(parts) + (removed == 1 ? " was" : " were") +
         " removed, leaving " + std::to_string(from - removed) + ".";
}

// "The data matrix held 20 individuals and 40 loci with 3.13 % missing scores."
std::string MatrixSentence(const std::string& opening, const MatrixCounts& counts) {
  const std::size_t scores = counts.individuals * counts.loci;
  const Real share = scores == 0 ? Real{0} : static_cast<Real>(counts.missing) / static_cast<Real>(scores);
  return opening + CountText(counts.individuals, "individual", "individuals") + " and " +
         CountText(counts.loci, "locus", "loci") + " with " + PercentText(share) + " missing scores.";
}

std::string Change(std::size_t before, std::size_t after) {
  return before == after ? std::to_string(after) : std::to_string(before) + " -> " + std::to_string(after);
}

}  // namespace

ResultTable FilterStepTable(const FilterLog& log) {
  ResultTable table;
  table.rows.push_back({"Step", "Individuals", "Loci", "Missing scores"});
  table.rows.push_back({"As loaded", std::to_string(log.loaded.individuals), std::to_string(log.loaded.loci),
                        std::to_string(log.loaded.missing)});
  for (const FilterStep& step : log.steps) {
    table.rows.push_back({step.text, Change(step.before.individuals, step.after.individuals),
                          Change(step.before.loci, step.after.loci), Change(step.before.missing, step.after.missing)});
  }
  return table;
}

MissingShares MissingSharesOf(const DataMatrix& matrix) {
  MissingShares shares;
  shares.counts = CountsOf(matrix);
  shares.overall = static_cast<Real>(shares.counts.missing) / static_cast<Real>(matrix.CellCount());
  std::vector<Real> individuals(matrix.individualCount), loci(matrix.locusCount);
  for (std::size_t i = 0; i < individuals.size(); ++i) individuals[i] = matrix.IndividualMissingShare(i);
  for (std::size_t l = 0; l < loci.size(); ++l) loci[l] = matrix.LocusMissingShare(l);
  shares.individuals = SpreadOf(std::move(individuals));
  shares.loci = SpreadOf(std::move(loci));
  return shares;
}

std::string PercentText(Real share) { return FormatFixed(100 * share, 2) + " %"; }

std::vector<std::string> MethodsSentences(const FilterLog& log, const MissingShares& now) {
  std::size_t first = 0;
  for (std::size_t k = 0; k < log.steps.size(); ++k) {
    if (log.steps[k].kind == FilterStepKind::Restore) first = k + 1;
  }
  std::vector<const FilterStep*> locusRemovals, individualRemovals, others;
  for (std::size_t k = first; k < log.steps.size(); ++k) {
    const FilterStep& step = log.steps[k];
    if (step.kind == FilterStepKind::Removal && step.after.loci < step.before.loci) locusRemovals.push_back(&step);
    else if (step.kind == FilterStepKind::Removal && step.after.individuals < step.before.individuals) individualRemovals.push_back(&step);
    else if (step.kind != FilterStepKind::Removal && step.kind != FilterStepKind::Selection) others.push_back(&step);
  }
  // Only the selection the data are left with tells what the analyses used.
  for (std::size_t k = log.steps.size(); k > first; --k) {
    if (log.steps[k - 1].kind != FilterStepKind::Selection) continue;
    if (!log.steps[k - 1].phrase.empty()) others.push_back(&log.steps[k - 1]);
    break;
  }
  std::vector<std::string> sentences;
  sentences.push_back(MatrixSentence("The data matrix held ", first == 0 ? log.loaded : log.steps[first - 1].after));
  if (!locusRemovals.empty()) sentences.push_back(RemovalSentence(locusRemovals, &MatrixCounts::loci, "locus", "loci"));
  if (!individualRemovals.empty()) {
    sentences.push_back(RemovalSentence(individualRemovals, &MatrixCounts::individuals, "individual", "individuals"));
  }
  for (const FilterStep* step : others) sentences.push_back(step->phrase);
  if (log.errorRate) {
    const LoggedErrorRate& rate = *log.errorRate;
    sentences.push_back("The genotyping error rate from " + CountText(rate.pairs, "pair", "pairs") +
                        " of replicate samples was " + PercentText(rate.rate) + " (" +
                        std::to_string(rate.mismatches) + " mismatches in " + std::to_string(rate.comparisons) +
                        " comparisons; Bonin et al. 2004).");
  }
  sentences.push_back(MatrixSentence("The final matrix holds ", now.counts));
  return sentences;
}

}  // namespace vorn
