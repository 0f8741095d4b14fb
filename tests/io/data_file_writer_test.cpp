#include "io/data_file_writer.h"

#include <gtest/gtest.h>

#include <random>

#include "io/data_file_reader.h"
#include "support/file_layouts.h"
#include "support/test_matrix.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

using testing::EveryLayout;
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
  FileLayout minus;
  minus.absence = '-';
  EXPECT_TRUE(WriteDataFile(path, Example(), minus).ok());
  minus.ambiguityNegative = true;
  EXPECT_EQ(WriteDataFile(path, Example(), minus).error(),
            "With \"Ambiguity negative\" no symbol may be \"-\", or the saved file could not be read again.");
  minus.delimitedData = false;  // no "-" is written then
  EXPECT_TRUE(WriteDataFile(path, Example(), minus).ok());
}

TEST_F(WriterTest, NamesHoldingTheEndOrRemarkCharacterAreRefused) {
  DataMatrix m = Example();
  m.individualLabels = LabelTable({"ind1", "a*b", "ind3"});
  FileLayout layout;
  EXPECT_EQ(WriteDataFile(path, m, layout).error(),
            "The name \"a*b\" contains the EndOfData character \"*\"; please choose another EndOfData character, or "
            "the saved file could not be read again.");
  layout.endOfData = '#';
  EXPECT_TRUE(WriteDataFile(path, m, layout).ok());
  layout.individualHeader = false;  // the names are not written
  layout.endOfData = '*';
  EXPECT_TRUE(WriteDataFile(path, m, layout).ok());
  m.locusLabels = LabelTable({"L{1}", "L2"});
  layout.locusHeader = true;
  EXPECT_FALSE(WriteDataFile(path, m, layout).ok());
}

TEST_F(WriterTest, AFolderThatDoesNotExistIsReported) {
  const auto written = WriteDataFile(dir.File("no/such/folder.txt"), Example(), FileLayout());
  ASSERT_FALSE(written.ok());
  EXPECT_NE(written.error().find("folder.txt"), std::string::npos) << written.error();
}

}  // namespace
}  // namespace vorn
