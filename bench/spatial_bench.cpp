// The spatial autocorrelation of 1000 individuals (200 loci, planar coordinates) in 10 classes of
// even width with 999 permutations and 999 bootstraps: the goal is well under 10 s.
// bench/run_spatial_bench.sh runs the numpy implementation of the same analysis beside it.
#include <benchmark/benchmark.h>

#include <random>

#include "population/geographic_distance.h"
#include "spatial/spatial_autocorrelation.h"

namespace {

struct Input {
  std::vector<vorn::Real> squared, geographic;
};

const Input& LargeInput() {
  static const Input input = [] {
    constexpr std::size_t n = 1000, loci = 200;
    std::mt19937 engine(3);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::vector<vorn::CoordinatePoint> points(n);
    for (auto& point : points) point = {uniform(engine) * 1000, uniform(engine) * 1000};
    std::vector<std::uint8_t> bands(n * loci);
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t l = 0; l < loci; ++l) bands[i * loci + l] = uniform(engine) < 0.3 + 0.4 * points[i].first / 1000;
    }
    Input made;
    for (std::size_t i = 1; i < n; ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        int differ = 0;
        for (std::size_t l = 0; l < loci; ++l) differ += bands[i * loci + l] != bands[j * loci + l];
        made.squared.push_back(differ);
      }
    }
    made.geographic = vorn::GeographicDistances(points, vorn::CoordinateKind::Planar, false);
    return made;
  }();
  return input;
}

// Arguments: permutations, bootstraps (the parts alone show where the time goes).
void BM_SpatialAutocorrelation1000(benchmark::State& state) {
  const Input& input = LargeInput();
  const auto classes = vorn::MakeDistanceClasses(input.geographic, {vorn::ClassRule::EvenWidths, 10, {}});
  vorn::RandomGenerator random;
  random.Seed(1);
  const auto permutations = static_cast<std::int32_t>(state.range(0));
  const auto bootstraps = static_cast<std::int32_t>(state.range(1));
  for (auto _ : state) {
    const auto result = vorn::AnalyseSpatialAutocorrelation(input.squared, 1000, *classes, permutations, bootstraps, random);
    benchmark::DoNotOptimize(result->classes.data());
  }
}
BENCHMARK(BM_SpatialAutocorrelation1000)->Args({999, 999})->Args({999, 0})->Args({0, 999})
    ->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
