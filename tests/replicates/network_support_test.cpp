// The bootstrap support of a NeighborNet's splits against a slow, obvious reference that writes
// each resampled data matrix out, builds its matrix and network with the plain routines and
// compares the splits by their sides; on one and on two threads, and stopped by the progress.
#include "replicates/network_support.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <algorithm>
#include <memory>
#include <random>

#include "replicates/resample_loci.h"
#include "similarity/distance_transformation.h"
#include "similarity/similarity_matrix.h"
#include "support/test_matrix.h"

namespace vorn {
namespace {

std::unique_ptr<Workspace> MakeWorkspace(std::size_t individuals, std::size_t loci, std::int32_t replicates,
                                         unsigned seed) {
  std::mt19937 engine(seed);
  auto made = std::make_unique<Workspace>();
  Workspace& ws = *made;
  ws.data = testing::RandomMatrix(individuals, loci, 0.05, 0.5, engine);
  ws.dataLoaded = true;
  ws.settings.similarity.coefficient = SimilarityCoefficient::Jaccard;
  ws.settings.similarity.transformation = DistanceTransformation::OneMinusS;
  ws.settings.replicates.BS = replicates;
  ws.random.Seed(20261209);
  return made;
}

// The network of the data's Standard matrix as distances.
NeighborNet NetworkOf(const Workspace& ws, const DataMatrix& data) {
  const auto similarity = BuildSimilarityMatrix(data, SimilarityMode::Standard, ws.settings.similarity);
  DistanceMatrix distances = similarity->matrix;
  for (Real& v : distances.entries) v = ApplyTransformation(v, ws.settings.similarity.transformation);
  return BuildNeighborNet(distances, data.individualLabels).value();
}

// One replicate after the other: the support of each split of net.
std::vector<Real> ReferenceSupport(Workspace& ws, const NeighborNet& net) {
  std::vector<std::size_t> held(net.splits.size(), 0);
  const DataMatrix original = ws.data;
  DataMatrix sample = original;
  for (std::int32_t e = 1; e <= ws.settings.replicates.BS; ++e) {
    ResampleLoci(original.cells.data(), sample.cells.data(), original.individualCount, original.locusCount, ws.random);
    const NeighborNet replicate = NetworkOf(ws, sample);
    for (std::size_t k = 0; k < net.splits.size(); ++k) {
      for (const NetworkSplit& split : replicate.splits) held[k] += split.side == net.splits[k].side;
    }
  }
  std::vector<Real> support;
  for (std::size_t h : held) support.push_back(100 * Real(h) / Real(ws.settings.replicates.BS));
  return support;
}

struct SupportCase {
  std::size_t individuals, loci;
  std::int32_t replicates;
  unsigned seed;
};

class NetworkSupport : public ::testing::TestWithParam<SupportCase> {};

TEST_P(NetworkSupport, EqualsTheReferenceOnOneAndTwoThreads) {
  const SupportCase c = GetParam();
  const auto made = MakeWorkspace(c.individuals, c.loci, c.replicates, c.seed);
  Workspace& reference = *made;
  const NeighborNet original = NetworkOf(reference, reference.data);
  const std::vector<Real> expected = ReferenceSupport(reference, original);
  for (int threads : {1, 2}) {
    omp_set_num_threads(threads);
    const auto own = MakeWorkspace(c.individuals, c.loci, c.replicates, c.seed);
    Workspace& ws = *own;
    NeighborNet net = original;
    std::vector<std::int32_t> told;
    const NetworkSupportSummary summary = AddNetworkSupport(ws, net, [&](std::int32_t done) {
      told.push_back(done);
      return true;
    });
    EXPECT_EQ(summary.delivered, c.replicates);
    EXPECT_EQ(summary.withoutNetwork, 0);
    EXPECT_EQ(summary.networks, static_cast<std::size_t>(c.replicates));
    ASSERT_EQ(told.size(), static_cast<std::size_t>(c.replicates));
    for (std::size_t k = 0; k < told.size(); ++k) EXPECT_EQ(told[k], static_cast<std::int32_t>(k + 1));
    for (std::size_t k = 0; k < net.splits.size(); ++k) {
      EXPECT_EQ(net.splits[k].support, expected[k]) << "split " << k + 1 << " on " << threads << " threads";
    }
    EXPECT_EQ(ws.random.State(), reference.random.State());
  }
  omp_set_num_threads(2);
}

INSTANTIATE_TEST_SUITE_P(Cases, NetworkSupport,
                         ::testing::Values(SupportCase{5, 12, 7, 1}, SupportCase{9, 40, 20, 2},
                                           SupportCase{16, 65, 11, 3}));

TEST(NetworkSupport, AStopLeavesTheSupportUncomputed) {
  const auto made = MakeWorkspace(8, 30, 10, 4);
  Workspace& ws = *made;
  NeighborNet net = NetworkOf(ws, ws.data);
  const NetworkSupportSummary summary = AddNetworkSupport(ws, net, [](std::int32_t done) { return done < 3; });
  EXPECT_EQ(summary.delivered, 3);
  EXPECT_EQ(summary.networks, 0u);
  for (const NetworkSplit& split : net.splits) EXPECT_EQ(split.support, -1);
}

TEST(NetworkSupport, KeysTellSidesApartAcrossWordsAndComplementTheFirstIndividual) {
  NeighborNet net;
  net.n = 65;
  net.splits = {NetworkSplit{{0, 64}}, NetworkSplit{{1, 64}}, NetworkSplit{{63}}};
  const auto keys = SplitKeys(net);
  ASSERT_EQ(keys.size(), 3u);
  // {0, 64} is held by its complement: every individual 1 .. 63 of the first word, none of the second.
  EXPECT_EQ(keys[0], (std::vector<std::uint64_t>{~std::uint64_t{1}, 0}));
  EXPECT_EQ(keys[1], (std::vector<std::uint64_t>{2, 1}));
  EXPECT_EQ(keys[2], (std::vector<std::uint64_t>{std::uint64_t{1} << 63, 0}));
}

}  // namespace
}  // namespace vorn
