#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "pictures/network_layout.h"

namespace vorn {
namespace {

NeighborNet RandomNet(std::size_t n, unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<double> uniform(0.1, 1.0);
  std::vector<Real> pairs(n * (n - 1) / 2);
  for (Real& v : pairs) v = uniform(generator);
  return *FitNeighborNet(n, pairs);
}

TEST(NetworkLayout, OutlineClosesAndDrawsEachSplitAsTwoParallelEdgesOfItsWeight) {
  for (std::size_t n : {3u, 6u, 25u}) {
    const NeighborNet net = RandomNet(n, static_cast<unsigned>(n));
    const NetworkScene scene = MakeNetworkScene(net, LabelTable(), {}, {}, "t");
    ASSERT_EQ(scene.outline.size(), 2 * net.splits.size() + 1);
    EXPECT_NEAR(scene.outline.back().x, 0, 1e-12);
    EXPECT_NEAR(scene.outline.back().y, 0, 1e-12);
    std::vector<int> edges(net.splits.size(), 0);
    for (std::size_t k = 0; k < scene.edgeSplit.size(); ++k) {
      const std::size_t s = scene.edgeSplit[k];
      ++edges[s];
      const double dx = scene.outline[k + 1].x - scene.outline[k].x, dy = scene.outline[k + 1].y - scene.outline[k].y;
      EXPECT_NEAR(std::hypot(dx, dy), static_cast<double>(net.splits[s].weight), 1e-12);
    }
    for (int count : edges) EXPECT_EQ(count, 2);
    for (std::size_t i = 0; i < n; ++i) EXPECT_LT(scene.tipPoint[i], scene.outline.size());
    EXPECT_EQ(scene.labels[0], "OTU1");
    EXPECT_EQ(scene.groups, std::vector<int>(n, -1));
  }
}

TEST(NetworkLayout, SupportIsShownOnSplitsAndNotOnPendantEdges) {
  NeighborNet net = RandomNet(12, 3);
  for (std::size_t s = 0; s < net.splits.size(); ++s) net.splits[s].support = static_cast<Real>(s);
  const NetworkScene scene = MakeNetworkScene(net, LabelTable(), {}, {}, "t");
  ASSERT_EQ(scene.support.size(), net.splits.size());
  for (std::size_t s = 0; s < net.splits.size(); ++s) {
    EXPECT_EQ(scene.support[s], net.splits[s].side.size() == 1 ? -1.0 : static_cast<double>(s)) << "split " << s;
  }
}

}  // namespace
}  // namespace vorn
