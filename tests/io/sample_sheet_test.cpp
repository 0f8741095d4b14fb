// The sample sheet: groups and coordinates for the individuals of the data by name, the names
// found on one side only listed, and each refusal with its cell.
#include "io/sample_sheet.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

const char* const kSheet =
    "sample,region,site,lat,lon,notes\r\n"
    "\"AUS 01\",East,Hill,-33.5,151.25,ok\r\n"
    "AUS_02,East,Creek,-33.75,151,\r\n"
    "NZ_01,West,Bay,,,late\r\n"
    "XX_09,West,Bay,-41,174.5,not genotyped\r\n";

TEST(SampleSheet, GivesGroupsAndCoordinatesAndListsTheUnmatchedNames) {
  SampleSheetOptions options;
  options.groupColumns = {2, 3};
  options.coordinateColumns = {4, 5};
  options.coordinateKind = CoordinateKind::LatitudeLongitude;
  auto sheet = ReadSampleSheet(kSheet, options);
  ASSERT_TRUE(sheet.ok()) << sheet.error();
  auto match = MatchSampleSheet(*sheet, LabelTable({"NZ_01", "AUS_01", "AUS_02", "NZ_02"}));
  ASSERT_TRUE(match.ok()) << match.error();
  EXPECT_EQ(match->matched, 3u);
  const GroupList expected{{"AllData/West", {"NZ_01"}, false},
                           {"AllData/West/Bay", {"NZ_01"}, false},
                           {"AllData/East", {"AUS_01", "AUS_02"}, false},
                           {"AllData/East/Hill", {"AUS_01"}, false},
                           {"AllData/East/Creek", {"AUS_02"}, false}};
  EXPECT_EQ(match->groups, expected);
  EXPECT_EQ(match->coordinates.points.size(), 2u);
  EXPECT_EQ(match->coordinates.points.at("AUS_01").second, 151.25);
  EXPECT_EQ(SheetMismatchText(*match),
            "1 name of the sample sheet is not an individual of the data: XX_09\r\n"
            "1 individual of the data is not in the sample sheet: NZ_02");
}

struct Refusal {
  const char* what;
  const char* sheet;
  std::vector<std::size_t> groups;
  std::vector<std::size_t> coordinates;
  const char* message;
};

TEST(SampleSheet, RefusesWithTheCell) {
  const Refusal refusals[] = {
      {"a column beyond the titles", "a,b\r\nx,1\r\n", {3}, {}, "Row 1, column 3: column 3 lies beyond the 2 columns of the title row"},
      {"a column chosen twice", "a,b,c\r\nx,1,2\r\n", {2}, {2, 3}, "Row 1, column 2: the column is chosen twice"},
      {"a ragged row", "a,b\r\nx\r\n", {2}, {}, "Row 2, column 2: the row ends after 1 columns, where row 1 has 2"},
      {"a repeated name", "a,b\r\nx,1\r\nx,2\r\n", {}, {}, "Row 3, column 1: the name 'x' is already the name of Row 2, column 1"},
      {"an empty group", "a,b\r\nx,\r\n", {2}, {}, "Row 2, column 2: the group name is empty"},
      {"a coordinate that is no number", "a,b,c\r\nx,1,north\r\n", {}, {2, 3}, ""},
      {"no rows", "a,b\r\n", {}, {}, "The sample sheet holds no rows below its title row."},
      {"no match", "a,b\r\nq,1\r\n", {}, {}, "None of the names of the sample sheet is an individual of the data."},
  };
  for (const Refusal& refusal : refusals) {
    SampleSheetOptions options;
    options.groupColumns = refusal.groups;
    options.coordinateColumns = refusal.coordinates;
    auto sheet = ReadSampleSheet(refusal.sheet, options);
    std::string error = sheet.ok() ? std::string() : sheet.error();
    if (sheet.ok()) {
      auto match = MatchSampleSheet(*sheet, LabelTable({"x"}));
      error = match.ok() ? std::string() : match.error();
    }
    EXPECT_FALSE(error.empty()) << refusal.what;
    if (*refusal.message) EXPECT_EQ(error, refusal.message) << refusal.what;
    else EXPECT_TRUE(error.starts_with("Row 2, column 3: ")) << refusal.what << ": " << error;
  }
}

}  // namespace
}  // namespace vorn
