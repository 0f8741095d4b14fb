#include "core/shown_table.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace vorn {
namespace {

// The value of a cell that is a number, maybe followed by a percent sign; nothing for a text.
std::optional<double> NumberOf(const std::string& cell) {
  std::size_t end = cell.size();
  while (end > 0 && cell[end - 1] == ' ') --end;
  if (end > 0 && cell[end - 1] == '%') --end;
  while (end > 0 && cell[end - 1] == ' ') --end;
  std::size_t start = 0;
  while (start < end && cell[start] == ' ') ++start;
  if (start < end && cell[start] == '+') ++start;
  if (start == end) return std::nullopt;
  double value = 0;
  const auto [last, error] = std::from_chars(cell.data() + start, cell.data() + end, value);
  // "NaN" and "Inf" are what a cell without a value says: texts, not numbers to order.
  if (error != std::errc() || last != cell.data() + end || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

bool CellBefore(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return !a.empty() && b.empty();
  const std::optional<double> x = NumberOf(a), y = NumberOf(b);
  if (x && y) return *x < *y;
  if (x || y) return x.has_value();
  return a < b;
}

std::string SelectionText(const ResultTable& table, const std::vector<std::size_t>& rows,
                          const std::vector<std::size_t>& columns) {
  const auto line = [&](const std::vector<std::string>& cells) {
    std::string text;
    for (std::size_t k = 0; k < columns.size(); ++k) {
      if (k > 0) text += '\t';
      if (columns[k] < cells.size()) text += cells[columns[k]];
    }
    return text + '\n';
  };
  if (table.rows.empty() || columns.empty()) return "";
  std::string text = line(table.rows.front());
  for (std::size_t row : rows) {
    if (row + 1 < table.rows.size()) text += line(table.rows[row + 1]);
  }
  return text;
}

}  // namespace vorn
