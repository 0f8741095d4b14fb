// Population structure timings on the files bench/numpy_admixture_em.py simulates:
//   vorn_structure_bench fit FOLDER TOLERANCE   one fit of the start in FOLDER (as the numpy peer)
//   vorn_structure_bench runs FOLDER KMAX RUNS FOLDS   K = 1..KMAX x RUNS with FOLDS-fold CV
// Prints wall time, iterations and the log-likelihoods reached; fit writes the fitted q and r to
// FOLDER/vorn_q.txt, vorn_r.txt, and runs, when FOLDER holds true_q.txt (K columns), the K chosen
// by dK and by cross-validation, the mean absolute error of the best run's q at that K against
// the true q (labels aligned) and that run's q and r into vorn_q.txt, vorn_r.txt, for the numpy
// peer to evaluate. OMP_NUM_THREADS chooses the cores.
#include <chrono>
#include <cmath>
#include <optional>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "clustering/run_alignment.h"
#include "clustering/structure_runs.h"

namespace {

using Clock = std::chrono::steady_clock;

vorn::ScoreTable ReadScores(const std::string& folder) {
  vorn::ScoreTable table;
  std::ifstream in(folder + "/scores.txt");
  for (std::string line; std::getline(in, line);) {
    table.loci = line.size();
    for (char c : line) table.scores.push_back(static_cast<std::uint8_t>(c - '0'));
    ++table.individuals;
  }
  return table;
}

std::vector<double> ReadReals(const std::string& path) {
  std::ifstream in(path);
  std::vector<double> values;
  for (double x; in >> x;) values.push_back(x);
  return values;
}

void WriteReals(const std::string& path, const std::vector<double>& values, std::size_t k) {
  std::FILE* out = std::fopen(path.c_str(), "w");
  for (std::size_t j = 0; j < values.size(); ++j) std::fprintf(out, "%.17g%c", values[j], (j + 1) % k ? ' ' : '\n');
  std::fclose(out);
}

void WriteParameters(const std::string& folder, const vorn::AdmixtureParameters& p) {
  WriteReals(folder + "/vorn_q.txt", p.q, p.clusters);
  WriteReals(folder + "/vorn_r.txt", p.r, p.clusters);
}

double Seconds(Clock::time_point begin) { return std::chrono::duration<double>(Clock::now() - begin).count(); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: vorn_structure_bench fit FOLDER TOLERANCE | runs FOLDER KMAX RUNS FOLDS\n";
    return 2;
  }
  const std::string mode = argv[1], folder = argv[2];
  const vorn::ScoreTable table = ReadScores(folder);
  if (mode == "fit") {
    vorn::AdmixtureParameters start;
    start.q = ReadReals(folder + "/start_q.txt");
    start.r = ReadReals(folder + "/start_r.txt");
    start.clusters = start.q.size() / table.individuals;
    vorn::FitSettings settings;
    settings.tolerance = std::stod(argv[3]);
    settings.maxIterations = 100000;
    const auto begin = Clock::now();
    const vorn::AdmixtureFit fit = vorn::FitAdmixture(table, start, settings);
    std::printf("Vorn block relaxation: %.3f s, %zu iterations, lnL %.6f%s\n", Seconds(begin), fit.iterations, fit.logLikelihood,
                fit.converged ? "" : " (not converged)");
    WriteParameters(folder, fit.parameters);
    return 0;
  }
  if (argc < 6) return 2;
  vorn::StructureSettings settings;
  settings.maxClusters = std::stoul(argv[3]);
  settings.runs = std::stoul(argv[4]);
  settings.folds = std::stoul(argv[5]);
  vorn::RandomGenerator random;
  random.Seed(1);
  const auto begin = Clock::now();
  const auto result = vorn::AnalyseStructure(table, settings, random);
  if (!result) {
    std::cerr << result.error() << "\n";
    return 1;
  }
  std::printf("Vorn %zu x %zu, K = 1..%zu x %zu runs, %zu-fold CV: %.3f s\n", table.individuals, table.loci,
              settings.maxClusters, settings.runs, settings.folds, Seconds(begin));
  for (const auto& solutions : result->perK) {
    std::printf("  K = %zu: best lnL %.6f, %zu of %zu runs at best, CV error %.6f\n", solutions.clusters,
                solutions.runs[solutions.best].logLikelihood, solutions.runsAtBest, solutions.runs.size(),
                solutions.validationError);
    std::printf("    iterations of the runs:");
    for (const auto& run : solutions.runs) std::printf(" %zu%s", run.iterations, run.converged ? "" : "*");
    std::printf("\n");
  }
  const auto named = [&](const std::optional<std::size_t>& j) {
    return j ? std::to_string(result->perK[*j].clusters) : std::string("none");
  };
  std::printf("  largest dK at K = %s, lowest cross-validation error at K = %s\n", named(result->deltaChoice).c_str(),
              named(result->validationChoice).c_str());
  for (const auto& row : result->evanno) {
    std::printf("  dK %s", row.deltaK ? std::to_string(*row.deltaK).c_str() : ("undefined (" + row.undefinedBecause + ")").c_str());
  }
  std::printf("\n");
  const std::vector<double> truth = ReadReals(folder + "/true_q.txt");
  const std::size_t k = truth.size() / table.individuals;
  if (k == 0 || k < settings.minClusters || k > settings.maxClusters) return 0;
  const vorn::ClusterSolutions& solutions = result->perK[k - settings.minClusters];
  const vorn::AdmixtureParameters& best = solutions.runs[solutions.best].parameters;
  const std::vector<double> aligned = vorn::Relabelled(best.q, k, vorn::BestRelabelling(truth, best.q, k));
  double error = 0;
  for (std::size_t j = 0; j < truth.size(); ++j) error += std::fabs(aligned[j] - truth[j]);
  std::printf("  K = %zu, best run: mean |q - true q| %.6f, lnL %.6f\n", k, error / double(truth.size()),
              solutions.runs[solutions.best].logLikelihood);
  WriteParameters(folder, best);
  return 0;
}
