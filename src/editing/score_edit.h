// Setting scores by hand: a block of individuals by loci, named as the matrix names them, with
// one score text per cell (or one for all), checked whole before anything changes. The symbols
// are those of the file layout (presence, absence, ambiguity as loaded); the grid's own 1, 0
// and ? are read too, after them. A change keeps its position and both scores, so it can be
// undone without a copy of the matrix.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/data_matrix.h"
#include "core/result.h"
#include "core/settings.h"

namespace vorn {

// Individuals by loci; scores holds individuals.size() x loci.size() texts, individual by
// individual, or one text set in every cell.
struct ScoreBlock {
  std::vector<std::string> individuals;
  std::vector<std::string> loci;
  std::vector<std::string> scores;
};

struct ScoreChange {
  std::size_t position = 0;  // in the locus-major layout
  Cell before = Missing;
  Cell after = Missing;

  bool operator==(const ScoreChange&) const = default;
};

// The score a text stands for (blanks around it ignored): the layout's symbols first (a
// symbol given to two scores reads as the first of absence, missing, presence, as the reader
// has it), then the grid's 1, 0 and ?.
std::optional<Cell> ScoreOfText(std::string_view text, const FileLayout& layout);
// The layout's symbol of a score.
char SymbolOf(Cell score, const FileLayout& layout);

// The cells whose score the block changes, in block order (cells already holding their new
// score are left out). Refuses, naming the culprit, a name the matrix does not hold, a count of
// scores that does not match the block, and a text that is no score: "Ka03 Locus7: 'x' is not
// a score (1, 0 or ?)".
Result<std::vector<ScoreChange>> PlanScores(const DataMatrix& matrix, const FileLayout& layout, const ScoreBlock& block);

// The block with each text made its score's layout symbol; refuses the first text that is no
// score, naming its cell as PlanScores does.
Result<ScoreBlock> SymbolBlock(const ScoreBlock& block, const FileLayout& layout);

// Sets each change's new score (or, undoing, its old one).
void ApplyScores(DataMatrix& matrix, const std::vector<ScoreChange>& changes, bool undo = false);

// The Log's line of a change: "Ka03 Locus7: 0 → 1".
std::string ChangeLine(const DataMatrix& matrix, const FileLayout& layout, const ScoreChange& change);

}  // namespace vorn
