// NeighborNet of a distance matrix: the circular order of the agglomeration
// (neighbor_net_order.h), the weights of its circular splits by non-negative least squares
// (split_weights.h), the splits of positive weight kept (a weight within kJoinRoundingShare of
// the largest distance counts as zero).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/distance_matrix.h"
#include "core/label_table.h"
#include "core/result.h"

namespace vorn {

struct NetworkSplit {
  std::vector<std::size_t> side;  // the individuals (from 0, ascending) of the shorter side
  Real weight = 0;
  Real support = -1;              // per cent of the replicate networks holding it; -1: not computed
};

struct NeighborNet {
  std::size_t n = 0;
  std::vector<std::size_t> order;    // the circular order of the individuals
  std::vector<NetworkSplit> splits;  // of positive weight, in the order of their intervals
  Real fit = 100;                    // least-squares fit index, per cent
  Real residual = 0;                 // sum of squares of the residuals
  std::size_t tiedJoins = 0;
};

// Told how far the build of one network is: joins of the agglomeration done (n - 1 in all), then,
// with all joins done, the round of the split weights' least squares that starts. Answering false
// stops the build, which then fails.
using NetworkProgress = std::function<bool(std::size_t joins, std::size_t rounds)>;

// The shorter side of the split that cuts positions first .. last of the order from the rest;
// of two sides of n / 2, the one without the first individual in data order.
std::vector<std::size_t> ShorterSide(const std::vector<std::size_t>& order, std::size_t first, std::size_t last);

// The NeighborNet of the distances of the individuals named by labels (or "OTU1" ... when labels
// does not hold one per individual). Fails for fewer than 3 individuals and for a distance that
// is negative or not a number, naming the first such pair in row order.
Result<NeighborNet> BuildNeighborNet(const DistanceMatrix& distances, const LabelTable& labels);

// The same of the distances as a strict lower triangle (at StrictPairIndex(i, j), i > j).
Result<NeighborNet> BuildNeighborNet(std::size_t n, const std::vector<Real>& pairDistances, const LabelTable& labels,
                                     const NetworkProgress& progress = {});

// The NeighborNet of distances already checked (at least 3 individuals, none negative or not a
// number).
Result<NeighborNet> FitNeighborNet(std::size_t n, const std::vector<Real>& pairDistances,
                                   const NetworkProgress& progress = {});

// The same with the circular order given (the individuals 0 .. n - 1 round the circle) in place
// of the agglomeration's.
Result<NeighborNet> FitCircularSplits(std::size_t n, const std::vector<Real>& pairDistances,
                                      const std::vector<std::size_t>& order,
                                      const std::function<bool(std::size_t round)>& onRound = {});

}  // namespace vorn
