#include "groups/selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace vorn {
namespace {

const char* const kOrderingFailed =
    "Ordering Filter/Indiv failed.\r\n [This can happen e.g. if the individual names in your group filter do not "
    "match your actual individual names]";

GroupEntry Entry(std::string name, std::vector<std::string> members) {
  return GroupEntry{std::move(name), std::move(members), false};
}

// A matrix whose every cell tells its individual and locus apart: individual i at locus l holds
// the pattern (i + 2l) % 3 mapped to the three scores.
DataMatrix Patterned(std::size_t individuals, std::size_t loci) {
  static const Cell kScores[] = {Absence, Presence, Missing};
  DataMatrix matrix;
  matrix.individualCount = static_cast<std::uint16_t>(individuals);
  matrix.locusCount = static_cast<std::uint16_t>(loci);
  matrix.cells.resize(individuals * loci);
  for (std::size_t l = 0; l < loci; ++l) {
    for (std::size_t i = 0; i < individuals; ++i) matrix.cells[l * individuals + i] = kScores[(i + 2 * l + i * l) % 3];
  }
  matrix.individualLabels = MakeNumberedLabels("ind", individuals);
  matrix.locusLabels = MakeNumberedLabels("L", loci);
  return matrix;
}

// The plain definition: the cells of the named individuals and loci, looked up one by one.
DataMatrix Reference(const DataMatrix& full, const std::vector<std::string>& individuals,
                     const std::vector<std::string>& loci) {
  DataMatrix sub;
  sub.individualCount = static_cast<std::uint16_t>(individuals.size());
  sub.locusCount = static_cast<std::uint16_t>(loci.size());
  for (const auto& locus : loci) {
    for (const auto& individual : individuals) {
      sub.cells.push_back(full.At(static_cast<std::size_t>(full.individualLabels.Find(individual)),
                                  static_cast<std::size_t>(full.locusLabels.Find(locus))));
    }
  }
  sub.individualLabels = LabelTable(individuals);
  sub.locusLabels = LabelTable(loci);
  return sub;
}

class SelectionTest : public ::testing::Test {
 protected:
  SelectionTest() {
    ws.data = Patterned(6, 4);
    ws.original = ws.data;
    ws.dataLoaded = true;
    ws.groups.groups = {Entry("AllData", ws.data.individualLabels.All()), Entry("AllData/A", {"ind5", "ind2"}),
                        Entry("AllData/B", {"ind1", "ind6", "ind3"}), Entry("AllData/Gone", {"ind1", "nobody"})};
    ws.groups.locusSets = {Entry("AllLoci", ws.data.locusLabels.All()), Entry("Odd", {"L1", "L3"}),
                           Entry("Mixed", {"L4", "L2"})};
    full = ws.data;
  }

  const std::vector<std::string>& Loci() const { return full.locusLabels.All(); }

