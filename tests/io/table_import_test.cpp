// The table imports: a GenAlEx workbook read back through a saved data file, an R write.csv
// table against its semicolon-and-BOM twin, the coordinates file both ways, and every refusal
// with the cell it names.
#include <gtest/gtest.h>

#include <string>

#include "groups/group_model.h"
#include "io/coordinates_file.h"
#include "io/csv_table_import.h"
#include "io/data_file_reader.h"
#include "io/data_file_writer.h"
#include "io/genalex_import.h"
#include "io/group_blocks.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

using testing::ReadFile;
using testing::TempDir;

const std::string kExamples = std::string(VORN_TEST_DATA) + "/../../examples/";

TEST(TableImport, GenalexWorkbookSavedAndLoadedGivesTheSameData) {
  auto table = ReadGenalex(ReadFile(kExamples + "meadow_genalex.csv"), GenalexOptions{});
  ASSERT_TRUE(table.ok()) << table.error();
  EXPECT_EQ(table->matrix.At(1, 3), Missing);
  EXPECT_EQ(table->coordinates.kind, CoordinateKind::LatitudeLongitude);
  EXPECT_EQ(table->coordinates.points.at("m2").second, 9.69);

  GroupList groups = {GroupEntry{"AllData", table->matrix.individualLabels.All(), false}};
  groups.insert(groups.end(), table->groups.begin(), table->groups.end());
  ASSERT_EQ(groups.size(), 6u);
  TempDir dir;
  const std::string path = (dir.Path() / "meadow.txt").string();
  FileLayout layout;
  layout.locusHeader = true;
  ASSERT_TRUE(WriteDataFile(path, table->matrix, layout, groups, {}).ok());
  auto loaded = ReadDataFile(path, layout);
  ASSERT_TRUE(loaded.ok());
  GroupList read;
  ASSERT_TRUE(ReadBlock(path, GroupBlock::Groups, *loaded, read).ok());
  EXPECT_EQ(loaded->cells, table->matrix.cells);
  EXPECT_EQ(loaded->individualLabels, table->matrix.individualLabels);
  EXPECT_EQ(loaded->locusLabels, table->matrix.locusLabels);
  EXPECT_EQ(read, groups);
}

// As R's write.csv(row.names = FALSE) writes a data frame: quoted names and titles, NA for a
// missing score; the twin as a spreadsheet of a decimal-comma locale saves it.
TEST(TableImport, RWriteCsvAndItsSemicolonTwinWithByteOrderMarkReadAlike) {
  const std::string r =
      "\"sample\",\"population\",\"L1\",\"L2\",\"L3\"\n"
      "\"a 1\",\"North\",1,0,NA\n"
      "\"b\"\"2\",\"North\",0,0,1\n"
      "\"c,3\",\"South\",NA,1,1\n";
  const std::string twin =
      "\xEF\xBB\xBFsample;population;L1;L2;L3\r\n"
      "a 1;North;1;0;\r\n"
      "\"b\"\"2\";\"North\";0;0;1\r\n"
      "c,3;South;;1;1\r\n";
  TableImportOptions options;
  options.groupLines = {2};
  auto fromR = ReadCsvTable(r, options);
  auto fromTwin = ReadCsvTable(twin, options);
  ASSERT_TRUE(fromR.ok()) << fromR.error();
  ASSERT_TRUE(fromTwin.ok()) << fromTwin.error();
  EXPECT_EQ(fromTwin->separator, ';');
  EXPECT_EQ(fromR->matrix, fromTwin->matrix);
  EXPECT_EQ(fromR->groups, fromTwin->groups);
  EXPECT_EQ(fromR->matrix.individualLabels, LabelTable({"a_1", "b\"2", "c,3"}));
  EXPECT_EQ(fromR->matrix.cells, (std::vector<Cell>{1, 0, Missing, 0, 0, 1, Missing, 1, 1}));
  ASSERT_EQ(fromR->groups.size(), 2u);
  EXPECT_EQ(fromR->groups[1], (GroupEntry{"AllData/South", {"c,3"}, false}));
}

