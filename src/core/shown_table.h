// What a window's view of a ResultTable needs that is no matter of the window: the order in
// which a click on a column's header sorts its cells, and the text a copy of a selection gives.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/result_table.h"

namespace vorn {

// The cells of a column in sorted order: numbers ("0.0125", "-3", "1e-05", "12.50 %") by their
// value and before texts, texts by their characters, empty cells last. True when a comes before b.
bool CellBefore(const std::string& a, const std::string& b);

// The selected cells of table (its first row the header) as tab-separated lines, each ending in
// a line feed: the header's cells of the selected columns first, then each selected row's cells.
// rows count the rows below the header from 0; both lists in the order shown.
std::string SelectionText(const ResultTable& table, const std::vector<std::size_t>& rows,
                          const std::vector<std::size_t>& columns);

}  // namespace vorn
