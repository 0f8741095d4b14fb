// The table view's logic without a window: the order a header click sorts by, the copied text of
// a selection, and a table as CSV.
#include "core/shown_table.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vorn {
namespace {

TEST(ShownTable, SortsNumbersByValueBeforeTextsAndEmptyCellsLast) {
  std::vector<std::string> cells = {"b", "", "10", "-3", "2.5", "1e-05", "12.50 %", "NaN", "undefined", "a", "+4"};
  std::stable_sort(cells.begin(), cells.end(), CellBefore);
  EXPECT_EQ(cells, (std::vector<std::string>{"-3", "1e-05", "2.5", "+4", "10", "12.50 %", "NaN", "a", "b",
                                             "undefined", ""}));
  EXPECT_FALSE(CellBefore("2", "2.0"));
  EXPECT_FALSE(CellBefore("2.0", "2"));
}

TEST(ShownTable, CopiesTheSelectedCellsUnderTheirHeaders) {
  const ResultTable table{{{"Pair", "t", "p"}, {"B vs. A", "2.1", "0.04"}, {"C vs. A", "0.3", "0.77"}}};
  EXPECT_EQ(SelectionText(table, {1}, {0, 2}), "Pair\tp\nC vs. A\t0.77\n");
  EXPECT_EQ(SelectionText(table, {0, 1}, {2, 1}), "p\tt\n0.04\t2.1\n0.77\t0.3\n");
  EXPECT_EQ(SelectionText(table, {}, {1}), "t\n");
  EXPECT_EQ(SelectionText(table, {0}, {}), "");
}

TEST(ShownTable, WritesCsvQuotingCommasQuotesAndLineBreaks) {
  const ResultTable table{{{"Merged individual", "Replicates"}, {"s1", "a, b"}, {"say \"x\"", "line\nbreak"}, {"", "1"}}};
  EXPECT_EQ(table.Csv(),
            "Merged individual,Replicates\r\ns1,\"a, b\"\r\n\"say \"\"x\"\"\",\"line\nbreak\"\r\n,1\r\n");
}

}  // namespace
}  // namespace vorn
