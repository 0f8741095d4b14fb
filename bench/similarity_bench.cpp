// Similarity matrices of realistic size: N = 500 and 2000 individuals by 1000 loci with 10%
// missing scores, under each treatment (Average with JC = 100); the Standard Jaccard matrix of
// complete data, to hold against scipy.spatial.distance.pdist(metric='jaccard') (see
// bench/scipy_jaccard.py); the Standard Jaccard distances of a bootstrap sample of the loci, as
// each bootstrap tree needs them (also of 2000 and 5000 individuals by 20000 loci); and the whole
// Standard Similarity command, matrix text included.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

#include "commands/all_commands.h"
#include "similarity/average_similarity.h"
#include "similarity/similarity_matrix.h"
#include "similarity/weighted_scores.h"

namespace {

using vorn::DataMatrix;
using vorn::SimilarityMode;

constexpr std::size_t kLoci = 1000;

DataMatrix MakeData(std::size_t individuals, double missingShare, std::size_t loci = kLoci) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> uniform(0, 1);
  DataMatrix data;
  data.individualCount = static_cast<std::uint16_t>(individuals);
  data.locusCount = static_cast<std::uint16_t>(loci);
  data.cells.resize(individuals * loci);
  for (auto& cell : data.cells) {
    cell = uniform(random) < missingShare ? vorn::Missing : uniform(random) < 0.5 ? vorn::Presence : vorn::Absence;
  }
  data.individualLabels = vorn::MakeDefaultIndividualLabels(individuals);
  data.locusLabels = vorn::MakeDefaultLocusLabels(loci);
  return data;
}

