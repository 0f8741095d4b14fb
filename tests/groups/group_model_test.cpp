#include "groups/group_model.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

GroupEntry Entry(std::string name, std::vector<std::string> members = {}) {
  return GroupEntry{std::move(name), std::move(members), false};
}

DataMatrix Matrix(std::vector<std::string> individuals, std::vector<std::string> loci) {
  DataMatrix matrix;
  matrix.individualCount = static_cast<std::uint16_t>(individuals.size());
  matrix.locusCount = static_cast<std::uint16_t>(loci.size());
  matrix.cells.assign(matrix.CellCount(), Absence);
  matrix.individualLabels = LabelTable(std::move(individuals));
  matrix.locusLabels = LabelTable(std::move(loci));
  return matrix;
}

TEST(GroupModel, ImplicitEntriesHoldEveryLabelInDataOrder) {
  const DataMatrix data = Matrix({"b", "a", "c"}, {"L2", "L1"});
  GroupList groups{Entry("old")};
  GroupList sets;
  ASSERT_TRUE(BuildAllData(data, groups).ok());
  ASSERT_TRUE(BuildAllLoci(data, sets).ok());
  EXPECT_EQ(groups, (GroupList{Entry("AllData", {"b", "a", "c"})}));
  EXPECT_EQ(sets, (GroupList{Entry("AllLoci", {"L2", "L1"})}));
  EXPECT_EQ(groups[0].MemberCount(), 3u);
}

TEST(GroupModel, ImplicitEntriesRefuseLabelsThatDoNotMatchTheData) {
  DataMatrix data = Matrix({"a", "b"}, {"L1"});
  data.individualLabels.Add("extra");
  data.locusLabels.Add("extra");
  GroupList groups{Entry("AllData", {"a"}), Entry("AllData/X", {"a"})};
  GroupList sets{Entry("AllLoci", {"L1"}), Entry("S", {"L1"})};
  const GroupList setsBefore = sets;

  const auto builtGroups = BuildAllData(data, groups);
  ASSERT_FALSE(builtGroups.ok());
  EXPECT_EQ(builtGroups.error(), "Serious data inconsistency error: Indiv labels do not match data");
  EXPECT_EQ(groups, (GroupList{Entry("AllData")}));  // replaced, without members

  const auto builtSets = BuildAllLoci(data, sets);
  ASSERT_FALSE(builtSets.ok());
  EXPECT_EQ(builtSets.error(), "Serious data inconsistency error: Locus labels do not match data");
  EXPECT_EQ(sets, setsBefore);  // unchanged
}

TEST(GroupModel, DepthsAndLevels) {
  GroupList groups;
  EXPECT_EQ(LevelCount(groups), 0u);
  groups.push_back(Entry("AllData"));
  EXPECT_EQ(LevelCount(groups), 1u);
  groups.push_back(Entry("AllData/A"));
  groups.push_back(Entry("AllData/B"));
  EXPECT_EQ(LevelCount(groups), 2u);
  groups.push_back(Entry("AllData/A/x"));
  EXPECT_EQ(LevelCount(groups), 3u);

  EXPECT_EQ(GroupDepth(groups, 0), 1u);
  EXPECT_EQ(GroupDepth(groups, 3), 3u);
  EXPECT_EQ(GroupDepth(groups, 4), 0u);
  EXPECT_EQ(Depth("AllData/A/x/y"), 4u);
}

TEST(GroupModel, LevelCountWalksTheListInOrder) {
  // A sub-group listed before a shallower group adds one level at a time.
  const GroupList groups{Entry("AllData"), Entry("AllData/A/x/y"), Entry("AllData/B")};
  EXPECT_EQ(LevelCount(groups), 2u);
}

TEST(GroupModel, CountsAndNamesAtDepth) {
  const GroupList alone{Entry("AllData")};
  EXPECT_EQ(CountAtDepth(alone, 0), 1u);
  EXPECT_EQ(CountAtDepth(alone, 1), 0u);
  EXPECT_EQ(CountAtDepth(GroupList{}, 0), 0u);

  const GroupList groups{Entry("AllData"), Entry("AllData/A"), Entry("AllData/A/x"), Entry("AllData/B")};
  EXPECT_EQ(CountAtDepth(groups, 0), 0u);
  EXPECT_EQ(CountAtDepth(groups, 1), 1u);
  EXPECT_EQ(CountAtDepth(groups, 2), 2u);
  EXPECT_EQ(CountAtDepth(groups, 3), 1u);
  EXPECT_EQ(NamesAtDepth(groups, 2), (std::vector<std::string>{"AllData/A", "AllData/B"}));
  EXPECT_TRUE(NamesAtDepth(groups, 4).empty());
}

TEST(GroupModel, GroupOfIndividualSkipsAllData) {
  const GroupList groups{Entry("AllData", {"a", "b", "c"}), Entry("AllData/A", {"a"}), Entry("AllData/B", {"b", "a"})};
  EXPECT_EQ(GroupOfIndividual(groups, "a"), 1u);
  EXPECT_EQ(GroupOfIndividual(groups, "b"), 2u);
  EXPECT_EQ(GroupOfIndividual(groups, "c"), 0u);
  EXPECT_EQ(GroupOfIndividual(groups, "A"), 0u);  // exact, case-sensitive
}

TEST(GroupModel, DisplayNames) {
  EXPECT_EQ(DisplayName("AllData/PopA/Sub1", true), "AllData/PopA/Sub1");
  EXPECT_EQ(DisplayName("AllData/PopA/Sub1", false), "Sub1");
  EXPECT_EQ(DisplayName("AllData", false), "AllData");
  EXPECT_EQ(DisplayNames(GroupList{Entry("AllData"), Entry("AllData/P")}, false),
            (std::vector<std::string>{"AllData", "P"}));
}

TEST(GroupModel, CopyClearAndRemove) {
  GroupList source{Entry("AllData", {"a", "b"}), Entry("AllData/A", {"a"}), Entry("AllData/A/x", {"a"}),
                   Entry("AllData/B", {"b"})};
  GroupList copy = CopyList(source);
  copy[1].members.push_back("b");
  EXPECT_EQ(source[1].MemberCount(), 1u);  // independent
  EXPECT_EQ(copy[1].MemberCount(), 2u);

  ASSERT_TRUE(RemoveEntry(source, 1));
  EXPECT_EQ(DisplayNames(source, true), (std::vector<std::string>{"AllData", "AllData/A/x", "AllData/B"}));
  EXPECT_FALSE(RemoveEntry(source, 3));
  ClearList(source);
  EXPECT_TRUE(source.empty());
}

TEST(GroupModel, CleanNameRemovesTheReservedCharacters) {
  EXPECT_EQ(CleanName("Sub 1;"), "Sub1");
  EXPECT_EQ(CleanName(" a\tb\r\nc.d:e,f;g=h*i/j\\k<l>m "), "abcdefghijklm");
  EXPECT_EQ(CleanName(" ;/ "), "");
  EXPECT_EQ(CleanName("Pop-A_2"), "Pop-A_2");
  // Typed in a Windows-1252 field or in UTF-8, a name is kept in UTF-8 alike.
  EXPECT_EQ(CleanName("Z\xFCrich"), "Z\xC3\xBCrich");
  EXPECT_EQ(CleanName("Z\xC3\xBCrich"), "Z\xC3\xBCrich");
}

}  // namespace
}  // namespace vorn
