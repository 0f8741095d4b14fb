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
  EXPECT_EQ(fromR->matrix.individualLabels, LabelTable({"a_1", "b\"2", "c_3"}));
  EXPECT_EQ(fromR->matrix.cells, (std::vector<Cell>{1, 0, Missing, 0, 0, 1, Missing, 1, 1}));
  ASSERT_EQ(fromR->groups.size(), 2u);
  EXPECT_EQ(fromR->groups[1], (GroupEntry{"AllData/South", {"c_3"}, false}));
}

// Names become what a data file and its group blocks can hold, in UTF-8.
TEST(TableImport, NamesLoseBlanksAndBlockCharactersAndBecomeUtf8) {
  const struct {
    std::string field;
    std::string name;
    std::string groupName;
  } cases[] = {
      {" Smith, J. ", "Smith__J.", "Smith,_J."},
      {"a;b=c", "a_b_c", "a;b_c"},
      {"North/East", "North/East", "North-East"},
      {"M\xFCller", "M\xC3\xBCller", "M\xC3\xBCller"},       // Windows-1252
      {"M\xC3\xBCller", "M\xC3\xBCller", "M\xC3\xBCller"},  // UTF-8 already
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ImportedName(c.field), c.name) << c.field;
    EXPECT_EQ(ImportedGroupName(c.field), c.groupName) << c.field;
  }
}

// A name that held a comma keeps its group through Save and Load; group names of a Windows
// spreadsheet's CSV come in UTF-8 as the individuals' names do.
TEST(TableImport, ImportedNamesAndGroupsSurviveSaveAndLoad) {
  const std::string windows =
      "name;region;population;L1;L2\r\n"
      "\"Smith, J.\";S\xFC" "d;Z\xFCrich;1;0\r\n"
      "M\xFCller;S\xFC" "d;Gen\xE8ve;0;1\r\n"
      "x=y;Nord;Basel;1;1\r\n";
  TableImportOptions options;
  options.groupLines = {2, 3};
  auto table = ReadCsvTable(windows, options);
  ASSERT_TRUE(table.ok()) << table.error();
  EXPECT_EQ(table->matrix.individualLabels, LabelTable({"Smith__J.", "M\xC3\xBCller", "x_y"}));
  std::vector<std::string> names;
  for (const GroupEntry& entry : table->groups) names.push_back(entry.name);
  const std::string south = "AllData/S\xC3\xBC" "d";
  EXPECT_EQ(names, (std::vector<std::string>{south, south + "/Z\xC3\xBCrich", south + "/Gen\xC3\xA8ve", "AllData/Nord",
                                             "AllData/Nord/Basel"}));

  GroupList groups = {GroupEntry{"AllData", table->matrix.individualLabels.All(), false}};
  groups.insert(groups.end(), table->groups.begin(), table->groups.end());
  TempDir dir;
  const std::string path = (dir.Path() / "saved.txt").string();
  auto saved = WriteDataFile(path, table->matrix, FileLayout{}, groups, {});
  ASSERT_TRUE(saved.ok()) << saved.error();
  EXPECT_TRUE(saved->empty());  // no member lost a character
  auto loaded = ReadDataFile(path, FileLayout{});
  ASSERT_TRUE(loaded.ok()) << loaded.error();
  GroupList read;
  ASSERT_TRUE(ReadBlock(path, GroupBlock::Groups, *loaded, read).ok());
  EXPECT_EQ(loaded->individualLabels, table->matrix.individualLabels);
  EXPECT_EQ(read, groups);
}

TEST(TableImport, GenalexPopulationNamesBecomeUtf8) {
  auto table = ReadGenalex("2,2,1,2\n,,,Z\xFCrich\nSample,Pop,L1,L2\ns1,Z\xFCrich,1,0\ns2,Z\xFCrich,0,1\n",
                           GenalexOptions{});
  ASSERT_TRUE(table.ok()) << table.error();
  ASSERT_EQ(table->groups.size(), 1u);
  EXPECT_EQ(table->groups[0].name, "AllData/Z\xC3\xBCrich");
}

// A spreadsheet's "Unicode text" (UTF-16, tab-separated) reads as its UTF-8 twin.
TEST(TableImport, Utf16TablesReadAsTheirUtf8Text) {
  const std::u16string text = u"name\tL1\tL2\r\nM\u00FCller\t1\t0\r\nb\t0\t1\r\n";
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : text) utf16 += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  TempDir dir;
  auto read = ReadFileText(dir.Write("unicode.txt", utf16));
  ASSERT_TRUE(read.ok()) << read.error();
  auto table = ReadCsvTable(*read, TableImportOptions{});
  ASSERT_TRUE(table.ok()) << table.error();
  EXPECT_EQ(table->separator, '\t');
  EXPECT_EQ(table->matrix.individualLabels, LabelTable({"M\xC3\xBCller", "b"}));
  EXPECT_EQ(table->matrix.cells, (std::vector<Cell>{1, 0, 0, 1}));
}