void Fill(benchmark::State& state, SimilarityMode mode, double missingShare) {
  const DataMatrix data = MakeData(static_cast<std::size_t>(state.range(0)), missingShare);
  const vorn::SimilaritySettings settings;  // Jaccard
  for (auto _ : state) {
    auto fill = vorn::BuildSimilarityMatrix(data, mode, settings);
    benchmark::DoNotOptimize(fill);
  }
  state.counters["pairs/s"] = benchmark::Counter(
      static_cast<double>(vorn::TriangleSize(data.individualCount)) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}

void BM_StandardMatrix(benchmark::State& state) { Fill(state, SimilarityMode::Standard, 0.1); }
void BM_MinimumMatrix(benchmark::State& state) { Fill(state, SimilarityMode::Minimum, 0.1); }
void BM_MaximumMatrix(benchmark::State& state) { Fill(state, SimilarityMode::Maximum, 0.1); }
// Complete data, as SciPy's Jaccard takes them.
void BM_StandardJaccardCompleteData(benchmark::State& state) { Fill(state, SimilarityMode::Standard, 0); }

// The Average command's computation: both bound matrices, then JC = 100 accepted draws per entry.
void BM_AverageMatrix(benchmark::State& state) {
  const DataMatrix data = MakeData(static_cast<std::size_t>(state.range(0)), 0.1);
  const vorn::SimilaritySettings settings;
  vorn::RandomGenerator random;
  random.Seed(1);
  for (auto _ : state) {
    auto minimum = vorn::BuildSimilarityMatrix(data, SimilarityMode::Minimum, settings);
    auto maximum = vorn::BuildSimilarityMatrix(data, SimilarityMode::Maximum, settings);
    vorn::DistanceMatrix mean, variance, deviation;
    auto done = vorn::AverageMatrix(minimum->matrix, maximum->matrix, settings.coefficient, 100, random, mean,
                                    &variance, &deviation);
    benchmark::DoNotOptimize(done);
  }
}

// A host that answers nothing: the command writes a new analysis file each time.
class QuietHost : public vorn::Host {
 public:
  vorn::MessageAnswer ShowMessage(std::string_view, std::string_view, vorn::MessageButtons) override {
    return vorn::MessageAnswer::Ok;
  }
  std::optional<std::string> ChooseOpenFile(const vorn::FileDialogOptions&) override { return std::nullopt; }
  std::optional<std::string> ChooseSaveFile(const vorn::FileDialogOptions&) override { return std::nullopt; }
  bool ShowDialog(vorn::DialogForm&) override { return true; }
  bool ShowGroupManager(vorn::GroupManagerView&) override { return false; }
  void Reported(std::string_view, const vorn::StatusHistory&) override {}
  void MenuChanged() override {}
  bool OpenDocument(const std::string&) override { return false; }
  std::string DateText() override { return ""; }
  std::string TimeText() override { return ""; }
  void Quit() override {}
};

// Analysis > Standard Similarity as a user runs it: the matrix, then its text in the analysis file.
void BM_StandardSimilarityCommand(benchmark::State& state) {
  QuietHost host;
  vorn::TMainPrg app(host, vorn::AllCommands());
  app.ws.InstallLoadedMatrix(MakeData(static_cast<std::size_t>(state.range(0)), 0.1));
  app.ws.files.analysis = "/tmp/vorn-bench-analysis.txt";
  const vorn::MenuItem& command = *vorn::FindByHandler(app.menu, "Jaccard1Click");
  for (auto _ : state) {
    state.PauseTiming();
    std::remove(app.ws.files.analysis.c_str());
    state.ResumeTiming();
    app.Run(command);
  }
  std::remove(app.ws.files.analysis.c_str());
}

// The scores, drawn and weighted, are built in each round, as each bootstrap tree builds them.
void BootstrapDistances(benchmark::State& state, double missingShare, std::size_t loci) {
  const DataMatrix data = MakeData(static_cast<std::size_t>(state.range(0)), missingShare, loci);
  std::mt19937 random(11);
  std::vector<std::uint32_t> drawn(loci);
  for (auto& locus : drawn) locus = static_cast<std::uint32_t>(random() % loci);
  for (auto _ : state) {
    const vorn::WeightedScores scores(data, drawn);
    auto fill = vorn::BuildSimilarityMatrix(scores, SimilarityMode::Standard, vorn::SimilarityCoefficient::Jaccard, 1,
                                            vorn::DistanceTransformation::OneMinusS);
    benchmark::DoNotOptimize(fill);
  }
}

// One bootstrap sample of a DArT-sized matrix: 20000 loci, 5 % missing (processor time: run with
// OMP_NUM_THREADS=1 for one core's, as each replicate of a bootstrap run takes one).
void BM_BootstrapDartDistances(benchmark::State& state) { BootstrapDistances(state, 0.05, 20000); }

void BM_BootstrapStandardDistances(benchmark::State& state) {
  const DataMatrix data = MakeData(static_cast<std::size_t>(state.range(0)), 0.1);
  std::mt19937 random(11);
  std::vector<std::uint32_t> drawn(kLoci);
  for (auto& locus : drawn) locus = static_cast<std::uint32_t>(random() % kLoci);
  const vorn::WeightedScores scores(data, drawn);
  for (auto _ : state) {
    auto fill = vorn::BuildSimilarityMatrix(scores, SimilarityMode::Standard, vorn::SimilarityCoefficient::Jaccard, 1,
                                            vorn::DistanceTransformation::OneMinusS);
    benchmark::DoNotOptimize(fill);
  }
}

#define VORN_SIZES ->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime()
BENCHMARK(BM_StandardMatrix) VORN_SIZES;
BENCHMARK(BM_MinimumMatrix) VORN_SIZES;
BENCHMARK(BM_MaximumMatrix) VORN_SIZES;
BENCHMARK(BM_AverageMatrix) VORN_SIZES;
BENCHMARK(BM_StandardJaccardCompleteData) VORN_SIZES;
BENCHMARK(BM_StandardSimilarityCommand) VORN_SIZES;
BENCHMARK(BM_BootstrapStandardDistances) VORN_SIZES;
BENCHMARK(BM_BootstrapDartDistances)->Arg(2000)->Arg(5000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
