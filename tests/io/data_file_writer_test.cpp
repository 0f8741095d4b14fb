#include "io/data_file_writer.h"

#include <gtest/gtest.h>

#include <random>

#include "io/data_file_reader.h"
#include "support/file_failures.h"
#include "support/file_layouts.h"
#include "support/test_matrix.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

using testing::Entries;
using testing::EveryLayout;
using testing::FileSizeLimit;
using testing::RandomMatrix;
using testing::ReadFile;
using testing::TempDir;

DataMatrix Example() {
  DataMatrix m;
  m.individualCount = 3;
  m.locusCount = 2;
  m.cells = {Presence, Absence, Missing, Absence, Absence, Presence};
  m.individualLabels = LabelTable({"ind1", "ind2", "ind3"});
  m.locusLabels = LabelTable({"L1", "L2"});
  return m;
}

class WriterTest : public ::testing::Test {
 protected:
  std::string Write(const DataMatrix& m, const FileLayout& layout) {
    const auto written = WriteDataFile(path, m, layout);
    EXPECT_TRUE(written.ok()) << written.error();
    return ReadFile(path);
  }

  TempDir dir;
  std::string path = dir.File("saved.txt");
};

TEST_F(WriterTest, DefaultLayoutWritesIndividualsInColumns) {
  EXPECT_EQ(Write(Example(), FileLayout()), "ind1 ind2 ind3 \r\n1 0 ? \r\n0 0 1 \r\n*\r\n");
}

TEST_F(WriterTest, UndelimitedRowsAreANameASpaceAndTheScoresTogether) {
  FileLayout layout;
  layout.individualsInColumns = false;
  layout.locusHeader = true;
  layout.delimitedData = false;
  EXPECT_EQ(Write(Example(), layout), "L1 L2 \r\nind1 10\r\nind2 00\r\nind3 ?1\r\n*\r\n");
}

TEST_F(WriterTest, LocusNamesAndOtherSymbols) {
  FileLayout layout;
  layout.individualHeader = false;
  layout.locusHeader = true;
  layout.presence = '+';
  layout.absence = 'o';
  layout.ambiguity = 'N';
  layout.endOfData = '#';
  EXPECT_EQ(Write(Example(), layout), "L1 + o N \r\nL2 o o + \r\n#\r\n");
}

TEST_F(WriterTest, AmbiguityNegativePutsAMinusBeforeMissingScoresOfDelimitedFiles) {
  FileLayout layout;
  layout.ambiguityNegative = true;
  EXPECT_EQ(Write(Example(), layout), "ind1 ind2 ind3 \r\n1 0 -? \r\n0 0 1 \r\n*\r\n");
  auto read = ReadDataFile(path, layout);
  ASSERT_TRUE(read.ok()) << read.error();
  EXPECT_EQ(read->cells, Example().cells);

  layout.delimitedData = false;
  EXPECT_EQ(Write(Example(), layout), "ind1 ind2 ind3 \r\n10?\r\n001\r\n*\r\n");
}

TEST_F(WriterTest, MissingLabelTablesAreWrittenAsNumberedNames) {
  DataMatrix m = Example();
  m.individualLabels.Clear();
  m.locusLabels.Clear();
  FileLayout layout;
  layout.locusHeader = true;
  EXPECT_EQ(Write(m, layout), "OTU1 OTU2 OTU3 \r\nLocus1 1 0 ? \r\nLocus2 0 0 1 \r\n*\r\n");
}

TEST_F(WriterTest, SavingAndLoadingWithTheSameSettingsGivesTheSameMatrix) {
  std::mt19937 engine(5);
  const DataMatrix m = RandomMatrix(9, 65, 0.2, 0.4, engine);
  for (auto [layout, description] : EveryLayout()) {
    for (bool negative : {true, false}) {
      layout.ambiguityNegative = negative;
      SCOPED_TRACE(description + " negative=" + std::to_string(negative));
      Write(m, layout);
      auto read = ReadDataFile(path, layout);
      ASSERT_TRUE(read.ok()) << read.error();
      EXPECT_EQ(read->cells, m.cells);
      EXPECT_EQ(read->individualLabels, layout.individualHeader ? m.individualLabels : MakeDefaultIndividualLabels(9));
      EXPECT_EQ(read->locusLabels, layout.locusHeader ? m.locusLabels : MakeDefaultLocusLabels(65));
    }
  }
}

TEST_F(WriterTest, ACellThatIsNoScoreStopsTheSaveBeforeAnythingIsWritten) {
  DataMatrix m = Example();
  m.cells[4] = 7;
  dir.Write("saved.txt", "kept");
  FileLayout layout;
  auto written = WriteDataFile(path, m, layout);
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error(), "Data Error. Could not complete saving of data file");
  layout.individualsInColumns = false;
  written = WriteDataFile(path, m, layout);
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error(), "Data Error. Could not complete saving of data file(2)");
  EXPECT_EQ(ReadFile(path), "kept");
}

