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

  // Writes the blocks of the lists, in order, after the text start; gives the cleaned flags.
  std::vector<bool> Write(const std::string& start, const std::vector<std::pair<GroupList, GroupBlock>>& blocks) {
    std::vector<bool> cleaned;
    const Status written = ReplaceFileWhole(path, [&](TextFileWriter& file) {
      file.Write(start);
      for (const auto& [list, block] : blocks) cleaned.push_back(WriteBlock(file, list, block));
      return Success();
    });
    EXPECT_TRUE(written.ok()) << written.error();
    return cleaned;
  }

  TempDir dir;
  std::string path = dir.File("blocks.txt");
};

TEST_F(BlockTest, BothBlocksAreAppendedAfterTheTableAsTheExampleShows) {
  EXPECT_EQ(Write("*\r\n", {{kGroups, GroupBlock::Groups}, {kLocusSets, GroupBlock::LocusSets}}),
            (std::vector<bool>{false, false}));
  EXPECT_EQ(ReadFile(path),
            "*\r\n"
            "\r\n[Groups]\r\nAllData/PopA= ind1, ind2;\r\nAllData/PopB= ind3;\r\n*\r\n"
            "\r\n[LocusSets]\r\nCore= Locus1, Locus3;\r\n*\r\n");
}

TEST_F(BlockTest, AListWithOnlyItsImplicitEntryWritesNothing) {
  EXPECT_EQ(Write("", {{{kGroups[0]}, GroupBlock::Groups}, {{}, GroupBlock::LocusSets}}),
            (std::vector<bool>{false, false}));
  EXPECT_EQ(ReadFile(path), "");
}

TEST_F(BlockTest, MemberNamesLoseTheBlockCharacters) {
  const GroupList groups{kGroups[0], Entry("AllData/P", {"a,b", "c;d=e", "f"})};
  EXPECT_TRUE(CheckWritableBlock(groups, GroupBlock::Groups).ok());
  EXPECT_EQ(Write("", {{groups, GroupBlock::Groups}}), std::vector<bool>{true});
  EXPECT_EQ(ReadFile(path), "\r\n[Groups]\r\nAllData/P= ab, cde, f;\r\n*\r\n");
  EXPECT_EQ(CleanedMembersMessage(GroupBlock::Groups),
            "One or more individual names contained one of the characters \",\" or \";\" or \"=\", which have been "
            "removed.");
  EXPECT_EQ(CleanedMembersMessage(GroupBlock::LocusSets),
            "One or more locus names contained one of the characters \",\" or \";\" or \"=\", which have been "
            "removed.");
}

// A label written in the table that holds "," ";" or "=" would lose its entries once saved: the
// block names a member the table does not hold.
TEST_F(BlockTest, ALabelTheBlockCannotHoldIsRefusedByName) {
  const std::string remedy =
      "; please delete the group in the Group Manager or untick \"Include Groups\", or the saved file could not be "
      "read again.";
  const LabelTable individuals({"ind1", "Smith,_J.", "a=b"});
  const GroupList groups{Entry("AllData", individuals.All()), Entry("AllData/P", {"ind1", "Smith,_J."})};
  EXPECT_EQ(CheckWritableBlock(groups, GroupBlock::Groups, individuals).error(),
            "The individual \"Smith,_J.\" (individual 2), a member of the group \"AllData/P\", contains \",\" \";\" "
            "or \"=\", which the [Groups] block cannot hold" + remedy);
  const LabelTable loci({"L;1", "L2"});
  EXPECT_EQ(CheckWritableBlock({Entry("AllLoci", loci.All()), Entry("Core", {"L2", "L;1"})}, GroupBlock::LocusSets,
                               loci)
                .error(),
            "The locus \"L;1\" (locus 1), a member of the locus set \"Core\", contains \",\" \";\" or \"=\", which "
            "the [LocusSets] block cannot hold; please delete the locus set in the Group Manager or untick \"Include "
            "Groups\", or the saved file could not be read again.");
  // A member that is no label of the table loses the characters, with the notice.
  EXPECT_TRUE(CheckWritableBlock({Entry("AllData", {}), Entry("AllData/P", {"x,y"})}, GroupBlock::Groups, individuals)
                  .ok());
}

// Entry names come in UTF-8 as the members do, whatever the file's 8-bit code page.
TEST_F(BlockTest, Windows1252EntryNamesReadAsUtf8) {
  GroupList groups, sets;
  ASSERT_TRUE(Read("[Groups]\nAllData/Z\xFCrich= ind1;\n*\n[LocusSets]\nK\xE9rn= Locus1;\n*\n", GroupBlock::Groups,
                   groups)
                  .ok());
  ASSERT_TRUE(ReadBlock(path, GroupBlock::LocusSets, Data(), sets).ok());
  EXPECT_EQ(groups[1].name, "AllData/Z\xC3\xBCrich");
  EXPECT_EQ(sets[1].name, "K\xC3\xA9rn");
}

