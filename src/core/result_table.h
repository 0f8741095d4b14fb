// A table of texts, its first row the header, written two ways: aligned for the analysis file
// (the first column left-aligned, the others right-aligned, two blanks between columns, no blank
// at a line's end), tab-separated for a spreadsheet, and as comma-separated values.
#pragma once

#include <string>
#include <vector>

namespace vorn {

struct ResultTable {
  std::vector<std::vector<std::string>> rows;

  std::vector<std::string> Aligned() const;
  std::vector<std::string> TabSeparated() const;
  // The whole table as CSV (RFC 4180): a cell holding a comma, a quote or a line break in
  // quotes, its quotes doubled; each row ends in CR LF.
  std::string Csv() const;
};

}  // namespace vorn
