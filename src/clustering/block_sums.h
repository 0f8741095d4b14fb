// The sums each block update of the admixture fit needs: over the cells of one individual (or of
// one locus), the log-likelihood at weights x and its gradient and Hessian in x. A cell's copies
// carry the no-band allele with probability f = sum_k x_k v_k, v_k the cell's value in row k of
// the other parameters (the frequencies at the individual's loci, or the individuals' q at the
// locus). With s the cell's code (+1 no band, -1 band, 0 missing) and c = 1 - (s + s^2) / 2,
//   diploid: P = c + s f^2,   haploid: P = c + s f,
// so a missing cell has P = 1 and adds nothing. ln P' = P' / P, ln P'' = P'' / P - (P' / P)^2.
//
// The cells are taken kBlockLanes at a time, each lane summing its own cells in order; the lanes
// are added in order at the end; each lane multiplies its P, every kProductRun cells taking the
// power of two out of the product, and takes one logarithm at the end. The plain body and the AVX2 body do the same operations in the same order (no fused
// multiply-add), so they give the same bits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "clustering/band_likelihood.h"
#include "core/kernel_paths.h"

namespace vorn {

inline constexpr std::size_t kBlockLanes = 4;
inline constexpr std::size_t kProductRun = 16;

// Cells a row of codes is padded to: a multiple of kBlockLanes.
inline std::size_t PaddedCells(std::size_t cells) { return (cells + kBlockLanes - 1) / kBlockLanes * kBlockLanes; }

struct BlockCells {
  const std::int8_t* codes = nullptr;  // cells codes, padded with 0
  const double* values = nullptr;      // clusters rows, row k at k * cells, padded with 0
  std::size_t cells = 0;               // a multiple of kBlockLanes
  std::size_t clusters = 0;
  BandModel model = BandModel::DiploidDominant;
};

// ln L of the cells at x (clusters weights).
double BlockValue(const BlockCells& block, const double* x);
double BlockValue(KernelPath path, const BlockCells& block, const double* x);

// ln L at x, with its gradient (clusters) and Hessian (clusters x clusters, row-major, symmetric).
double BlockDerivatives(const BlockCells& block, const double* x, double* gradient, double* hessian);
double BlockDerivatives(KernelPath path, const BlockCells& block, const double* x, double* gradient,
                        double* hessian);

}  // namespace vorn
