#include "clustering/admixture_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "clustering/block_sums.h"
#include "clustering/newton_step.h"

namespace vorn {
namespace {

// Cells times clusters below which a block sweep runs on one thread.
constexpr double kParallelWork = double(1 << 16);
// Halvings of a block's Newton step before the block is left as it is.
constexpr int kHalvings = 12;
// Halvings of the quasi-Newton extrapolation towards the second iteration's point.
constexpr int kJumpHalvings = 3;

// The scores as block codes (+1 no band, -1 band, 0 missing), both ways round, and the
// parameters cluster-major: x holds Q (row k: the individuals' q_k, padded) and then R (row k:
// the loci's r_k, padded), the vector the acceleration works on.
struct Layout {
  std::size_t n = 0, loci = 0, k = 0, nPad = 0, lociPad = 0;
  BandModel model = BandModel::DiploidDominant;
  std::vector<std::int8_t> byIndividual;  // n rows of lociPad
  std::vector<std::int8_t> byLocus;       // loci rows of nPad

  std::size_t RStart() const { return k * nPad; }
  std::size_t Size() const { return k * (nPad + lociPad); }
  bool Parallel() const { return double(n) * double(loci) * double(k) >= kParallelWork; }

  BlockCells Individual(const std::vector<double>& x, std::size_t i) const {
    return {byIndividual.data() + i * lociPad, x.data() + RStart(), lociPad, k, model};
  }
  BlockCells Locus(const std::vector<double>& x, std::size_t l) const {
    return {byLocus.data() + l * nPad, x.data(), nPad, k, model};
  }
};

std::int8_t CodeOf(std::uint8_t score) { return score == kNoBand ? 1 : score == kBand ? -1 : 0; }

Layout MakeLayout(const ScoreTable& table, std::size_t k, BandModel model) {
  Layout layout;
  layout.n = table.individuals, layout.loci = table.loci, layout.k = k, layout.model = model;
  layout.nPad = PaddedCells(layout.n), layout.lociPad = PaddedCells(layout.loci);
  layout.byIndividual.assign(layout.n * layout.lociPad, 0);
  layout.byLocus.assign(layout.loci * layout.nPad, 0);
  for (std::size_t i = 0; i < layout.n; ++i) {
    const std::uint8_t* row = table.Row(i);
    for (std::size_t l = 0; l < layout.loci; ++l) {
      const std::int8_t code = CodeOf(row[l]);
      layout.byIndividual[i * layout.lociPad + l] = code;
      layout.byLocus[l * layout.nPad + i] = code;
    }
  }
  return layout;
}

std::vector<double> ToWorking(const Layout& layout, const AdmixtureParameters& p) {
  std::vector<double> x(layout.Size(), 0.0);
  for (std::size_t i = 0; i < layout.n; ++i) {
    for (std::size_t c = 0; c < layout.k; ++c) x[c * layout.nPad + i] = p.q[i * layout.k + c];
  }
  for (std::size_t l = 0; l < layout.loci; ++l) {
    for (std::size_t c = 0; c < layout.k; ++c) x[layout.RStart() + c * layout.lociPad + l] = p.r[l * layout.k + c];
  }
  return x;
}

AdmixtureParameters FromWorking(const Layout& layout, const std::vector<double>& x) {
  AdmixtureParameters p{layout.k, std::vector<double>(layout.n * layout.k), std::vector<double>(layout.loci * layout.k)};
  for (std::size_t i = 0; i < layout.n; ++i) {
    for (std::size_t c = 0; c < layout.k; ++c) p.q[i * layout.k + c] = x[c * layout.nPad + i];
  }
  for (std::size_t l = 0; l < layout.loci; ++l) {
    for (std::size_t c = 0; c < layout.k; ++c) p.r[l * layout.k + c] = x[layout.RStart() + c * layout.lociPad + l];
  }
  return p;
}

// The entries of block j (stride apart, from first) of x.
struct Entries {
  double* first;
  std::size_t stride;
  double& operator[](std::size_t c) const { return first[c * stride]; }
};

// One block's Newton step with step halving: its entries updated when a step gains; the block's
// ln L at the entries it keeps.
double UpdateBlock(const BlockCells& cells, Entries entries, const NewtonBox& box, double negligible) {
  const std::size_t k = cells.clusters;
  std::vector<double> room(k * k + 4 * k);
  double *x = room.data(), *gradient = x + k, *step = gradient + k, *trial = step + k, *hessian = trial + k;
  for (std::size_t c = 0; c < k; ++c) x[c] = entries[c];
  const double before = BlockDerivatives(cells, x, gradient, hessian);
  if (!(ConstrainedNewtonStep(k, x, gradient, hessian, box, step) > negligible)) return before;
  double length = 1;
  for (int halving = 0; halving <= kHalvings; ++halving, length /= 2) {
    for (std::size_t c = 0; c < k; ++c) trial[c] = std::clamp(x[c] + length * step[c], box.lower, box.upper);
    const double after = BlockValue(cells, trial);
    if (after > before) {
      for (std::size_t c = 0; c < k; ++c) entries[c] = trial[c];
      return after;
    }
  }
  return before;
}

double SumInOrder(const std::vector<double>& parts) {
  double sum = 0;
  for (double part : parts) sum += part;
  return sum;
}

// One block-relaxation iteration: Q, then R; ln L at the parameters it leaves.
double Iterate(const Layout& layout, std::vector<double>& x, double negligible) {
  const std::size_t n = layout.n, loci = layout.loci;
  if (layout.k > 1) {
    const NewtonBox simplex{kBound, 1 - kBound, true};
#pragma omp parallel for schedule(dynamic, 8) if (layout.Parallel())
    for (std::size_t i = 0; i < n; ++i) {
      UpdateBlock(layout.Individual(x, i), {x.data() + i, layout.nPad}, simplex, negligible);
    }
  }
  std::vector<double> values(loci);
  const NewtonBox box{kBound, 1 - kBound, false};
#pragma omp parallel for schedule(dynamic, 32) if (layout.Parallel())
  for (std::size_t l = 0; l < loci; ++l) {
    values[l] = UpdateBlock(layout.Locus(x, l), {x.data() + layout.RStart() + l, layout.lociPad}, box, negligible);
  }
  return SumInOrder(values);
}

double LogLikelihood(const Layout& layout, const std::vector<double>& x) {
  std::vector<double> values(layout.n), q(layout.k);
#pragma omp parallel for schedule(dynamic, 8) if (layout.Parallel()) firstprivate(q)
  for (std::size_t i = 0; i < layout.n; ++i) {
    for (std::size_t c = 0; c < layout.k; ++c) q[c] = x[c * layout.nPad + i];
    values[i] = BlockValue(layout.Individual(x, i), q.data());
  }
  return SumInOrder(values);
}

// x within the bounds, each individual's q scaled to sum 1.
void BoundWorking(const Layout& layout, std::vector<double>& x) {
  for (std::size_t c = 0; c < layout.k; ++c) {
    double* r = x.data() + layout.RStart() + c * layout.lociPad;
    for (std::size_t l = 0; l < layout.loci; ++l) r[l] = std::clamp(r[l], kBound, 1 - kBound);
  }
  for (std::size_t i = 0; i < layout.n; ++i) {
    double sum = 0;
    for (std::size_t c = 0; c < layout.k; ++c) sum += x[c * layout.nPad + i] = std::max(x[c * layout.nPad + i], kBound);
    for (std::size_t c = 0; c < layout.k; ++c) x[c * layout.nPad + i] /= sum;
  }
}

double Dot(const std::vector<double>& a, const std::vector<double>& b) {
  double sum = 0;
  for (std::size_t j = 0; j < a.size(); ++j) sum += a[j] * b[j];
  return sum;
}

// The secant pairs u = F(x) - x, v = F(F(x)) - F(x) of the last kSecants cycles, newest last.
struct Secants {
  std::vector<std::vector<double>> u, v;