TEST_F(WriterTest, LayoutsWhoseFilesCouldNotBeReadBackAreRefused) {
  FileLayout same;
  same.ambiguity = '0';
  EXPECT_EQ(WriteDataFile(path, Example(), same).error(),
            "Presence, Absence and Ambiguity must be three different characters, or the saved file could not be "
            "read again.");
  FileLayout ending;
  ending.endOfData = '1';
  EXPECT_EQ(WriteDataFile(path, Example(), ending).error(),
            "Presence, Absence and Ambiguity must differ from OpenRemark and EndOfData, or the saved file could not "
            "be read again.");
  FileLayout remark;
  remark.openRemark = '*';
  EXPECT_EQ(WriteDataFile(path, Example(), remark).error(),
            "OpenRemark and EndOfData must be two different characters, or the saved file could not be read again.");
  for (char blank : {' ', '\t', '\0', '\r', '\n'}) {
    FileLayout spaced;
    spaced.endOfData = blank;
    EXPECT_EQ(WriteDataFile(path, Example(), spaced).error(),
              "EndOfData may not be a space, tab, line break or NUL character, or the saved file could not be read "
              "again.");
  }
  FileLayout minus;
  minus.absence = '-';
  EXPECT_TRUE(WriteDataFile(path, Example(), minus).ok());
  minus.ambiguityNegative = true;
  EXPECT_EQ(WriteDataFile(path, Example(), minus).error(),
            "With \"Ambiguity negative\" no symbol may be \"-\", or the saved file could not be read again.");
  minus.delimitedData = false;  // no "-" is written then
  EXPECT_TRUE(WriteDataFile(path, Example(), minus).ok());
  FileLayout closing;  // no remark is written, so CloseRemark may be anything
  closing.closeRemark = '1';
  EXPECT_TRUE(WriteDataFile(path, Example(), closing).ok());
}

// The fault that made OpenRemark = EndOfData a refusal: the end line reads as a remark, so the
// table runs on into the blocks.
TEST_F(WriterTest, AnEndLineThatIsARemarkWouldNotEndTheTable) {
  FileLayout layout;
  layout.openRemark = '*';
  dir.Write("by-hand.txt", "ind1 ind2 ind3 \r\n1 0 ? \r\n0 0 1 \r\n*\r\n\r\n[Groups]\r\nAllData/A= ind1;\r\n*\r\n");
  EXPECT_EQ(ReadDataFile(dir.File("by-hand.txt"), layout).error(),
            "Cannot interpret data block(2a)\r\nLine 6, column 9: the line holds 1 field, where each row holds 3 "
            "fields");
  EXPECT_FALSE(WriteDataFile(path, Example(), layout).ok());
}

TEST_F(WriterTest, NamesHoldingTheEndOrRemarkCharacterAreRefused) {
  DataMatrix m = Example();
  m.individualLabels = LabelTable({"ind1", "a*b", "ind3"});
  FileLayout layout;
  EXPECT_EQ(WriteDataFile(path, m, layout).error(),
            "The individual name \"a*b\" (individual 2) contains the EndOfData character \"*\"; please choose another "
            "EndOfData character, or the saved file could not be read again.");
  layout.endOfData = '#';
  EXPECT_TRUE(WriteDataFile(path, m, layout).ok());
  layout.individualHeader = false;  // the names are not written
  layout.endOfData = '*';
  EXPECT_TRUE(WriteDataFile(path, m, layout).ok());
  m.locusLabels = LabelTable({"L{1}", "L2"});
  layout.locusHeader = true;
  EXPECT_EQ(WriteDataFile(path, m, layout).error(),
            "The locus name \"L{1}\" (locus 1) contains the OpenRemark character \"{\"; please choose another "
            "OpenRemark character, or the saved file could not be read again.");
  m.locusLabels = LabelTable({"L}1", "L2"});  // a closing character alone opens nothing
  EXPECT_TRUE(WriteDataFile(path, m, layout).ok());
}

// An empty name shortens the header line or takes the first score as the row's name; a blank
// splits a name in two.
TEST_F(WriterTest, EmptyNamesAndNamesWithBlanksAreRefused) {
  DataMatrix m = Example();
  m.individualLabels = LabelTable({"ind1", "", "ind3"});
  FileLayout layout;
  EXPECT_EQ(WriteDataFile(path, m, layout).error(),
            "The individual name \"\" (individual 2) is empty; please save without individual names, or the saved "
            "file could not be read again.");
  layout.individualHeader = false;
  EXPECT_TRUE(WriteDataFile(path, m, layout).ok());
  m.locusLabels = LabelTable({"L1", "L\t2"});
  layout.locusHeader = true;
  layout.individualsInColumns = false;
  EXPECT_EQ(WriteDataFile(path, m, layout).error(),
            "The locus name \"L<tab>2\" (locus 2) contains a space, tab, line break or NUL character; please save "
            "without locus names, or the saved file could not be read again.");
}

