// Copy and paste between the Data grid and a spreadsheet. Copied text is tab-separated as a
// spreadsheet pastes it: a first line of the column names after an empty cell, then per row its
// name and the scores' symbols, lines ended by "\n". A pasted block (from a spreadsheet or such a
// copy) becomes the scores of the cells it covers from the top left of the selection; it is
// checked whole, so one bad cell changes nothing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "commands/data/data_table.h"
#include "core/result.h"
#include "editing/score_edit.h"

namespace vorn {

// Rows and columns as the grid shows them, counted in scores (no coordinate lines).
struct GridRange {
  std::size_t top = 0;
  std::size_t left = 0;
  std::size_t rows = 1;
  std::size_t columns = 1;
};

std::string CopiedText(const DataTable& table, const FileLayout& layout, GridRange range);

// The cells of range, each set to the text given.
ScoreBlock RangeBlock(const DataTable& table, GridRange range, const std::string& score);

// The scores of a block pasted into the selection, as layout symbols: one score fills the whole
// selection, a larger block covers the cells from the selection's top left cell on. A block whose
// first line and first column hold names (its first cell empty, as CopiedText writes it) pastes
// its scores only. Refuses a block that is empty or does not fit in the grid there, and a cell
// that is no score, naming it.
Result<ScoreBlock> PastedBlock(const DataTable& table, const FileLayout& layout, std::string_view text, GridRange selection);

}  // namespace vorn
