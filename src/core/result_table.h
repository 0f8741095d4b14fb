// A table of texts, its first row the header, written two ways: aligned for the analysis file
// (the first column left-aligned, the others right-aligned, two blanks between columns, no blank
// at a line's end) and tab-separated for a spreadsheet.
#pragma once

#include <string>
#include <vector>

namespace vorn {

struct ResultTable {
  std::vector<std::vector<std::string>> rows;

  std::vector<std::string> Aligned() const;
  std::vector<std::string> TabSeparated() const;
};

}  // namespace vorn
