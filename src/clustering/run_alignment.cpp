#include "clustering/run_alignment.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace vorn {
namespace {

// cross[a * k + b] = sum_i reference_ia other_ib.
std::vector<double> CrossProducts(const std::vector<double>& reference, const std::vector<double>& other,
                                  std::size_t k) {
  std::vector<double> cross(k * k, 0.0);
  for (std::size_t i = 0; i + k <= reference.size(); i += k) {
    for (std::size_t a = 0; a < k; ++a) {
      for (std::size_t b = 0; b < k; ++b) cross[a * k + b] += reference[i + a] * other[i + b];
    }
  }
  return cross;
}

std::vector<std::size_t> Exhaustive(const std::vector<double>& cross, std::size_t k) {
  std::vector<std::size_t> perm(k), best;
  std::iota(perm.begin(), perm.end(), std::size_t{0});
  double bestScore = -1;
  do {
    double score = 0;
    for (std::size_t a = 0; a < k; ++a) score += cross[a * k + perm[a]];
    if (score > bestScore) bestScore = score, best = perm;
  } while (std::next_permutation(perm.begin(), perm.end()));
  return best;
}

std::vector<std::size_t> Greedy(const std::vector<double>& cross, std::size_t k) {
  std::vector<std::size_t> perm(k, k);
  std::vector<bool> taken(k, false);
  for (std::size_t step = 0; step < k; ++step) {
    std::size_t bestA = k, bestB = k;
    for (std::size_t a = 0; a < k; ++a) {
      if (perm[a] != k) continue;
      for (std::size_t b = 0; b < k; ++b) {
        if (!taken[b] && (bestA == k || cross[a * k + b] > cross[bestA * k + bestB])) bestA = a, bestB = b;
      }
    }
    perm[bestA] = bestB;
    taken[bestB] = true;
  }
  return perm;
}

double Distance(const std::vector<double>& a, const std::vector<double>& b) {
  double sum = 0;
  for (std::size_t j = 0; j < a.size(); ++j) sum += (a[j] - b[j]) * (a[j] - b[j]);
  return std::sqrt(sum);
}

double DistanceFromEven(const std::vector<double>& a, std::size_t k) {
  double sum = 0;
  for (double x : a) sum += (x - 1.0 / double(k)) * (x - 1.0 / double(k));
  return std::sqrt(sum);
}

}  // namespace

std::vector<std::size_t> BestRelabelling(const std::vector<double>& reference, const std::vector<double>& other,
                                         std::size_t k) {
  const std::vector<double> cross = CrossProducts(reference, other, k);
  return k <= kExhaustiveClusters ? Exhaustive(cross, k) : Greedy(cross, k);
}

std::vector<double> Relabelled(const std::vector<double>& matrix, std::size_t k, const std::vector<std::size_t>& perm) {
  std::vector<double> out(matrix.size());
  for (std::size_t i = 0; i + k <= matrix.size(); i += k) {
    for (std::size_t c = 0; c < k; ++c) out[i + c] = matrix[i + perm[c]];
  }
  return out;
}

double SimilarityGPrime(const std::vector<double>& a, const std::vector<double>& b, std::size_t k) {
  const double apart = Distance(a, b);
  if (apart == 0) return 1;
  return 1 - apart / std::sqrt(DistanceFromEven(a, k) * DistanceFromEven(b, k));
}

}  // namespace vorn
