// The presence/absence report import: a report written from a known matrix gives it back with
// its metrics to every digit and its names, in memory and through the file stream whose pieces
// cut rows apart; each refusal names its row and column.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "io/dart_report_import.h"
#include "support/report_text.h"
#include "support/temp_dir.h"
#include "support/test_matrix.h"

namespace vorn {
namespace {

using testing::RandomMatrix;
using testing::ReportText;
using testing::TempDir;

// Metrics with every digit a long double holds, and a locus without a PIC.
DataMatrix KnownMatrix(std::size_t individuals, std::size_t loci) {
  std::mt19937 engine(20261209);
  DataMatrix matrix = RandomMatrix(individuals, loci, 0.1, 0.4, engine);
  matrix.locusMetrics.names = {"CallRate", "PIC", "Reproducibility"};
  std::uniform_real_distribution<long double> share(0, 1);
  for (std::size_t l = 0; l < loci; ++l) {
    for (std::size_t m = 0; m < 3; ++m) matrix.locusMetrics.values.push_back(share(engine) / 3);
  }
  matrix.locusMetrics.values[1] = std::numeric_limits<Real>::quiet_NaN();
  return matrix;
}

TEST(DartReportImport, ReportOfAKnownMatrixGivesItBack) {
  const DataMatrix known = KnownMatrix(7, 12);
  auto stream = CsvRecordStream::FromText(ReportText(known));
  auto table = ReadDartReport(stream, ReportImportOptions{});
  ASSERT_TRUE(table.ok()) << table.error();
  EXPECT_EQ(table->matrix, known);
  EXPECT_TRUE(std::isnan(table->matrix.locusMetrics.Value(0, 1)));
  EXPECT_EQ(table->matrix.locusMetrics.names, known.locusMetrics.names);  // AlleleSequence holds no number
}

// 300 individuals by 2000 loci is larger than a block of the stream, with LF line ends.
TEST(DartReportImport, FileStreamReadsRowsCutBetweenBlocks) {
  const DataMatrix known = KnownMatrix(300, 2000);
  TempDir dir;
  const std::string path = dir.Write("report.csv", "\xEF\xBB\xBF" + ReportText(known, 3, "\n"));
  auto table = ReadDartReportFile(path, ReportImportOptions{});
  ASSERT_TRUE(table.ok()) << table.error();
  EXPECT_EQ(table->matrix, known);
}

TEST(DartReportImport, LastMetricNamesTheMetricColumnsWithoutTopRows) {
  const DataMatrix known = KnownMatrix(4, 5);
  std::string text = ReportText(known, 0);
  ReportImportOptions options;
  options.lastMetric = "Reproducibility";
  auto stream = CsvRecordStream::FromText(text);
  auto table = ReadDartReport(stream, options);
  ASSERT_TRUE(table.ok()) << table.error();
  EXPECT_EQ(table->matrix, known);
}

struct Refusal {
  const char* what;
  const char* text;
  const char* message;
};

const Refusal kRefusals[] = {
    {"too few score columns", "*,*,,\nCloneID,CallRate,a,b\nm1,0.9,1,0\nm2,0.8,1\n",
     "Row 4, column 4: the row ends after 3 columns, where row 2 has 4"},
    {"too many score columns", "*,*,,\nCloneID,CallRate,a,b\nm1,0.9,1,0,1\n",
     "Row 3, column 5: a value beyond the 4 columns of row 2"},
    {"a score other than 0, 1 or -", "*,*,,\nCloneID,CallRate,a,b\nm1,0.9,1,2\n",
     "Row 3, column 4: '2' is neither present, absent nor missing"},
    {"an empty score", "*,*,,\nCloneID,CallRate,a,b\nm1,0.9,,1\n",
     "Row 3, column 3: '' is neither present, absent nor missing"},
    {"a repeated marker", "*,*,,\nCloneID,CallRate,a,b\nm1,0.9,1,0\nm1,0.8,0,0\n",
     "Row 4, column 1: the name 'm1' is already the name of Row 3, column 1"},
    {"a marker without a name", "*,*,,\nCloneID,CallRate,a,b\n ,0.9,1,0\n",
     "Row 3, column 1: the marker has no name"},
    {"a repeated individual", "*,*,,\nCloneID,CallRate,a,a\nm1,0.9,1,0\n",
     "Row 2, column 4: the name 'a' is already the name of Row 2, column 3"},
    {"top rows that disagree", "*,*,,\n*,,,\nCloneID,CallRate,a,b\n",
     "Row 2, column 2: the top rows mark different metric columns: row 1 marks 2, this row 1"},
    {"no top rows", "CloneID,CallRate,a,b\nm1,0.9,1,0\n",
     "Row 1, column 1: no top rows mark the metric columns with \"*\"; name the last metric column instead"},
    {"no marker column", "*,*,,\nMarker,CallRate,a,b\nm1,0.9,1,0\n",
     "Row 2: none of the 2 metric columns is named 'CloneID', the column of the marker names"},
    {"no individuals", "*,*\nCloneID,CallRate\nm1,0.9\n", "Row 2, column 3: no individuals follow the 2 metric columns"},
    {"a repeated metric", "*,*,*,\nCloneID,PIC,PIC,a\nm1,0.1,0.2,1\n",
     "Row 2, column 3: the metric 'PIC' is already the one of column 2"},
    {"no marker rows", "*,*,,\nCloneID,CallRate,a,b\n", "The report holds no marker rows after its header row 2."},
    {"no header", "*,*,,\n", "The report ends before its header row."},
    {"a quote left open", "*,*,,\nCloneID,CallRate,a,b\nm1,\"0.9,1,0\n",
     "Row 3, column 2: the quoted field is not closed before the end of the file"},
};

TEST(DartReportImport, RefusesWithRowAndColumn) {
  for (const Refusal& refusal : kRefusals) {
    auto stream = CsvRecordStream::FromText(refusal.text);
    auto table = ReadDartReport(stream, ReportImportOptions{});
    ASSERT_FALSE(table.ok()) << refusal.what;
    EXPECT_EQ(table.error(), refusal.message) << refusal.what;
  }
}

TEST(DartReportImport, FileRefusalBeginsWithItsPathAndLastMetricMustExist) {
  TempDir dir;
  const std::string path = dir.Write("r.csv", "CloneID,CallRate,a\nm1,0.9,1\n");
  ReportImportOptions options;
  options.lastMetric = "PIC";
  auto table = ReadDartReportFile(path, options);
  ASSERT_FALSE(table.ok());
  EXPECT_EQ(table.error(), path + ": Row 1: no column is named 'PIC', the last metric column");
}

}  // namespace
}  // namespace vorn
