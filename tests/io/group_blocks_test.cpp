#include "io/group_blocks.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vorn {
namespace {

using testing::ReadFile;
using testing::TempDir;

GroupEntry Entry(std::string name, std::vector<std::string> members) {
  return GroupEntry{std::move(name), std::move(members), false};
}

DataMatrix Data() {
  DataMatrix m;
  m.individualCount = 3;
  m.locusCount = 3;
  m.cells.assign(9, Absence);
  m.individualLabels = LabelTable({"ind1", "ind2", "ind3"});
  m.locusLabels = LabelTable({"Locus1", "Locus2", "Locus3"});
  return m;
}

const GroupList kGroups{Entry("AllData", {"ind1", "ind2", "ind3"}), Entry("AllData/PopA", {"ind1", "ind2"}),
                        Entry("AllData/PopB", {"ind3"})};
const GroupList kLocusSets{Entry("AllLoci", {"Locus1", "Locus2", "Locus3"}), Entry("Core", {"Locus1", "Locus3"})};

class BlockTest : public ::testing::Test {
 protected:
  Status Read(const std::string& text, GroupBlock block, GroupList& list) {
    dir.Write("blocks.txt", text);
    return ReadBlock(path, block, Data(), list);
  }

  TempDir dir;
  std::string path = dir.File("blocks.txt");
};

TEST_F(BlockTest, BothBlocksAreAppendedAfterTheTableAsTheExampleShows) {
  dir.Write("blocks.txt", "*\r\n");
  ASSERT_FALSE(WriteBlock(path, kGroups, GroupBlock::Groups, WriteMode::Append).value());
  ASSERT_FALSE(WriteBlock(path, kLocusSets, GroupBlock::LocusSets, WriteMode::Append).value());
  EXPECT_EQ(ReadFile(path),
            "*\r\n"
            "\r\n[Groups]\r\nAllData/PopA= ind1, ind2;\r\nAllData/PopB= ind3;\r\n*\r\n"
            "\r\n[LocusSets]\r\nCore= Locus1, Locus3;\r\n*\r\n");
}

TEST_F(BlockTest, AListWithOnlyItsImplicitEntryWritesNothing) {
  ASSERT_FALSE(WriteBlock(path, {kGroups[0]}, GroupBlock::Groups, WriteMode::Rewrite).value());
  ASSERT_FALSE(WriteBlock(path, {}, GroupBlock::LocusSets, WriteMode::Rewrite).value());
  EXPECT_FALSE(FileExists(path));
}

TEST_F(BlockTest, MemberNamesLoseTheBlockCharacters) {
  const GroupList groups{kGroups[0], Entry("AllData/P", {"a,b", "c;d=e", "f"})};
  const auto written = WriteBlock(path, groups, GroupBlock::Groups, WriteMode::Rewrite);
  ASSERT_TRUE(written.ok());
  EXPECT_TRUE(written.value());
  EXPECT_EQ(ReadFile(path), "\r\n[Groups]\r\nAllData/P= ab, cde, f;\r\n*\r\n");
  EXPECT_EQ(CleanedMembersMessage(GroupBlock::Groups),
            "One or more individual names contained one of the characters \",\" or \";\" or \"=\", which have been "
            "removed.");
  EXPECT_EQ(CleanedMembersMessage(GroupBlock::LocusSets),
            "One or more locus names contained one of the characters \",\" or \";\" or \"=\", which have been "
            "removed.");
}

TEST_F(BlockTest, WrittenBlocksReadBackIntoTheSameLists) {
  ASSERT_TRUE(WriteBlock(path, kGroups, GroupBlock::Groups, WriteMode::Rewrite).ok());
  ASSERT_TRUE(WriteBlock(path, kLocusSets, GroupBlock::LocusSets, WriteMode::Append).ok());
  GroupList groups, sets;
  ASSERT_TRUE(ReadBlock(path, GroupBlock::Groups, Data(), groups).ok());
  ASSERT_TRUE(ReadBlock(path, GroupBlock::LocusSets, Data(), sets).ok());
  EXPECT_EQ(groups, kGroups);
  EXPECT_EQ(sets, kLocusSets);
}

TEST_F(BlockTest, SpacesAndTabsCarryNoMeaningAndMembersAreCutTo20Characters) {
  GroupList groups{Entry("stale", {})};
  ASSERT_TRUE(Read("ind1 ind2 ind3\n1 0 1\n*\n\n  [ Groups ]\t\n All Data / A =\tind3 , ind1 ;  trailing\n"
                   "AllData/Long=abcdefghijklmnopqrstuvwxyz;\n * \nAllData/After=ind1;\n",
                   GroupBlock::Groups, groups)
                  .ok());
  EXPECT_EQ(groups, (GroupList{kGroups[0], Entry("AllData/A", {"ind3", "ind1"}),
                               Entry("AllData/Long", {"abcdefghijklmnopqrst"})}));
}

TEST_F(BlockTest, AFileWithoutTheBlockLeavesTheListUntouched) {
  GroupList groups = kGroups;
  ASSERT_TRUE(Read("a b\n1 0\n*\n[LocusSets]\nX=Locus1;\n*\n", GroupBlock::Groups, groups).ok());
  EXPECT_EQ(groups, kGroups);
}

TEST_F(BlockTest, ABlockRunsToTheEndOfTheFileWithoutItsClosingLine) {
  GroupList sets;
  ASSERT_TRUE(Read("[LocusSets]\nCore=Locus1,Locus3;", GroupBlock::LocusSets, sets).ok());
  EXPECT_EQ(sets, kLocusSets);
}

TEST_F(BlockTest, ALineWithoutASemicolonFailsAndKeepsTheEntriesAboveIt) {
  GroupList groups;
  const auto read = Read("[Groups]\nAllData/PopA= ind1, ind2;\nAllData/PopB= ind3\nAllData/PopC= ind1;\n*\n",
                         GroupBlock::Groups, groups);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.error(), "Cannot read [Groups] block(2)");
  EXPECT_EQ(groups, (GroupList{kGroups[0], kGroups[1]}));
  EXPECT_EQ(groups[1].MemberCount(), 2u);
}

TEST_F(BlockTest, MalformedLinesAndTheirMessages) {
  const struct {
    const char* line;
    const char* message;
  } cases[] = {
      {"NoEquals;", "Cannot read [LocusSets] block(1)"},
      {"=Locus1;", "Cannot read [LocusSets] block(1)"},
      {"Core=", "Cannot read [LocusSets] block(1)"},
      {"", "Cannot read [LocusSets] block(1)"},
      {"Core=;Locus1", "Cannot read [LocusSets] block(2)"},
      {"Core=Locus1,Locus2", "Cannot read [LocusSets] block(2)"},
  };
  for (const auto& c : cases) {
    GroupList sets;
    const auto read = Read(std::string("[LocusSets]\nFirst=Locus2;\n") + c.line + "\n*\n", GroupBlock::LocusSets, sets);
    ASSERT_FALSE(read.ok()) << c.line;
    EXPECT_EQ(read.error(), c.message) << c.line;
    EXPECT_EQ(sets, (GroupList{kLocusSets[0], Entry("First", {"Locus2"})})) << c.line;
  }
}

TEST_F(BlockTest, TheBlockKeepsWhatItsSyntaxLetsThrough) {
  GroupList sets;
  ASSERT_TRUE(Read("[LocusSets]\nA;b=Locus1,,Locus2;x=y\n", GroupBlock::LocusSets, sets).ok());
  EXPECT_EQ(sets[1], Entry("A;b", {"Locus1", "", "Locus2"}));
}

}  // namespace
}  // namespace vorn
