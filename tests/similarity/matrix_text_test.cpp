#include "similarity/matrix_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "support/temp_dir.h"

namespace vorn {
namespace {

using testing::ReadFile;
using testing::TempDir;

std::string Written(const DistanceMatrix& matrix, std::string_view title, const LabelTable& labels) {
  TempDir dir;
  const std::string path = (dir.Path() / "matrix.txt").string();
  auto file = TextFileWriter::Open(path, WriteMode::Replace);
  WriteMatrixText(*file, matrix, title, labels);
  EXPECT_TRUE(file->Close().ok());
  return ReadFile(path);
}

TEST(WriteMatrixText, ThreeIndividualsWithLabels) {
  DistanceMatrix matrix(3);
  matrix.entries = {1, 0.5L, 1, 0.25L, 1.0L / 3, 1};
  EXPECT_EQ(Written(matrix, "Standard Jaccard coefficients", LabelTable({"A", "B", "C"})),
            "Standard Jaccard coefficients\r\n"
            "\r\n"
            "A            B            C            \r\n"
            "1.0000000000 \r\n"
            "0.5000000000 1.0000000000 \r\n"
            "0.2500000000 0.3333333333 1.0000000000 \r\n"
            "\r\n");
}

TEST(WriteMatrixText, LabelsOfTwelveAndThirteenCharacters) {
  DistanceMatrix matrix(2);
  matrix.entries = {0, 7, 0};
  EXPECT_EQ(Written(matrix, "t", LabelTable({"abcdefghijkl", "abcdefghijklmnopqrst"})),
            "t\r\n\r\n"
            "abcdefghijkl abcdefghijkl \r\n"
            "0.0000000000 \r\n"
            "7.0000000000 0.0000000000 \r\n"
            "\r\n");
}

TEST(WriteMatrixText, WithoutLabelsTheRowsFollowTheEmptyLine) {
  DistanceMatrix matrix(1);
  matrix.entries = {1};
  EXPECT_EQ(Written(matrix, "t", LabelTable()), "t\r\n\r\n1.0000000000 \r\n\r\n");
}

TEST(WriteMatrixText, EntriesWithoutAValueAndLargeOnes) {
  std::string text;
  AppendMatrixEntry(text, std::numeric_limits<Real>::quiet_NaN());
  EXPECT_EQ(text, "        NaN");
  text.clear();
  AppendMatrixEntry(text, -1);
  EXPECT_EQ(text, "-1.0000000000");
  text.clear();
  AppendMatrixEntry(text, 65535);
  EXPECT_EQ(text, "65535.0000000000");
  text.clear();
  AppendMatrixEntry(text, -std::numeric_limits<Real>::infinity());
  EXPECT_EQ(text, "       -Inf");
}

// The report's table holds each row's entries as the file writes them, and whole labels.
TEST(MatrixTable, HoldsTheFilesEntriesUnderWholeLabels) {
  DistanceMatrix matrix(3);
  matrix.entries = {1, 0.5L, 1, std::numeric_limits<Real>::quiet_NaN(), 1.0L / 3, -1};
  const ResultTable table = MatrixTable(matrix, LabelTable({"A", "B", "Thirteen-char"}));
  EXPECT_EQ(table.rows[0], (std::vector<std::string>{"", "A", "B", "Thirteen-char"}));
  EXPECT_EQ(table.rows[2], (std::vector<std::string>{"B", "0.5000000000", "1.0000000000", ""}));
  EXPECT_EQ(table.rows[3], (std::vector<std::string>{"Thirteen-char", "NaN", "0.3333333333", "-1.0000000000"}));
  EXPECT_EQ(MatrixRowText(matrix, 2), "        NaN 0.3333333333 -1.0000000000 ");
  EXPECT_EQ(MatrixTable(matrix, LabelTable()).rows[0], (std::vector<std::string>{"", "1", "2", "3"}));
}

// The rows of a matrix large enough to be written on all cores, with entries of every kind
// (values the quick path writes, and not-a-number, infinite and huge ones it hands over), are
// exactly the entries written one by one.
TEST(WriteMatrixText, RowsEqualTheEntriesWrittenOneByOne) {
  const std::size_t n = 800;
  DistanceMatrix matrix(n);
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> uniform(-2.0, 2.0);
  for (Real& x : matrix.entries) x = static_cast<Real>(uniform(random)) / 3;
  matrix(17, 3) = std::numeric_limits<Real>::quiet_NaN();
  matrix(400, 399) = std::numeric_limits<Real>::infinity();
  matrix(799, 0) = std::ldexp(1.0L, 70);
  matrix(5, 5) = 0.00000000005L;  // a tie at the tenth decimal rounds to even

  std::string expected = "t\r\n\r\n";
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j <= i; ++j) {
      AppendMatrixEntry(expected, matrix(i, j));
      expected += ' ';
    }
    expected += "\r\n";
  }
  expected += "\r\n";
  EXPECT_TRUE(Written(matrix, "t", LabelTable()) == expected);
}

TEST(DistanceTitle, NamesTheTransformationItsOwnWay) {
  using T = DistanceTransformation;
  EXPECT_EQ(DistanceTitle(T::OneMinusS, "Standard Jaccard coefficients"), "Distances d=1-s (Standard Jaccard coefficients)");
  EXPECT_EQ(DistanceTitle(T::SqrtOneMinusS, "x"), "Distances d=SQRT(1-s) (x)");
  EXPECT_EQ(DistanceTitle(T::SquaredOneMinusS, "x"), "Distances d=SQ(1-s) (x)");
  EXPECT_EQ(DistanceTitle(T::D, "x"), "Distances untranformed (x)");
  EXPECT_EQ(DistanceTitle(T::SqrtD, "x"), "Distances d'=SQRT(d) (x)");
  EXPECT_EQ(DistanceTitle(T::SquaredD, "x"), "Distances d'= SQ(d) (x)");
}

}  // namespace
}  // namespace vorn
