#include "trees/matrix_tree.h"

#include <gtest/gtest.h>

#include "trees/upgma.h"

namespace vorn {
namespace {

DistanceMatrix NeiLi(std::vector<Real> lower) {
  DistanceMatrix d(3);
  d.entries = std::move(lower);
  return d;
}

TEST(BuildMatrixTree, UndefinedNeiLiDistancesAreCountedAndGiveNoTree) {
  const struct {
    std::vector<Real> lower;
    const char* failure;  // "" for a tree
  } cases[] = {
      {{0, 0.2L, 0, 0.6L, 0.4L, 0}, ""},
      {{0, -1, 0, 0.6L, 0.4L, 0}, "1 pair of individuals shares no band: its Nei-Li distance is undefined (-1), "
                                  "and a tree cannot join it."},
      {{0, -1, 0, -1, 0.4L, 0}, "2 pairs of individuals share no band: their Nei-Li distance is undefined (-1), "
                                "and a tree cannot join them."},
      // The diagonal is no pair.
      {{-1, 0.2L, -1, 0.6L, 0.4L, 0}, ""},
  };
  for (const auto& c : cases) {
    const auto tree = BuildMatrixTree(NeiLi(c.lower), DistanceTransformation::D, LabelTable());
    if (*c.failure == '\0') {
      ASSERT_TRUE(tree.ok()) << tree.error();
      EXPECT_EQ(*tree, *BuildUPGMA(NeiLi(c.lower), LabelTable()));
    } else {
      EXPECT_EQ(tree.error(), c.failure);
    }
  }
}

}  // namespace
}  // namespace vorn
