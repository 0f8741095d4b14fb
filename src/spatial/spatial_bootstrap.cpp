// The bootstrap kernel: the pairs of each class laid out one class after another, each with its
// numerator term c_ij beside its denominator term c_ii + c_jj, so that a drawn pair costs one
// load of 16 bytes from its class's block. The draws are made a chunk at a time, and each sum is
// kept in four parts (within a chunk draw t into part t mod 4, the chunk's tail into the first),
// added up in a fixed order, so that neither the generator nor the additions wait on the
// previous draw.
#include <algorithm>
#include <cmath>
#include <limits>

#include "spatial/spatial_resampling.h"

namespace vorn {
namespace {

constexpr double kParallelWork = double(1 << 20);
constexpr double kRoundWork = double(1 << 25);

constexpr std::size_t kChunk = 512;

struct Terms {
  double numerator, denominator;
};

struct ClassPairs {
  std::vector<std::size_t> start;  // class h at [start[h], start[h + 1])
  std::vector<Terms> terms;
};

// r of one bootstrap of the m pairs at terms.
double BootstrapOnce(const Terms* terms, std::uint32_t m, RandomGenerator& draw) {
  std::uint32_t drawn[kChunk];
  double n0 = 0, n1 = 0, n2 = 0, n3 = 0, d0 = 0, d1 = 0, d2 = 0, d3 = 0;
  for (std::uint32_t done = 0; done < m;) {
    // Whole chunks of kChunk draws, so that draw t always goes to part t mod 4.
    const std::uint32_t size = std::min<std::uint32_t>(kChunk, m - done);
    draw.FillBelow(m, drawn, size);
    std::uint32_t t = 0;
    for (; t + 4 <= size; t += 4) {
      const Terms &a = terms[drawn[t]], &b = terms[drawn[t + 1]], &c = terms[drawn[t + 2]], &d = terms[drawn[t + 3]];
      n0 += a.numerator, d0 += a.denominator;
      n1 += b.numerator, d1 += b.denominator;
      n2 += c.numerator, d2 += c.denominator;
      n3 += d.numerator, d3 += d.denominator;
    }
    for (; t < size; ++t) n0 += terms[drawn[t]].numerator, d0 += terms[drawn[t]].denominator;
    done += size;
  }
  const double numerator = (n0 + n1) + (n2 + n3), denominator = (d0 + d1) + (d2 + d3);
  return denominator != 0 ? 2 * numerator / denominator : std::numeric_limits<double>::quiet_NaN();
}

ClassPairs LayOut(const SpatialCovariance& covariance, const DistanceClasses& classes) {
  const std::size_t count = classes.Count();
  ClassPairs pairs;
  pairs.start.assign(count + 1, 0);
  for (std::size_t h = 0; h < count; ++h) pairs.start[h + 1] = pairs.start[h] + classes.pairs[h];
  pairs.terms.resize(pairs.start[count]);
  std::vector<std::size_t> next(pairs.start.begin(), pairs.start.end() - 1);
  for (std::size_t i = 1, k = 0; i < covariance.n; ++i) {
    for (std::size_t j = 0; j < i; ++j, ++k) {
      const std::uint8_t h = classes.classOf[k];
      if (h == kNoClass) continue;
      pairs.terms[next[h]++] = {static_cast<double>(covariance.lower[k]),
                                static_cast<double>(covariance.diagonal[i] + covariance.diagonal[j])};
    }
  }
  return pairs;
}

}  // namespace

std::optional<std::vector<double>> BootstrapPairs(const SpatialCovariance& covariance, const DistanceClasses& classes,
                                                  std::int32_t bootstraps, const RandomGenerator& base,
                                                  const StepProgress& roundDone) {
  const ClassPairs pairs = LayOut(covariance, classes);
  const std::size_t count = classes.Count();
  const auto total = static_cast<std::uint64_t>(pairs.start[count]);
  const auto replicates = static_cast<std::size_t>(bootstraps);
  std::vector<double> r(count * replicates);
  const bool parallel = double(bootstraps) * double(total) >= kParallelWork;
  const auto round = static_cast<std::int64_t>(std::max(1.0, std::floor(kRoundWork / std::max(1.0, double(total)))));
  for (std::int64_t start = 0; start < bootstraps; start += round) {
    const std::int64_t end = std::min<std::int64_t>(start + round, bootstraps);
#pragma omp parallel for schedule(static) if (parallel)
    for (std::int64_t b = start; b < end; ++b) {
      KeepResponsive();
      RandomGenerator draw = base;
      draw.Skip(static_cast<std::uint64_t>(b) * total);
      for (std::size_t h = 0; h < count; ++h) {
        const auto m = static_cast<std::uint32_t>(pairs.start[h + 1] - pairs.start[h]);
        r[h * replicates + static_cast<std::size_t>(b)] = BootstrapOnce(pairs.terms.data() + pairs.start[h], m, draw);
      }
    }
    if (roundDone && !roundDone(static_cast<std::size_t>(end))) return std::nullopt;
  }
  return r;
}

}  // namespace vorn