TEST_F(BlockTest, WrittenBlocksReadBackIntoTheSameLists) {
  Write("", {{kGroups, GroupBlock::Groups}, {kLocusSets, GroupBlock::LocusSets}});
  GroupList groups, sets;
  ASSERT_TRUE(ReadBlock(path, GroupBlock::Groups, Data(), groups).ok());
  ASSERT_TRUE(ReadBlock(path, GroupBlock::LocusSets, Data(), sets).ok());
  EXPECT_EQ(groups, kGroups);
  EXPECT_EQ(sets, kLocusSets);
}

// A member listed twice (also once the cut made two names one) is kept once and told, so no
// export, selection or analysis meets it twice.
TEST_F(BlockTest, RepeatedMembersAreKeptOnceAndTold) {
  GroupList groups, sets;
  std::vector<RepeatedMember> repeated;
  dir.Write("blocks.txt",
            "[Groups]\nAllData/A= ind1, ind2, ind1, ind1;\nAllData/B= ind3_is_a_long_name_1, ind3_is_a_long_name_2;\n*\n"
            "[LocusSets]\nCore= Locus1, Locus3, Locus1;\n*\n");
  ASSERT_TRUE(ReadBlock(path, GroupBlock::Groups, Data(), groups, &repeated).ok());
  ASSERT_TRUE(ReadBlock(path, GroupBlock::LocusSets, Data(), sets, &repeated).ok());
  EXPECT_EQ(groups[1].members, (std::vector<std::string>{"ind1", "ind2"}));
  EXPECT_EQ(groups[2].members, std::vector<std::string>{"ind3_is_a_long_name_"});
  EXPECT_EQ(sets[1].members, (std::vector<std::string>{"Locus1", "Locus3"}));
  EXPECT_EQ(RepeatedMembersNotice(repeated),
            "A member listed more than once in a group or locus set is counted once: \"ind1\" in AllData/A, "
            "\"ind3_is_a_long_name_\" in AllData/B, \"Locus1\" in Core (3 repeated members).");
  repeated.assign(7, RepeatedMember{"AllData/A", "x"});
  EXPECT_EQ(RepeatedMembersNotice(repeated).substr(162), "and 2 more (7 repeated members).");
  EXPECT_EQ(RepeatedMembersNotice({}), "");
}

// Each entry the reader could not give back, with the refusal that names it. The implicit first
// entry is never written, so it is never refused.
TEST_F(BlockTest, EntriesThatWouldNotReadBackAreRefused) {
  const std::string remedy =
      "; please delete the group in the Group Manager or untick \"Include Groups\", or the saved file could not be "
      "read again.";
  const std::string blank = "a space, tab, line break or NUL character";
  const struct {
    GroupEntry entry;
    std::string message;
  } cases[] = {
      {Entry("", {"ind1"}), "The group name \"\" is empty" + remedy},
      {Entry("AllData/A B", {"ind1"}), "The group name \"AllData/A B\" contains " + blank + remedy},
      {Entry("AllData/A\tB", {"ind1"}), "The group name \"AllData/A<tab>B\" contains " + blank + remedy},
      {Entry("AllData/A=B", {"ind1"}), "The group name \"AllData/A=B\" contains \"=\"" + remedy},
      {Entry("AllData/A", {}), "The group \"AllData/A\" has no members" + remedy},
      {Entry("AllData/A", {"ind1", ""}), "The group \"AllData/A\" has the member \"\", which is empty" + remedy},
      {Entry("AllData/A", {",;"}),
       "The group \"AllData/A\" has the member \",;\", which, once \",\" \";\" and \"=\" are removed, is empty" +
           remedy},
      {Entry("AllData/A", {"in d1"}),
       "The group \"AllData/A\" has the member \"in d1\", which contains " + blank + remedy},
      {Entry("AllData/A", {"abcdefghijklmnopqrstu"}),
       "The group \"AllData/A\" has the member \"abcdefghijklmnopqrstu\", which is longer than 20 characters" + remedy},
  };
  for (const auto& c : cases) {
    const GroupList groups{Entry("", {"in d1"}), kGroups[1], c.entry};
    const Status checked = CheckWritableBlock(groups, GroupBlock::Groups);
    ASSERT_FALSE(checked.ok()) << c.message;
    EXPECT_EQ(checked.error(), c.message);
  }
  EXPECT_EQ(CheckWritableBlock({kLocusSets[0], Entry("Core", {})}, GroupBlock::LocusSets).error(),
            "The locus set \"Core\" has no members; please delete the locus set in the Group Manager or untick "
            "\"Include Groups\", or the saved file could not be read again.");
  // What the reader keeps as it is: long entry names, "," and ";" in entry names, a member of 20.
  const GroupList kept{kGroups[0], Entry("AllData/A;b,c/a-rather-long-group-name", {"abcdefghijklmnopqrst"})};
  EXPECT_TRUE(CheckWritableBlock(kept, GroupBlock::Groups).ok());
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