// Coordinate columns, and the same table transposed with coordinate rows, give the same points;
// an individual whose two cells are empty has none.
TEST(TableImport, CoordinateColumnsAndRowsReadAlike) {
  TableImportOptions options;
  options.coordinateLines = {4, 2};
  options.coordinateKind = CoordinateKind::LatitudeLongitude;
  auto rows = ReadCsvTable("n;lon;L1;lat\na;8,5;1;47\nb;;0;\nc;-170;1;-12.25\n", options);
  options.individualsInRows = false;
  auto columns = ReadCsvTable("n,a,b,c\nlon,8.5,,-170\nL1,1,0,1\nlat,47,,-12.25\n", options);
  for (const auto* read : {&rows, &columns}) {
    ASSERT_TRUE(read->ok()) << read->error();
    EXPECT_EQ((*read)->matrix.cells, (std::vector<Cell>{1, 0, 1}));
    EXPECT_EQ((*read)->coordinates.kind, CoordinateKind::LatitudeLongitude);
    ASSERT_EQ((*read)->coordinates.points.size(), 2u);
    EXPECT_EQ((*read)->coordinates.points.at("a").first, 47.0);
    EXPECT_EQ((*read)->coordinates.points.at("a").second, 8.5);
    EXPECT_EQ((*read)->coordinates.points.at("c").first, -12.25);
  }
}

TEST(TableImport, CoordinatesFileReadsBackWhatItWrites) {
  IndividualCoordinates written;
  written.kind = CoordinateKind::LatitudeLongitude;
  written.points = {{"a", {47.5, -9.25}}, {"b,2", {-0.1, 179.999}}};
  const std::string text = CoordinatesText(written, LabelTable({"b,2", "x", "a"}));
  EXPECT_EQ(text, "name,latitude,longitude\r\n\"b,2\",-0.1,179.999\r\na,47.5,-9.25\r\n");
  auto read = ReadCoordinatesText(text);
  ASSERT_TRUE(read.ok()) << read.error();
  EXPECT_EQ(read->kind, written.kind);
  EXPECT_EQ(read->points.size(), 2u);
  EXPECT_EQ(read->points.at("b,2").second, 179.999);
  auto swapped = ReadCoordinatesText("name;Longitude;Latitude\nq;8,5;47\n");
  ASSERT_TRUE(swapped.ok()) << swapped.error();
  EXPECT_EQ(swapped->points.at("q").first, 47.0);
  EXPECT_EQ(swapped->points.at("q").second, 8.5);
}

enum class Reader { Table, TableWithCoordinates, Genalex, Coordinates };

struct Refusal {
  Reader reader;
  std::string text;
  std::string message;
};

const std::string kGenalexHead = "2,3,2,2,1\n,,,A,B\nSample,Pop,L1,L2\n";