  void Add(const std::vector<double>& x0, const std::vector<double>& x1, const std::vector<double>& x2) {
    if (u.size() == kSecants) u.erase(u.begin()), v.erase(v.begin());
    u.emplace_back(x1.size()), v.emplace_back(x1.size());
    for (std::size_t j = 0; j < x1.size(); ++j) u.back()[j] = x1[j] - x0[j], v.back()[j] = x2[j] - x1[j];
  }

  // The quasi-Newton point F(x) + V (U'U - U'V)^-1 U'u from x1 = F(x), u the newest pair's;
  // nothing when the system is singular.
  bool Extrapolate(const std::vector<double>& x1, std::vector<double>& out) const {
    const std::size_t m = u.size();
    std::vector<double> system(m * m), right(m);
    for (std::size_t a = 0; a < m; ++a) {
      right[a] = Dot(u[a], u.back());
      for (std::size_t b = 0; b < m; ++b) system[a * m + b] = Dot(u[a], u[b]) - Dot(u[a], v[b]);
    }
    if (!SolveLinear(m, system, right)) return false;
    out = x1;
    for (std::size_t b = 0; b < m; ++b) {
      if (!std::isfinite(right[b])) return false;
      for (std::size_t j = 0; j < out.size(); ++j) out[j] += right[b] * v[b][j];
    }
    return true;
  }
};

}  // namespace

void Bound(AdmixtureParameters& parameters) {
  for (double& r : parameters.r) r = std::clamp(r, kBound, 1 - kBound);
  const std::size_t k = parameters.clusters;
  for (std::size_t i = 0; i + k <= parameters.q.size(); i += k) {
    double* q = parameters.q.data() + i;
    double sum = 0;
    for (std::size_t c = 0; c < k; ++c) sum += q[c] = std::max(q[c], kBound);
    for (std::size_t c = 0; c < k; ++c) q[c] /= sum;
  }
}

double AdmixtureLogLikelihood(const ScoreTable& table, const AdmixtureParameters& parameters, BandModel model) {
  const std::size_t k = parameters.clusters;
  double sum = 0;
  for (std::size_t i = 0; i < table.individuals; ++i) {
    for (std::size_t l = 0; l < table.loci; ++l) {
      const std::uint8_t score = table.At(i, l);
      if (score == kUnscored) continue;
      double f = 0;
      for (std::size_t c = 0; c < k; ++c) f += parameters.q[i * k + c] * parameters.r[l * k + c];
      sum += BandLogLikelihood(score == kBand, f, model);
    }
  }
  return sum;
}

AdmixtureFit FitAdmixture(const ScoreTable& table, AdmixtureParameters start, const FitSettings& settings,
                          const std::function<bool()>& keepGoing) {
  Bound(start);
  const Layout layout = MakeLayout(table, start.clusters, settings.model);
  // A block step the quadratic model expects to gain less than this is not taken: all blocks
  // together then stay far below the tolerance.
  const double negligible = settings.tolerance * 1e-6;
  std::vector<double> x0 = ToWorking(layout, start), x1, x2, jump;
  double logLikelihood = LogLikelihood(layout, x0);
  Secants secants;
  std::size_t iterations = 0;
  while (iterations + 2 <= settings.maxIterations && (!keepGoing || keepGoing())) {
    x1 = x0;
    Iterate(layout, x1, negligible);
    x2 = x1;
    double next = Iterate(layout, x2, negligible);
    iterations += 2;
    secants.Add(x0, x1, x2);
    if (secants.Extrapolate(x1, jump)) {
      // The extrapolation, then points halfway back towards x2, while they lose against x2.
      const std::vector<double> full = std::move(jump);
      double length = 1;
      for (int halving = 0; halving <= kJumpHalvings; ++halving, length /= 2) {
        jump.resize(full.size());
        for (std::size_t j = 0; j < full.size(); ++j) jump[j] = x2[j] + length * (full[j] - x2[j]);
        BoundWorking(layout, jump);
        const double jumped = LogLikelihood(layout, jump);
        if (jumped >= next) {
          std::swap(x2, jump);
          next = jumped;
          break;
        }
      }
    }
    const double gain = next - logLikelihood;
    std::swap(x0, x2);
    logLikelihood = next;
    if (gain < settings.tolerance) return {FromWorking(layout, x0), logLikelihood, iterations, true};
  }
  return {FromWorking(layout, x0), logLikelihood, iterations, false};
}

}  // namespace vorn
