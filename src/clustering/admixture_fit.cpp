#include "clustering/admixture_fit.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vorn {
namespace {

// Cells times clusters below which an EM step runs on one thread.
constexpr double kParallelWork = double(1 << 16);
// Probabilities multiplied before one logarithm: each is at least about kBound^2, so the
// product of this many stays far above the smallest double.
constexpr int kProductLength = 16;

struct Block {
  std::size_t first = 0, last = 0;  // individuals first .. last - 1
};

Block BlockOf(std::size_t b, std::size_t blocks, std::size_t n) { return {b * n / blocks, (b + 1) * n / blocks}; }

// One pass over the individuals of a block: their ln L, their updated q (into nextQ) and the
// block's expected no-band and all copies per locus and cluster (added into noBand, copies).
double ExpectBlock(const ScoreTable& table, const AdmixtureParameters& current, BandModel model, Block block,
                   double* nextQ, double* noBand, double* copies) {
  const std::size_t k = current.clusters, loci = table.loci;
  const double copyCount = CopyCount(model);
  const bool diploid = model == BandModel::DiploidDominant;
  std::vector<double> origin(k);
  double logLikelihood = 0;
  for (std::size_t i = block.first; i < block.last; ++i) {
    const std::uint8_t* row = table.Row(i);
    const double* q = current.q.data() + i * k;
    std::fill(origin.begin(), origin.end(), 0.0);
    double scoredCopies = 0, product = 1;
    int pending = 0;
    for (std::size_t l = 0; l < loci; ++l) {
      const std::uint8_t score = row[l];
      if (score == kUnscored) continue;
      const double* r = current.r.data() + l * k;
      double f = 0;
      for (std::size_t c = 0; c < k; ++c) f += q[c] * r[c];
      const double absent = AbsenceProbability(f, model);
      product *= score == kBand ? 1 - absent : absent;
      if (++pending == kProductLength) {
        logLikelihood += std::log(product);
        product = 1, pending = 0;
      }
      // Expected copies from cluster c: q_c r_c * noBandWeight carrying the no-band allele,
      // q_c (1 - r_c) * bandWeight carrying the band allele.
      double noBandWeight, bandWeight;
      if (score == kNoBand) {
        noBandWeight = copyCount / f, bandWeight = 0;
      } else if (diploid) {
        noBandWeight = 2 / (1 + f), bandWeight = 2 / (1 - f * f);
      } else {
        noBandWeight = 0, bandWeight = 1 / (1 - f);
      }
      double* locusNoBand = noBand + l * k;
      double* locusCopies = copies + l * k;
      for (std::size_t c = 0; c < k; ++c) {
        const double withoutBand = q[c] * r[c] * noBandWeight;
        const double both = withoutBand + q[c] * (1 - r[c]) * bandWeight;
        origin[c] += both;
        locusNoBand[c] += withoutBand;
        locusCopies[c] += both;
      }
      scoredCopies += copyCount;
    }
    logLikelihood += std::log(product);
    double* next = nextQ + i * k;
    for (std::size_t c = 0; c < k; ++c) next[c] = scoredCopies > 0 ? origin[c] / scoredCopies : q[c];
  }
  return logLikelihood;
}

// SQUAREM's step (scheme S3) from theta0 through the two EM steps theta1 and theta2, bounded.
// With a step length of -1 the extrapolation is theta2 itself.
AdmixtureParameters Extrapolate(const AdmixtureParameters& theta0, const AdmixtureParameters& theta1,
                                const AdmixtureParameters& theta2) {
  double rr = 0, vv = 0;
  for (auto part : {&AdmixtureParameters::q, &AdmixtureParameters::r}) {
    const auto &a = theta0.*part, &b = theta1.*part, &c = theta2.*part;
    for (std::size_t j = 0; j < a.size(); ++j) {
      const double r = b[j] - a[j], v = c[j] - 2 * b[j] + a[j];
      rr += r * r, vv += v * v;
    }
  }
  const double alpha = vv > 0 ? -std::sqrt(rr / vv) : -1;
  if (!(alpha < -1)) return theta2;
  AdmixtureParameters jump = theta0;
  for (auto part : {&AdmixtureParameters::q, &AdmixtureParameters::r}) {
    auto& out = jump.*part;
    const auto &b = theta1.*part, &c = theta2.*part;
    for (std::size_t j = 0; j < out.size(); ++j) {
      const double a = out[j], r = b[j] - a, v = c[j] - 2 * b[j] + a;
      out[j] = a - 2 * alpha * r + alpha * alpha * v;
    }
  }
  Bound(jump);
  return jump;
}

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

EmStepResult AdmixtureEmStep(const ScoreTable& table, const AdmixtureParameters& current, BandModel model) {
  const std::size_t n = table.individuals, k = current.clusters, width = table.loci * k;
  const std::size_t blocks = std::max<std::size_t>(1, std::min(kBlocks, n));
  EmStepResult result;
  result.next.clusters = k;
  result.next.q.resize(current.q.size());
  std::vector<double> noBand(blocks * width, 0.0), copies(blocks * width, 0.0), logLikelihoods(blocks, 0.0);
  const bool parallel = double(n) * double(width) >= kParallelWork;
#pragma omp parallel for schedule(dynamic, 1) if (parallel)
  for (std::size_t b = 0; b < blocks; ++b) {
    logLikelihoods[b] = ExpectBlock(table, current, model, BlockOf(b, blocks, n), result.next.q.data(),
                                    noBand.data() + b * width, copies.data() + b * width);
  }
  for (std::size_t b = 1; b < blocks; ++b) {
    for (std::size_t j = 0; j < width; ++j) {
      noBand[j] += noBand[b * width + j];
      copies[j] += copies[b * width + j];
    }
  }
  result.next.r.resize(width);
  for (std::size_t j = 0; j < width; ++j) result.next.r[j] = copies[j] > 0 ? noBand[j] / copies[j] : current.r[j];
  Bound(result.next);
  for (double part : logLikelihoods) result.logLikelihood += part;
  return result;
}

double AdmixtureLogLikelihood(const ScoreTable& table, const AdmixtureParameters& parameters, BandModel model) {
  return AdmixtureEmStep(table, parameters, model).logLikelihood;
}

AdmixtureFit FitAdmixture(const ScoreTable& table, AdmixtureParameters start, const FitSettings& settings,
                          const std::function<bool()>& keepGoing) {
  Bound(start);
  auto [theta1, logLikelihood] = AdmixtureEmStep(table, start, settings.model);
  AdmixtureParameters theta0 = std::move(start);
  std::size_t steps = 1;
  while (steps < settings.maxSteps && (!keepGoing || keepGoing())) {
    auto [theta2, logLikelihood1] = AdmixtureEmStep(table, theta1, settings.model);
    AdmixtureParameters jump = Extrapolate(theta0, theta1, theta2);
    auto stepped = AdmixtureEmStep(table, jump, settings.model);
    steps += 2;
    if (!(stepped.logLikelihood >= logLikelihood1)) {
      jump = std::move(theta2);
      stepped = AdmixtureEmStep(table, jump, settings.model);
      ++steps;
    }
    const double gain = stepped.logLikelihood - logLikelihood;
    theta0 = std::move(jump);
    theta1 = std::move(stepped.next);
    logLikelihood = stepped.logLikelihood;
    if (gain < settings.tolerance) return {std::move(theta0), logLikelihood, steps, true};
  }
  return {std::move(theta0), logLikelihood, steps, false};
}

}  // namespace vorn
