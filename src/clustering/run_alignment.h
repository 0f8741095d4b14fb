// Matching the cluster labels of two runs (Jakobsson & Rosenberg 2007). The similarity of two
// n x K ancestry matrices is G' = 1 - ||A - B||_F / sqrt(||A - W||_F ||B - W||_F), W holding 1/K
// everywhere; relabelling B changes only ||A - B||, so the best labels maximise
// sum_c sum_i A_ic B_i,perm(c). Every permutation is tried up to kExhaustiveClusters clusters
// (the first best in lexicographic order wins a tie), the greedy method beyond: the largest
// remaining cross product fixes one pair at a time.
#pragma once

#include <cstddef>
#include <vector>

namespace vorn {

inline constexpr std::size_t kExhaustiveClusters = 8;

// perm[c] = the cluster of other that becomes cluster c; both matrices n x k, row-major.
std::vector<std::size_t> BestRelabelling(const std::vector<double>& reference, const std::vector<double>& other,
                                         std::size_t k);

// The n x k matrix with column c taken from column perm[c] of matrix.
std::vector<double> Relabelled(const std::vector<double>& matrix, std::size_t k, const std::vector<std::size_t>& perm);

// G' of two n x k matrices; 1 when they are equal (K = 1 included).
double SimilarityGPrime(const std::vector<double>& a, const std::vector<double>& b, std::size_t k);

}  // namespace vorn