const Refusal kRefusals[] = {
    {Reader::Table, "", "The file is empty."},
    {Reader::Table, " \r\n\r\n", "The file is empty."},
    {Reader::Table, std::string("PK\x03\x04\nab\0c", 9), "Row 2, column 1: the file holds binary data (a NUL byte), not a text table; save the workbook as CSV"},
    {Reader::Table, "n,L1,L2\na,1,0\nb,1\n", "Row 3, column 3: the row ends after 2 columns, where row 1 has 3"},
    {Reader::Table, "n,L1,L2\na,1,0\nb,1,0,1\n", "Row 3, column 4: a value beyond the 3 columns of row 1"},
    {Reader::Table, "n,L1,L2\na,1,0\nb,1,2\n", "Row 3, column 3: '2' is neither present, absent nor missing"},
    {Reader::Table, "n,L1\nsame,1\nsame,0\n", "Row 3, column 1: the name 'same' is already the name of Row 2, column 1"},
    {Reader::Table, "n,L1\nabcdefghijklmnopqrstU,1\nabcdefghijklmnopqrstV,0\n",
     "Row 3, column 1: the name 'abcdefghijklmnopqrstV' (cut to 20 characters: 'abcdefghijklmnopqrst') is already the "
     "name of Row 2, column 1"},
    {Reader::Table, "n,L1\n,1\n", "Row 2, column 1: the individual has no name"},
    {Reader::Table, "n,L1\n\"a,1\n", "Row 2, column 1: the quoted field is not closed before the end of the file"},
    {Reader::Table, "n\na\n", "The input file holds no scores."},
    {Reader::TableWithCoordinates, "n,lat,lon,L1\na,95,0,1\n", "Row 2, column 2: a latitude lies between -90 and 90"},
    {Reader::TableWithCoordinates, "n,lat,lon,L1\na,x,y,1\n", "Row 2, column 2: 'x' is not a number"},
    {Reader::TableWithCoordinates, "n,lat\na,1\n", "Column 3 is chosen, but row 1 has 2 columns"},
    {Reader::Genalex, kGenalexHead + "s1,A,1,0\ns2,A,1,-1\ns3,B,0,1\n", ""},
    {Reader::Genalex, "2,3,2,2,1\n,,,A,B\nSample,Pop,L1\ns1,A,1,0\n",
     "Row 3, column 4: row 1, column 1 gives 2 loci, but this column has no locus name"},
    {Reader::Genalex, "1,3,2,2,1\n,,,A,B\nSample,Pop,L1,L2\ns1,A,1,0\n",
     "Row 3, column 4: row 1, column 1 gives 1 loci, but the header holds another: 'L2'"},
    {Reader::Genalex, kGenalexHead + "s1,A,1,0\ns2,A,1,0\n", "Row 1, column 2: row 1 gives 3 samples, the data rows hold 2"},
    {Reader::Genalex, kGenalexHead + "s1,A,1,0\ns2,A,1,0\ns3,A,1,0\n",
     "Row 1, column 3: row 1 gives 2 populations, the data hold 1"},
    {Reader::Genalex, kGenalexHead + "s1,A,1,0\ns2,B,1,0\ns3,B,1,0\n",
     "Row 1, column 4: row 1 gives population 'A' 2 samples, the data 1"},
    {Reader::Genalex, kGenalexHead + "s1,B,1,0\n",
     "Row 2, column 4: row 2 names population 1 'A', but the data's population 1 is 'B' (row 4)"},
    {Reader::Genalex, kGenalexHead + "s1,A,1,\n", "Row 4, column 4: '' is neither present, absent nor missing"},
    {Reader::Genalex, "x,3,2,2,1\n", "Row 1, column 1: 'x' is not a number of loci"},
    {Reader::Genalex, "2,70000,2,2,1\n", "Row 1, column 2: the number of samples must lie between 1 and 65535"},
    {Reader::Genalex, "2,3,2,2,1,,1,1\n,,,A,B\n", "Row 1, column 7: the regions hold 1 populations, row 1 gives 2"},
    {Reader::Genalex, "2,3,2,2,1,,1,888888888882\n", "Row 1, column 8: the regions hold more populations than the 2 row 1 gives"},
    {Reader::Genalex, "2,1,1,1\n,,,A\nSample,Pop,L1,L2,,X,Y\ns1,A,1,0,,1.5,x\n", "Row 4, column 7: 'x' is not a number"},
    {Reader::Coordinates, "name,east,north\n", "Row 1, column 2: the titles must be name, x, y or name, latitude, longitude"},
    {Reader::Coordinates, "name,lat,lon\na,91,0\n", "Row 2, column 2: a latitude lies between -90 and 90"},
};

class TableRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(TableRefusal, NamesTheCell) {
  const Refusal& refusal = GetParam();
  std::string message;
  switch (refusal.reader) {
    case Reader::Table: {
      auto read = ReadCsvTable(refusal.text, TableImportOptions{});
      if (!read) message = read.error();
      break;
    }
    case Reader::TableWithCoordinates: {
      TableImportOptions options;
      options.coordinateLines = {2, 3};
      options.coordinateKind = CoordinateKind::LatitudeLongitude;
      auto read = ReadCsvTable(refusal.text, options);
      if (!read) message = read.error();
      break;
    }
    case Reader::Genalex: {
      auto read = ReadGenalex(refusal.text, GenalexOptions{});
      if (!read) message = read.error();
      break;
    }
    case Reader::Coordinates: {
      auto read = ReadCoordinatesText(refusal.text);
      if (!read) message = read.error();
      break;
    }
  }
  EXPECT_EQ(message, refusal.message);
}

INSTANTIATE_TEST_SUITE_P(Cases, TableRefusal, ::testing::ValuesIn(kRefusals));

}  // namespace
}  // namespace vorn
