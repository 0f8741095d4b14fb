#include "commands/data/grid_clipboard.h"

#include <vector>

#include "core/text_lines.h"

namespace vorn {
namespace {

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t tab = line.find('\t');; tab = line.find('\t')) {
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

// The block's lines, each split at its tabs, without the empty line a final line break leaves.
std::vector<std::vector<std::string_view>> Records(std::string_view text) {
  std::vector<std::vector<std::string_view>> records;
  for (std::string_view line : TextLines(text)) records.push_back(Fields(line));
  while (!records.empty() && records.back().size() == 1 && records.back()[0].empty()) records.pop_back();
  return records;
}

// The names of the individuals and loci of the grid's range, individuals first.
ScoreBlock NamesOf(const DataTable& table, GridRange range) {
  ScoreBlock block;
  std::vector<std::string> rows, columns;
  for (std::size_t r = 0; r < range.rows; ++r) rows.push_back(table.RowName(range.top + r));
  for (std::size_t c = 0; c < range.columns; ++c) columns.push_back(table.ColumnName(range.left + c));
  block.individuals = table.RowsAreIndividuals() ? rows : columns;
  block.loci = table.RowsAreIndividuals() ? columns : rows;
  return block;
}

}  // namespace

std::string CopiedText(const DataTable& table, const FileLayout& layout, GridRange range) {
  std::string text;
  for (std::size_t c = 0; c < range.columns; ++c) text += "\t" + table.ColumnName(range.left + c);
  text += "\n";
  for (std::size_t r = 0; r < range.rows; ++r) {
    text += table.RowName(range.top + r);
    for (std::size_t c = 0; c < range.columns; ++c) {
      text += '\t';
      text += SymbolOf(table.ScoreAt(range.top + r, range.left + c), layout);
    }
    text += "\n";
  }
  return text;
}

ScoreBlock RangeBlock(const DataTable& table, GridRange range, const std::string& score) {
  ScoreBlock block = NamesOf(table, range);
  block.scores.push_back(score);
  return block;
}

Result<ScoreBlock> PastedBlock(const DataTable& table, const FileLayout& layout, std::string_view text, GridRange selection) {
  auto records = Records(text);
  if (records.size() > 1 && records[0].size() > 1 && records[0][0].empty()) {
    records.erase(records.begin());
    for (auto& record : records) record.erase(record.begin());
  }
  if (records.empty() || records[0].empty()) return Failure{"The clipboard holds no scores to paste."};
  const std::size_t rows = records.size(), columns = records[0].size();
  if (rows == 1 && columns == 1) return SymbolBlock(RangeBlock(table, selection, std::string(records[0][0])), layout);
  const std::size_t top = selection.top, left = selection.left;
  for (std::size_t r = 0; r < rows; ++r) {
    if (records[r].size() != columns) {
      return Failure{"Line " + std::to_string(r + 1) + " of the pasted block has " + std::to_string(records[r].size()) +
                     " cells where the first has " + std::to_string(columns) + "."};
    }
  }
  if (top + rows > table.Rows() || left + columns > table.Columns()) {
    return Failure{"The pasted block of " + std::to_string(rows) + " rows and " + std::to_string(columns) +
                   " columns does not fit in the grid from " + table.RowName(top) + " " + table.ColumnName(left) + " on."};
  }
  ScoreBlock block = NamesOf(table, GridRange{top, left, rows, columns});
  const std::size_t width = block.loci.size();
  block.scores.resize(block.individuals.size() * width);
  for (std::size_t r = 0; r < rows; ++r) {
    for (std::size_t c = 0; c < columns; ++c) {
      const std::size_t at = table.RowsAreIndividuals() ? r * width + c : c * width + r;
      block.scores[at] = std::string(records[r][c]);
    }
  }
  return SymbolBlock(block, layout);
}

}  // namespace vorn