  Workspace ws;
  DataMatrix full;
};

TEST_F(SelectionTest, AGroupListedOutOfOrderIsSelectedInDataOrder) {
  ASSERT_TRUE(SelectGroup(ws, 1).ok());
  EXPECT_EQ(ws.groups.activeGroup, 1);
  EXPECT_EQ(ws.data, Reference(full, {"ind2", "ind5"}, Loci()));
  ASSERT_TRUE(ws.groups.parkedIndividuals.has_value());
  EXPECT_EQ(ws.groups.parkedIndividuals->individualCount, 6);
  EXPECT_EQ(ws.groups.parkedIndividuals->cells, full.cells);
}

TEST_F(SelectionTest, AnotherGroupIsTakenFromTheFullDataAndAllDataBringsThemBack) {
  ASSERT_TRUE(SelectGroup(ws, 1).ok());
  ASSERT_TRUE(SelectGroup(ws, 2).ok());
  EXPECT_EQ(ws.groups.activeGroup, 2);
  EXPECT_EQ(ws.data, Reference(full, {"ind1", "ind3", "ind6"}, Loci()));
  ASSERT_TRUE(SelectGroup(ws, 0).ok());
  EXPECT_EQ(ws.groups.activeGroup, 0);
  EXPECT_EQ(ws.data, full);
  EXPECT_FALSE(ws.groups.parkedIndividuals.has_value());
}

TEST_F(SelectionTest, AMemberMissingFromTheDataFailsAndChangesNothing) {
  const auto whole = SelectGroup(ws, 3);
  ASSERT_FALSE(whole.ok());
  EXPECT_EQ(whole.error(), kOrderingFailed);
  EXPECT_EQ(ws.data, full);
  EXPECT_EQ(ws.groups.activeGroup, 0);
  EXPECT_FALSE(ws.groups.parkedIndividuals.has_value());

  ASSERT_TRUE(SelectGroup(ws, 1).ok());
  const DataMatrix group = ws.data;
  ASSERT_FALSE(SelectGroup(ws, 3).ok());
  EXPECT_EQ(ws.data, group);
  EXPECT_EQ(ws.groups.activeGroup, 1);
  ASSERT_TRUE(SelectGroup(ws, 0).ok());
  EXPECT_EQ(ws.data, full);
}

TEST_F(SelectionTest, RepeatedNamesFailWithTheirMessages) {
  ws.groups.groups.push_back(Entry("AllData/Twice", {"ind2", "ind2"}));
  const auto twice = SelectGroup(ws, 4);
  ASSERT_FALSE(twice.ok());
  EXPECT_EQ(twice.error(), "SelGrpOnly: #indiv names does not match");

  // A label that occurs twice in the data cannot be told apart by name.
  DataMatrix doubled = Patterned(3, 2);
  doubled.individualLabels = LabelTable({"x", "y", "x"});
  const auto ambiguous = SelGrpOnly(doubled, {Entry("AllData", {}), Entry("AllData/X", {"x"})}, 1);
  ASSERT_FALSE(ambiguous.ok());
  EXPECT_EQ(ambiguous.error(), kOrderingFailed);
  EXPECT_EQ(ws.data, full);
}

TEST_F(SelectionTest, AGroupThatDoesNotExist) {
  const auto missing = SelectGroup(ws, 9);
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error(), "SelGrpOnly: Specified group does not exit");
  EXPECT_EQ(ws.data, full);
}

TEST_F(SelectionTest, TheActiveGroupOrAnEmptyListDoesNothing) {
  ASSERT_TRUE(SelectGroup(ws, 0).ok());
  EXPECT_EQ(ws.data, full);
  ws.groups.groups.clear();
  ASSERT_TRUE(SelectGroup(ws, 2).ok());
  EXPECT_EQ(ws.groups.activeGroup, 0);
  EXPECT_EQ(ws.data, full);
}

TEST_F(SelectionTest, ALocusSetBecomesTheWorkingLociAndAllLociBringsThemBack) {
  ASSERT_TRUE(SelectLocusSet(ws, 1).ok());
  EXPECT_EQ(ws.groups.activeLocusSet, 1);
  EXPECT_EQ(ws.data, Reference(full, full.individualLabels.All(), {"L1", "L3"}));
  ASSERT_TRUE(SelectLocusSet(ws, 0).ok());
  EXPECT_EQ(ws.data, full);
  EXPECT_FALSE(ws.groups.parkedLoci.has_value());
}

TEST_F(SelectionTest, ALocusSetMustListItsLociInDataOrder) {
  const auto mixed = SelectLocusSet(ws, 2);
  ASSERT_FALSE(mixed.ok());
  EXPECT_EQ(mixed.error(), "SelGrpOnly: #locus names does not match");
  ws.groups.locusSets.push_back(Entry("Unknown", {"L1", "L9"}));
  EXPECT_EQ(SelectLocusSet(ws, 3).error(), "SelGrpOnly: #locus names does not match");
  EXPECT_EQ(SelectLocusSet(ws, 7).error(), "SelLocSetOnly: Specified locus set does not exit");
  EXPECT_EQ(ws.data, full);
  EXPECT_EQ(ws.groups.activeLocusSet, 0);
}

TEST_F(SelectionTest, LocusSetsAreRefusedWhileAGroupIsActive) {
  ASSERT_TRUE(SelectGroup(ws, 1).ok());
  const DataMatrix group = ws.data;
  EXPECT_FALSE(LocusSetsSelectable(ws.groups));
  const auto refused = SelectLocusSet(ws, 1);
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error(), kLocusSetsNeedAllData);
  EXPECT_EQ(ws.data, group);
  EXPECT_EQ(ws.groups.activeLocusSet, 0);
}

TEST_F(SelectionTest, AGroupSelectedWithinALocusSetKeepsTheSetsLoci) {
  ASSERT_TRUE(SelectLocusSet(ws, 1).ok());
  ASSERT_TRUE(SelectGroup(ws, 2).ok());
  EXPECT_EQ(ws.data, Reference(full, {"ind1", "ind3", "ind6"}, {"L1", "L3"}));
  ASSERT_TRUE(SelectGroup(ws, 0).ok());
  EXPECT_EQ(ws.data, Reference(full, full.individualLabels.All(), {"L1", "L3"}));
  ASSERT_TRUE(SelectLocusSet(ws, 0).ok());
  EXPECT_EQ(ws.data, full);
}

