// The Mantel test of 2000 individuals with 999 permutations: random genetic distances against the
// Euclidean distances of random points, both computed once outside the timing, as vegan's mantel
// takes them. bench/run_mantel_bench.sh runs vegan on the same shape in the same run.
// OMP_NUM_THREADS=1 or 2 chooses the cores.
#include <benchmark/benchmark.h>

#include <random>

#include "population/geographic_distance.h"
#include "population/mantel_test.h"

namespace {

constexpr std::size_t kIndividuals = 2000;

void BM_MantelTest(benchmark::State& state) {
  std::mt19937 engine(9);
  std::uniform_real_distribution<double> uniform(0, 1);
  std::vector<vorn::CoordinatePoint> points(kIndividuals);
  for (auto& point : points) point = {uniform(engine) * 100, uniform(engine) * 100};
  const std::vector<vorn::Real> geographic = vorn::GeographicDistances(points, vorn::CoordinateKind::Planar, false);
  std::vector<vorn::Real> genetic;
  for (vorn::Real d : geographic) genetic.push_back(d / 150 + uniform(engine));
  vorn::RandomGenerator random;
  random.Seed(1);
  for (auto _ : state) {
    auto result = vorn::MantelTest(genetic, geographic, kIndividuals, "genetic", "geographic", 999, random);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_MantelTest)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
