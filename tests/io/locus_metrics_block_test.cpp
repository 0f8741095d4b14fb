// The [LocusMetrics] block: saved after the group blocks and read back to every digit, passed
// over by the group-block reader (as by any older reader), kept in step with the loci by the
// removal filters and the locus-set selection, and each refusal with its line.
#include "io/locus_metrics_block.h"

#include <gtest/gtest.h>

#include <limits>

#include "groups/selection.h"
#include "io/data_file_reader.h"
#include "io/data_file_writer.h"
#include "io/group_blocks.h"
#include "io/locus_metrics_file.h"
#include "matrix/removal_filters.h"
#include "support/temp_dir.h"
#include "support/test_matrix.h"

namespace vorn {
namespace {

using testing::MatrixFromRows;
using testing::ReadFile;
using testing::TempDir;

constexpr Real kNA = std::numeric_limits<Real>::quiet_NaN();

DataMatrix WithMetrics() {
  DataMatrix matrix = MatrixFromRows({"1010", "0110", "1?01"});
  matrix.locusMetrics = {{"CallRate", "PIC"}, {0.97L, 0.1234567890123456789L, 0.9L, kNA, 1.0L / 3, 0.04L, 0.99L, 0.5L}};
  return matrix;
}

TEST(LocusMetricsBlock, SavedAfterTheGroupBlocksAndReadBack) {
  const DataMatrix matrix = WithMetrics();
  const GroupList groups{{"AllData", {"i1", "i2", "i3"}, false}, {"AllData/PopA", {"i1", "i3"}, false}};
  TempDir dir;
  const std::string path = dir.File("data.txt");
  FileLayout layout;
  layout.locusHeader = true;
  layout.includeGroups = true;
  ASSERT_TRUE(WriteDataFile(path, matrix, layout, groups, {}).ok());
  const std::string text = ReadFile(path);
  EXPECT_NE(text.find("*\r\n\r\n[LocusMetrics]\r\nLocus, CallRate, PIC\r\nl1, 0.97, 0.1234567890123456789\r\n"
                      "l2, 0.9, NA\r\n"),
            std::string::npos)
      << text;
  EXPECT_LT(text.find("[Groups]"), text.find("[LocusMetrics]"));

  auto loaded = ReadDataFile(path, layout);
  ASSERT_TRUE(loaded.ok()) << loaded.error();
  EXPECT_TRUE(loaded->locusMetrics.Empty());
  GroupList read;
  ASSERT_TRUE(ReadBlock(path, GroupBlock::Groups, *loaded, read).ok());
  EXPECT_EQ(read, groups);
  GroupList sets;
  ASSERT_TRUE(ReadBlock(path, GroupBlock::LocusSets, *loaded, sets).ok());
  EXPECT_TRUE(sets.empty());
  auto metrics = ReadMetricsBlock(path, *loaded);
  ASSERT_TRUE(metrics.ok()) << metrics.error();
  loaded->locusMetrics = *metrics;
  EXPECT_EQ(*loaded, matrix);
}

// Without locus names in the table the block names the loci as the reader will: Locus1, ...
TEST(LocusMetricsBlock, ReadBackWithoutLocusNamesAndWithoutGroups) {
  DataMatrix matrix = WithMetrics();
  TempDir dir;
  const std::string path = dir.File("data.txt");
  const FileLayout layout;
  ASSERT_TRUE(WriteDataFile(path, matrix, layout).ok());
  EXPECT_NE(ReadFile(path).find("[LocusMetrics]\r\nLocus, CallRate, PIC\r\nLocus1, 0.97"), std::string::npos);
  auto loaded = ReadDataFile(path, layout);
  ASSERT_TRUE(loaded.ok()) << loaded.error();
  auto metrics = ReadMetricsBlock(path, *loaded);
  ASSERT_TRUE(metrics.ok()) << metrics.error();
  EXPECT_EQ(*metrics, matrix.locusMetrics);
}

TEST(LocusMetricsBlock, ExportWritesOneRowPerLocus) {
  EXPECT_EQ(LocusMetricsText(WithMetrics()),
            "Locus,CallRate,PIC\r\nl1,0.97,0.1234567890123456789\r\nl2,0.9,NA\r\nl3,0.33333333333333333334,0.04\r\n"
            "l4,0.99,0.5\r\n");
  TempDir dir;
  const auto refused = WriteLocusMetricsFile(dir.File("m.csv"), MatrixFromRows({"10"}));
  ASSERT_FALSE(refused.ok());
  EXPECT_TRUE(testing::Entries(dir).empty());
}

TEST(LocusMetricsBlock, MetricsFollowTheLociThroughRemovalAndSelection) {
  const DataMatrix matrix = WithMetrics();
  auto removal = RemoveLociByMetric(matrix, 0, false, 0.95L);  // CallRate below 0.95: l2 and l3
  ASSERT_TRUE(removal.ok());
  EXPECT_EQ(removal->removedCount, 2u);
  EXPECT_EQ(removal->matrix.locusLabels, LabelTable({"l1", "l4"}));
  EXPECT_EQ(removal->matrix.locusMetrics.values, (std::vector<Real>{0.97L, 0.1234567890123456789L, 0.99L, 0.5L}));
  auto nanStays = RemoveLociByMetric(matrix, 1, true, 0.2L);  // PIC above 0.2: l4; l2 has none
  ASSERT_TRUE(nanStays.ok());
  EXPECT_EQ(nanStays->matrix.locusLabels, LabelTable({"l1", "l2", "l3"}));
  auto individuals = RemoveIndividualsWithMissingData(matrix, 0.1);
  ASSERT_TRUE(individuals.ok());
  EXPECT_EQ(individuals->matrix.locusMetrics, matrix.locusMetrics);

  const GroupList sets{{"AllLoci", {"l1", "l2", "l3", "l4"}, false}, {"Core", {"l2", "l4"}, false}};
  auto core = SelLocSetOnly(matrix, sets, 1);
  ASSERT_TRUE(core.ok());
  EXPECT_EQ(core->locusMetrics.Value(1, 0), 0.99L);
  Workspace ws;
  ws.InstallLoadedMatrix(matrix);
  ws.groups.locusSets = sets;
  ASSERT_TRUE(SelectLocusSet(ws, 1).ok());
  ASSERT_TRUE(SelectLocusSet(ws, 0).ok());
  EXPECT_EQ(ws.data, matrix);
}

struct Refusal {
  const char* what;
  const char* block;
  const char* message;
};

const Refusal kRefusals[] = {
    {"no title line", "[LocusMetrics]\r\nl1, 0.5\r\n*\r\n",
     "The [LocusMetrics] block, line 5: the title line must be \"Locus\" and the names of the metrics"},
    {"a repeated metric", "[LocusMetrics]\r\nLocus, PIC, PIC\r\n",
     "The [LocusMetrics] block, line 5: the metric 'PIC' is named twice"},
    {"another locus", "[LocusMetrics]\r\nLocus, PIC\r\nl2, 0.5\r\n",
     "The [LocusMetrics] block, line 6: the locus 'l2' is not locus 1 of the data, 'l1'"},
    {"a value too many", "[LocusMetrics]\r\nLocus, PIC\r\nl1, 0.5, 0.6\r\n",
     "The [LocusMetrics] block, line 6: 2 values, where the title line names 1 metrics"},
    {"no number", "[LocusMetrics]\r\nLocus, PIC\r\nl1, high\r\n",
     "The [LocusMetrics] block, line 6: 'high' is neither a number nor NA"},
    {"too few loci", "[LocusMetrics]\r\nLocus, PIC\r\nl1, 0.5\r\n*\r\n",
     "The [LocusMetrics] block, line 7: the block holds 1 loci, the data 2"},
    {"not closed", "[LocusMetrics]\r\nLocus, PIC\r\nl1, 0.5\r\nl2, NA\r\n",
     "The [LocusMetrics] block, line 7: the block is not closed by \"*\""},
};

TEST(LocusMetricsBlock, RefusesWithTheLine) {
  const DataMatrix data = MatrixFromRows({"10", "01"});
  TempDir dir;
  for (const Refusal& refusal : kRefusals) {
    const std::string path = dir.Write("d.txt", "l1 l2\r\n10\r\n01\r\n" + std::string(refusal.block));
    auto metrics = ReadMetricsBlock(path, data);
    ASSERT_FALSE(metrics.ok()) << refusal.what;
    EXPECT_EQ(metrics.error(), refusal.message) << refusal.what;
  }
}

}  // namespace
}  // namespace vorn