// R's write.table writes no name above the row names, so its header is one field short; a
// spreadsheet may name the separator on a first line "sep=;". Both read as the plain table.
TEST(TableImport, RWriteTableHeaderAndSeparatorLineReadAsThePlainTable) {
  TableImportOptions rows;
  const std::string plain = "name,L1,L2\na,1,0\nb,0,NA\n";
  auto expected = ReadCsvTable(plain, rows);
  ASSERT_TRUE(expected.ok()) << expected.error();
  for (const std::string text : {"\"L1\",\"L2\"\n\"a\",1,0\n\"b\",0,NA\n", "sep=;\r\nname;L1;L2\r\na;1;0\r\nb;0;NA\r\n",
                                 "\xEF\xBB\xBFsep=\t\nL1\tL2\na\t1\t0\nb\t0\tNA\n"}) {
    auto read = ReadCsvTable(text, rows);
    ASSERT_TRUE(read.ok()) << read.error();
    EXPECT_EQ(read->matrix, expected->matrix) << text;
  }
  TableImportOptions columns;
  columns.individualsInRows = false;
  auto transposed = ReadCsvTable("\"a\",\"b\"\n\"L1\",1,0\n\"L2\",0,NA\n", columns);
  ASSERT_TRUE(transposed.ok()) << transposed.error();
  EXPECT_EQ(transposed->matrix, expected->matrix);
  EXPECT_EQ(DetectSeparator("sep=,\na;b;c\n"), ',');
  // Rows are counted as a spreadsheet shows them, without the separator line.
  EXPECT_EQ(ReadCsvTable("sep=;\nname;L1\na;2\n", rows).error(), "Row 2, column 2: '2' is neither present, absent nor missing");
  // Not a separator line: a name that starts so.
  EXPECT_EQ(TableText("sep=;x\n"), "sep=;x\n");
}

// A preview reads the first rows only, without the totals the rest would complete.
TEST(TableImport, APreviewReadsTheFirstRowsOnly) {
  std::string text = "name,L1\n";
  for (int i = 1; i <= 99; ++i) text += "i" + std::to_string(i) + (i == 80 ? ",2\n" : ",1\n");
  TableImportOptions options;
  EXPECT_EQ(ReadCsvTable(text, options).error(), "Row 81, column 2: '2' is neither present, absent nor missing");
  options.rowLimit = 50;
  auto preview = ReadCsvTable(text, options);
  ASSERT_TRUE(preview.ok()) << preview.error();
  EXPECT_TRUE(preview->cut);
  EXPECT_EQ(preview->matrix.individualCount, 49);

  std::string workbook = "1,90,1,90\n,,,P\nSample,Pop,L1\n";
  for (int i = 1; i <= 60; ++i) workbook += "s" + std::to_string(i) + ",P,1\n";
  GenalexOptions genalex;
  EXPECT_EQ(ReadGenalex(workbook, genalex).error(), "Row 1, column 2: row 1 gives 90 samples, the data rows hold 60");
  genalex.rowLimit = 20;
  auto workbookPreview = ReadGenalex(workbook, genalex);
  ASSERT_TRUE(workbookPreview.ok()) << workbookPreview.error();
  EXPECT_TRUE(workbookPreview->cut);
  EXPECT_EQ(workbookPreview->matrix.individualCount, 17);
}

// A value listed for two scores would read as one of them only.
TEST(TableImport, AValueOfTwoScoresIsRefused) {
  const struct {
    std::vector<std::string> presence, absence, missing;
    std::string message;
  } cases[] = {
      {{"1"}, {"1"}, {"NA"}, "Present and absent need different values: '1' is in both."},
      {{"+", "1"}, {"0"}, {"NA", "1"}, "Present and missing need different values: '1' is in both."},
      {{"1"}, {"0", "-1"}, {"NA", "?", "-1", "-9"}, "Absent and missing need different values: '-1' is in both."},
      {{"1"}, {"0"}, {"NA", "?", "-1", "-9"}, ""},
  };
  for (const auto& c : cases) {
    const Status checked = CheckDistinctValues(ScoreValues{c.presence, c.absence, c.missing, true});
    EXPECT_EQ(checked.ok() ? "" : checked.error(), c.message);
  }
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