TEST_F(SelectionTest, TheParkedDataStayWholeWhenTheWorkingLociChange) {
  // A filter removing a locus from the group's data must not make AllData read past its cells.
  ASSERT_TRUE(SelectGroup(ws, 1).ok());
  ws.data = Reference(full, {"ind2", "ind5"}, {"L1", "L2", "L4"});
  ASSERT_TRUE(SelectGroup(ws, 2).ok());
  EXPECT_EQ(ws.data, Reference(full, {"ind1", "ind3", "ind6"}, Loci()));
  ASSERT_TRUE(SelectGroup(ws, 0).ok());
  EXPECT_EQ(ws.data, full);
}

TEST_F(SelectionTest, GroupsNamingRemovedIndividualsFailInsteadOfReadingAnotherColumn) {
  ws.data = Reference(full, {"ind1", "ind3", "ind4", "ind5", "ind6"}, Loci());  // ind2 removed
  const DataMatrix filtered = ws.data;
  EXPECT_EQ(SelectGroup(ws, 1).error(), kOrderingFailed);
  EXPECT_EQ(ws.data, filtered);
  ASSERT_TRUE(SelectGroup(ws, 2).ok());
  EXPECT_EQ(ws.data, Reference(full, {"ind1", "ind3", "ind6"}, Loci()));

  ASSERT_TRUE(SelectGroup(ws, 0).ok());
  ws.data = Reference(full, full.individualLabels.All(), {"L1", "L2"});  // L3, L4 removed
  EXPECT_EQ(SelectLocusSet(ws, 1).error(), "SelGrpOnly: #locus names does not match");
}

TEST_F(SelectionTest, GroupSubmatrixTakesTheMembersFoundAndTheMaskedLoci) {
  auto sub = GroupSubmatrix(full, ws.groups.groups, 3, {1, 0, 1, 1});
  ASSERT_TRUE(sub.ok());
  EXPECT_EQ(*sub, Reference(full, {"ind1"}, {"L1", "L3", "L4"}));
  sub = GroupSubmatrix(full, ws.groups.groups, 1, {0, 1, 0, 0});
  ASSERT_TRUE(sub.ok());
  EXPECT_EQ(*sub, Reference(full, {"ind2", "ind5"}, {"L2"}));
  EXPECT_FALSE(GroupSubmatrix(full, ws.groups.groups, 1, {1, 1}).ok());
  EXPECT_FALSE(GroupSubmatrix(full, ws.groups.groups, 4, {1, 1, 1, 1}).ok());
}

TEST(SelectionRandom, SubmatricesMatchTheCellByCellDefinition) {
  const unsigned seed = std::random_device()();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  for (std::size_t loci : {1, 63, 64, 65, 129}) {
    const std::size_t individuals = 1 + random() % 70;
    DataMatrix full = Patterned(individuals, loci);
    for (auto& cell : full.cells) cell = std::array<Cell, 3>{Absence, Presence, Missing}[random() % 3];

    std::vector<std::string> names = full.individualLabels.All();
    std::shuffle(names.begin(), names.end(), random);
    names.resize(1 + random() % individuals);
    std::vector<std::string> lociNames;
    for (const auto& locus : full.locusLabels.All()) {
      if (random() % 2) lociNames.push_back(locus);
    }
    if (lociNames.empty()) lociNames.push_back(full.locusLabels[0]);

    const GroupList groups{Entry("AllData", {}), Entry("AllData/G", names)};
    const GroupList sets{Entry("AllLoci", {}), Entry("S", lociNames)};
    std::vector<std::string> inDataOrder = names;
    std::sort(inDataOrder.begin(), inDataOrder.end(), [&](const std::string& a, const std::string& b) {
      return full.individualLabels.Find(a) < full.individualLabels.Find(b);
    });

    auto group = SelGrpOnly(full, groups, 1);
    ASSERT_TRUE(group.ok()) << loci << " loci";
    EXPECT_EQ(*group, Reference(full, inDataOrder, full.locusLabels.All())) << loci << " loci";
    auto set = SelLocSetOnly(full, sets, 1);
    ASSERT_TRUE(set.ok()) << loci << " loci";
    EXPECT_EQ(*set, Reference(full, full.individualLabels.All(), lociNames)) << loci << " loci";
  }
}

}  // namespace
}  // namespace vorn