TEST_F(WriterTest, AMatrixWithoutScoresIsRefused) {
  DataMatrix m;
  m.individualCount = 2;
  m.individualLabels = LabelTable({"a", "b"});
  EXPECT_EQ(WriteDataFile(path, m, FileLayout()).error(),
            "The data matrix holds no individuals or no loci; a file without scores could not be read again.");
}

// The block reader looks for "[Groups]" from the top of the file, spaces removed.
TEST_F(WriterTest, ATableLineThatReadsAsABlockHeaderIsRefusedWithIncludeGroups) {
  DataMatrix m = Example();
  m.individualLabels = LabelTable({"[Gro", "up", "s]"});
  FileLayout layout;
  const GroupList groups{GroupEntry{"AllData", {"[Gro", "up", "s]"}}, GroupEntry{"AllData/A", {"up"}}};
  EXPECT_EQ(WriteDataFile(path, m, layout, groups).error(),
            "A line of the table would read as the block header \"[Groups]\"; please choose other names or symbols, "
            "or untick \"Include Groups\", or the saved file could not be read again.");
  layout.includeGroups = false;
  EXPECT_TRUE(WriteDataFile(path, m, layout, groups).ok());

  // A row: its name and its scores.
  m = Example();
  m.locusLabels = LabelTable({"[LocusSe", "L2"});
  FileLayout rows;
  rows.locusHeader = true;
  rows.presence = 't';
  rows.absence = 's';
  rows.ambiguity = ']';
  EXPECT_EQ(WriteDataFile(path, m, rows).error(),
            "A line of the table would read as the block header \"[LocusSets]\"; please choose other names or "
            "symbols, or untick \"Include Groups\", or the saved file could not be read again.");
}

TEST_F(WriterTest, TheBlocksFollowTheTableInTheSameFile) {
  const GroupList groups{GroupEntry{"AllData", {"ind1", "ind2", "ind3"}}, GroupEntry{"AllData/A", {"ind3", "i,nd1"}}};
  const GroupList sets{GroupEntry{"AllLoci", {"L1", "L2"}}, GroupEntry{"Second", {"L2"}}};
  const auto written = WriteDataFile(path, Example(), FileLayout(), groups, sets);
  ASSERT_TRUE(written.ok()) << written.error();
  EXPECT_EQ(*written, std::vector<GroupBlock>{GroupBlock::Groups});  // "i,nd1" lost its comma
  EXPECT_EQ(ReadFile(path),
            "ind1 ind2 ind3 \r\n1 0 ? \r\n0 0 1 \r\n*\r\n"
            "\r\n[Groups]\r\nAllData/A= ind3, ind1;\r\n*\r\n"
            "\r\n[LocusSets]\r\nSecond= L2;\r\n*\r\n");
  FileLayout without;
  without.includeGroups = false;
  ASSERT_TRUE(WriteDataFile(path, Example(), without, groups, sets).ok());
  EXPECT_EQ(ReadFile(path), "ind1 ind2 ind3 \r\n1 0 ? \r\n0 0 1 \r\n*\r\n");
}

TEST_F(WriterTest, AFolderThatDoesNotExistIsReported) {
  const auto written = WriteDataFile(dir.File("no/such/folder.txt"), Example(), FileLayout());
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error(), "Cannot write " + dir.File("no/such/folder.txt") + ": No such file or directory");
}

// A save that fails half-way (a full disk) or is refused leaves the file that was there, byte for
// byte, and nothing beside it.
TEST_F(WriterTest, AFailedSaveLeavesThePreviousFile) {
  const std::string old = "ind1 ind2\r\n1 0\r\n0 1\r\n*\r\n";
  dir.Write("saved.txt", old);
  std::mt19937 engine(3);
  const DataMatrix larger = RandomMatrix(20, 30, 0.1, 0.5, engine);
  {
    FileSizeLimit full(64);  // writes fail as on a full disk
    const auto written = WriteDataFile(path, larger, FileLayout());
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error(), "Cannot write " + path + ": File too large");
  }
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_EQ(Entries(dir), std::vector<std::string>{"saved.txt"});

  DataMatrix m = Example();
  m.individualLabels = LabelTable({"a", "", "c"});
  EXPECT_FALSE(WriteDataFile(path, m, FileLayout()).ok());
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_EQ(Entries(dir), std::vector<std::string>{"saved.txt"});
}

}  // namespace
}  // namespace vorn
